// The layout report and its JSON form.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;

TEST(LayoutReportTest, DescribesThePaintedChart) {
  auto t = MainChartWith({"0.5", "1", "2"});
  t.series().SetPointX(1, 20);
  t.series().SetPointX(2, 25);
  t.Paint();
  const ChartLayoutReport r = DescribeLayout(*t);
  EXPECT_EQ(r.width, 597);
  EXPECT_EQ(r.height, 504);
  EXPECT_EQ(r.plotRect, t->PlotRect());
  EXPECT_EQ(r.titleLineHeight, 21);
  EXPECT_EQ(r.barThickness, t.series().BarThickness());
  EXPECT_TRUE(r.leftAxis.shown);
  EXPECT_FALSE(r.bottomAxis.shown);
  EXPECT_EQ(r.leftAxis.axisLinePos, t->PlotRect().left);
  ASSERT_EQ(r.axisLabels.size(), 3u);
  EXPECT_EQ(r.axisLabels[1].text, "1");
  EXPECT_EQ(r.axisLabels[1].width, 8);
  EXPECT_EQ(r.axisLabels[1].height, 18);
  ASSERT_EQ(r.bars.size(), 3u);
  EXPECT_TRUE(r.bars[0].polygon.empty());  // value 0: nothing drawn
  EXPECT_EQ(r.bars[2].polygon.size(), 7u);
  EXPECT_EQ(ColorToHex(r.bars[0].color), "#ff0000");
  EXPECT_EQ(ColorToHex(r.bars[1].color), "#008000");
  ASSERT_TRUE(r.bars[2].mark.has_value());
  EXPECT_EQ(r.bars[2].mark->text, "25");
  EXPECT_EQ(r.bars[2].mark->arrow[0].x, t.series().PointPixelX(2));
  EXPECT_EQ(r.bars[2].mark->box.left, r.bars[2].mark->arrow[1].x);
  EXPECT_EQ(r.markLineHeight, 18);
  EXPECT_EQ(r.markWWidth, 8);
}

// The chart lays itself out in design pixels at every scale; the canvas and
// the report carry the scale to device pixels.
TEST(LayoutReportTest, AtAScaleTheLayoutStaysAndTheReportGivesItsDevicePixels) {
  auto one = MainChartWith(kSixteenRatios);
  auto scaled = MainChartWith(kSixteenRatios);
  scaled->SetScale(1.5);
  for (auto* t : {&one, &scaled}) {
    for (int i = 0; i < 16; ++i) t->series().SetPointX(i, 10 + i);
    t->Paint();
  }
  // The same drawing calls at the same design coordinates.
  ASSERT_EQ(scaled.canvas->Records().size(), one.canvas->Records().size());
  for (std::size_t i = 0; i < one.canvas->Records().size(); ++i) {
    const TCanvasRecord& a = one.canvas->Records()[i];
    const TCanvasRecord& b = scaled.canvas->Records()[i];
    ASSERT_EQ(a.op, b.op) << i;
    EXPECT_TRUE(a.rect == b.rect && a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 &&
                a.points == b.points && a.text == b.text)
        << i;
  }
  const ChartLayoutReport r1 = DescribeLayout(*one);
  const ChartLayoutReport r = DescribeLayout(*scaled);
  EXPECT_EQ(r.width, 896) << "597 x 1.5 = 895.5, halves away from zero";
  EXPECT_EQ(r.height, 756);
  EXPECT_EQ(r.plotRect, (Rect{ScaleLength(r1.plotRect.left, 1.5), ScaleLength(r1.plotRect.top, 1.5),
                              ScaleLength(r1.plotRect.right, 1.5), ScaleLength(r1.plotRect.bottom, 1.5)}));
  EXPECT_EQ(r.leftAxis.axisLinePos, ScaleLength(r1.leftAxis.axisLinePos, 1.5));
  EXPECT_EQ(r.leftAxis.workMaximum, r1.leftAxis.workMaximum) << "values are not pixels";
  EXPECT_EQ(r.axisLabels[3].pixel, ScaleLength(r1.axisLabels[3].pixel, 1.5));
  EXPECT_EQ(r.barThickness, ScaleLength(r1.barThickness, 1.5));
  EXPECT_EQ(r.bars[5].polygon[4], (Point{ScaleLength(r1.bars[5].polygon[4].x, 1.5), ScaleLength(r1.bars[5].polygon[4].y, 1.5)}));
  EXPECT_EQ(r.bars[5].mark->box.right, ScaleLength(r1.bars[5].mark->box.right, 1.5));
  EXPECT_EQ(r.markLineHeight, ScaleLength(r1.markLineHeight, 1.5));
}

TEST(LayoutReportTest, JsonCarriesEveryField) {
  auto t = MainChartWith({"0.5", "a\"b"});
  t.series().SetPointX(0, 3);
  t.series().SetPointColor(1, clNone);
  t.Paint();
  const std::string json = LayoutReportToJson(DescribeLayout(*t));
  for (const char* key : {"\"size\":[597,504]", "\"plotRect\":[", "\"titleLineHeight\":21", "\"barThickness\":",
                          "\"axes\":{\"left\":{\"startPixel\":", "\"bottom\":{", "\"workMinimum\":",
                          "\"labelsPos\":", "\"axisLinePos\":", "\"shown\":false", "\"axisLabels\":[{\"text\":\"0.5\"",
                          "\"text\":\"a\\\"b\"", "\"drawn\":true", "\"bars\":[{\"index\":0", "\"color\":\"#ff0000\"",
                          "\"polygon\":[[", "\"mark\":{\"text\":\"3\",\"box\":[", "\"arrow\":[[", "\"mark\":null",
                          "\"markFont\":{\"lineHeight\":18,\"wWidth\":8}}"})
    EXPECT_NE(json.find(key), std::string::npos) << key << "\n" << json;
}

}  // namespace
}  // namespace tavimo::chart
