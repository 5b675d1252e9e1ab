// The layout report and its JSON form.

#include <gtest/gtest.h>

#include <algorithm>

#include "ChartTestSupport.h"
#include "chart/LayoutReport.h"
#include "chart/LayoutReportJson.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;

// Whether the canvas got a call of `op` that `matches`.
template <class Match>
bool Drew(const RecordingCanvas& canvas, TCanvasOp op, Match matches) {
  const std::vector<const TCanvasRecord*> records = canvas.OfKind(op);
  return std::any_of(records.begin(), records.end(), [&](const TCanvasRecord* r) { return matches(*r); });
}

bool Within(const Rect& outer, Point p) {
  return p.x >= outer.left && p.x <= outer.right && p.y >= outer.top && p.y <= outer.bottom;
}

// The report checked against the calls the paint made: every place it gives
// is where something was drawn, and the pieces lie where the chart puts them.
TEST(LayoutReportTest, DescribesWhatThePaintDrew) {
  auto t = MainChartWith({"0.5", "1", "2"});
  t.series().SetPointX(1, 20);
  t.series().SetPointX(2, 25);
  t.Paint();
  const ChartLayoutReport r = DescribeLayout(*t);
  const RecordingCanvas& canvas = *t.canvas;

  EXPECT_EQ(r.width, 597);
  EXPECT_EQ(r.height, 504);
  EXPECT_EQ(canvas.ImageWidth(), r.width);
  EXPECT_EQ(canvas.ImageHeight(), r.height);
  EXPECT_EQ(r.titleLineHeight, 21);
  const Rect picture{0, 0, r.width, r.height};
  ASSERT_FALSE(r.plotRect.IsEmpty());
  EXPECT_TRUE(Within(picture, {r.plotRect.left, r.plotRect.top}));
  EXPECT_TRUE(Within(picture, {r.plotRect.right, r.plotRect.bottom}));
  // The left axis' line runs down the plot's left edge; the bottom axis is hidden.
  EXPECT_TRUE(r.leftAxis.shown);
  EXPECT_FALSE(r.bottomAxis.shown);
  EXPECT_EQ(r.leftAxis.axisLinePos, r.plotRect.left);
  EXPECT_TRUE(Drew(canvas, TCanvasOp::StrokeLine, [&](const TCanvasRecord& c) {
    return c.x0 == r.leftAxis.axisLinePos && c.x1 == c.x0 && c.y0 == r.plotRect.top && c.y1 == r.plotRect.bottom;
  }));

  // One axis label per bar, drawn at the bar's centre line, the boxes apart.
  ASSERT_EQ(r.bars.size(), 3u);
  ASSERT_EQ(r.axisLabels.size(), 3u);
  EXPECT_EQ(r.axisLabels[1].width, 8);
  EXPECT_EQ(r.axisLabels[1].height, 18);
  for (std::size_t i = 0; i < r.axisLabels.size(); ++i) {
    const TAxisLabelRecord& label = r.axisLabels[i];
    SCOPED_TRACE(label.text);
    EXPECT_EQ(label.text, r.bars[i].label);
    EXPECT_TRUE(label.drawn);
    EXPECT_TRUE(Drew(canvas, TCanvasOp::PutText, [&](const TCanvasRecord& c) { return c.text == label.text; }));
    EXPECT_EQ(label.pixel, r.bars[i].top + r.barThickness / 2);
    if (i > 0) {
      EXPECT_GE(label.pixel - label.height / 2, r.axisLabels[i - 1].pixel + r.axisLabels[i - 1].height / 2);
    }
  }

  // Bars from the top down in list order, each the polygon the canvas filled
  // in the bar's colour, inside the plot, as tall as the bar thickness; a
  // zero level draws nothing and a higher level a longer bar.
  EXPECT_EQ(ColorToHex(r.bars[0].color), "#ff0000");
  EXPECT_EQ(ColorToHex(r.bars[1].color), "#008000");
  EXPECT_TRUE(r.bars[0].polygon.empty());
  EXPECT_LT(r.bars[0].top, r.bars[1].top);
  EXPECT_LT(r.bars[1].top, r.bars[2].top);
  EXPECT_EQ(canvas.Count(TCanvasOp::FillPolygon), 2);
  int previousTip = r.plotRect.left;
  for (std::size_t i = 1; i < r.bars.size(); ++i) {
    const BarReport& bar = r.bars[i];
    SCOPED_TRACE(bar.label);
    ASSERT_EQ(bar.polygon.size(), 7u);
    EXPECT_TRUE(Drew(canvas, TCanvasOp::FillPolygon,
                     [&](const TCanvasRecord& c) { return c.points == bar.polygon && c.brush.color == bar.color; }));
    int tip = bar.polygon[0].x, low = bar.polygon[0].y, high = bar.polygon[0].y;
    for (const Point& p : bar.polygon) {
      EXPECT_TRUE(Within(r.plotRect, p)) << p.x << "," << p.y;
      tip = std::max(tip, p.x);
      low = std::min(low, p.y);
      high = std::max(high, p.y);
    }
    EXPECT_EQ(low, bar.top);
    EXPECT_EQ(high - low, r.barThickness);
    EXPECT_GT(tip, previousTip);
    previousTip = tip;

    // The mark: its box and its text drawn, the arrow from the bar's tip to the box.
    ASSERT_TRUE(bar.mark.has_value());
    const MarkReport& mark = *bar.mark;
    EXPECT_EQ(mark.text, i == 1 ? "20" : "25");
    EXPECT_TRUE(Drew(canvas, TCanvasOp::DrawBox, [&](const TCanvasRecord& c) { return c.rect == mark.box; }));
    EXPECT_TRUE(Drew(canvas, TCanvasOp::PutText, [&](const TCanvasRecord& c) {
      return c.text == mark.text && mark.box.Contains({c.x0, c.y0});
    }));
    EXPECT_EQ(mark.arrow[0], (Point{tip, bar.top + r.barThickness / 2}));
    EXPECT_TRUE(Drew(canvas, TCanvasOp::StrokeLine, [&](const TCanvasRecord& c) {
      return Point{c.x0, c.y0} == mark.arrow[0] && Point{c.x1, c.y1} == mark.arrow[1];
    }));
    EXPECT_EQ(mark.box.left, mark.arrow[1].x);
    EXPECT_TRUE(Within(picture, {mark.box.right, mark.box.bottom}));
  }
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
