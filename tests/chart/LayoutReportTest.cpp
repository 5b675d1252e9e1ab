// The layout report and its JSON form.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"

namespace tavimo::chart {
namespace {

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
