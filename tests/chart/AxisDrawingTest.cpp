// Drawing the left axis: point labels with overlap skipping, value labels, line, ticks and grid.

#include <gtest/gtest.h>

#include <algorithm>

#include "ChartTestSupport.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;
using testing::TestChart;

std::vector<int> DrawnPixels(const TChartAxis& axis) {
  std::vector<int> out;
  for (const TAxisLabelRecord& r : axis.LabelRecords())
    if (r.drawn) out.push_back(r.pixel);
  return out;
}

// Horizontal strokes of the given length ending left of x (ticks of a left axis).
std::vector<int> TickRows(const RecordingCanvas& canvas, int axisLine, int length) {
  std::vector<int> rows;
  for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::StrokeLine))
    if (r->y0 == r->y1 && r->x0 == axisLine - 1 && r->x1 == axisLine - 1 - length) rows.push_back(r->y0);
  return rows;
}

std::vector<int> GridRows(const RecordingCanvas& canvas, const Rect& plot) {
  std::vector<int> rows;
  for (const TCanvasRecord* r : canvas.OfKind(TCanvasOp::StrokeLine))
    if (r->y0 == r->y1 && r->x0 == plot.left && r->x1 == plot.right) rows.push_back(r->y0);
  return rows;
}

TEST(PointLabelsTest, OverlappingLabelsAreSkipped) {
  // One label per pixel row, 19 pixels high: the second drawn label must be 20
  // pixels from the first, every later one 22 from the previous drawn one.
  std::vector<std::string> labels;
  for (int i = 0; i <= 200; ++i) labels.push_back("L" + std::to_string(i));
  TestChart t = MainChartWith(labels, 300, 200);
  t->SetMargins(0, 0, 0, 0);
  TChartTitle title = t->Title();
  title.Visible = false;
  t->SetTitle(title);
  TChartAxis& left = t->LeftAxis();
  left.SetLabelsFont(TFont{"Arial", -17, clBlack, false});
  left.SetMinMax(0, 200);
  t.Paint();
  ASSERT_EQ(RecordingCanvas::LineHeight(left.LabelsFont()), 19);
  ASSERT_EQ(left.ValueToPixel(37), 37);
  const std::vector<int> drawn = DrawnPixels(left);
  ASSERT_GE(drawn.size(), 5u);
  EXPECT_EQ((std::vector<int>(drawn.begin(), drawn.begin() + 5)), (std::vector<int>{0, 20, 42, 64, 86}));
  EXPECT_EQ(left.LabelRecords().size(), 201u);
  // Ticks and grid lines only where labels were drawn.
  EXPECT_EQ(TickRows(*t.canvas, left.AxisLinePos(), 6), drawn);
  EXPECT_EQ(GridRows(*t.canvas, t->PlotRect()), drawn);
}

TEST(PointLabelsTest, SixteenRatiosAreAllDrawnTopToBottom) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  ASSERT_EQ(left.LabelRecords().size(), 16u);
  std::vector<const TCanvasRecord*> texts;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::PutText))
    if (r->textAnchor == kTextAlignRight) texts.push_back(r);
  ASSERT_EQ(texts.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    const TAxisLabelRecord& rec = left.LabelRecords()[static_cast<std::size_t>(i)];
    EXPECT_TRUE(rec.drawn) << i;
    EXPECT_EQ(rec.text, kSixteenRatios[static_cast<std::size_t>(i)]);
    EXPECT_EQ(rec.pixel, left.ValueToPixel(i));
    EXPECT_EQ(texts[static_cast<std::size_t>(i)]->text, rec.text);
    EXPECT_EQ(texts[static_cast<std::size_t>(i)]->x0, left.LabelsPos());
    EXPECT_EQ(texts[static_cast<std::size_t>(i)]->y0, rec.pixel - 18 / 2);  // one line, centred on the pixel
    EXPECT_EQ(texts[static_cast<std::size_t>(i)]->backgroundMode, TBackgroundMode::bmTransparent);
  }
  EXPECT_LT(left.LabelRecords().front().pixel, left.LabelRecords().back().pixel);  // point 0 at the top
}

TEST(AxisLinesTest, LineTicksGridAndMinorTicksOfTheLeftAxis) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  const Rect plot = t->PlotRect();
  ASSERT_EQ(left.AxisLinePos(), plot.left);
  ASSERT_EQ(left.LabelsPos(), plot.left - 8);

  bool axisLine = false;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::StrokeLine)) {
    if (r->x0 == plot.left && r->x1 == plot.left && r->y0 == left.StartPixel() && r->y1 == left.EndPixel()) {
      axisLine = true;
      EXPECT_EQ(r->pen, (TPen{clBlack, 2, TPenStyle::psSolid, false}));
    }
  }
  EXPECT_TRUE(axisLine);

  std::vector<int> labelRows;
  for (const TAxisLabelRecord& r : left.LabelRecords()) labelRows.push_back(r.pixel);
  EXPECT_EQ(TickRows(*t.canvas, plot.left, 6), labelRows);
  EXPECT_EQ(GridRows(*t.canvas, plot), labelRows);
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::StrokeLine)) {
    if (r->y0 == r->y1 && r->x0 == plot.left && r->x1 == plot.right) {
      EXPECT_EQ(r->pen, (TPen{clGray, 1, TPenStyle::psDot, false}));
    }
  }

  // Three minor ticks in each of the 15 gaps, plus those beyond the ends that stay inside the span.
  const std::vector<int> minor = TickRows(*t.canvas, plot.left, 2);
  const int t0 = labelRows.front(), t1 = labelRows[1], last = labelRows.back();
  int beyond = 0;
  for (int j = 1; j <= 3; ++j) {
    const int d = RoundHalfEven((t1 - t0) / 4.0 * j);
    if (t0 - d > left.StartPixel()) ++beyond;
    if (last + d < left.EndPixel()) ++beyond;
  }
  EXPECT_EQ(static_cast<int>(minor.size()), 45 + beyond);
  EXPECT_TRUE(std::find(minor.begin(), minor.end(),
                        labelRows[5] - RoundHalfEven(2.0 * (labelRows[5] - labelRows[4]) / 4)) != minor.end());
}

TEST(AxisLinesTest, ShortPlotSkipsLabelsButAlwaysDrawsTheFirst) {
  auto t = MainChartWith(kSixteenRatios, 597, 250);
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  const std::vector<int> drawn = DrawnPixels(left);
  ASSERT_EQ(left.LabelRecords().size(), 16u);
  EXPECT_LT(drawn.size(), 16u);
  EXPECT_TRUE(left.LabelRecords().front().drawn);
  EXPECT_EQ(TickRows(*t.canvas, left.AxisLinePos(), 6), drawn);
}

TEST(AxisLinesTest, OneRatioHasOneTickAtTheCentreAndNoMinorTicks) {
  auto t = MainChartWith({"0.618"});
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  EXPECT_EQ(TickRows(*t.canvas, left.AxisLinePos(), 6), (std::vector<int>{left.CenterPixel()}));
  EXPECT_EQ(GridRows(*t.canvas, t->PlotRect()), (std::vector<int>{left.CenterPixel()}));
  EXPECT_TRUE(TickRows(*t.canvas, left.AxisLinePos(), 2).empty());
}

TEST(ValueLabelsTest, EmptySeriesShowsOneZeroLabelAtTheCentre) {
  auto t = MainChartWith({});
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  ASSERT_TRUE(left.ShownInLastLayout());
  ASSERT_EQ(left.LabelRecords().size(), 1u);
  EXPECT_EQ(left.LabelRecords()[0].text, "0");
  EXPECT_EQ(left.LabelRecords()[0].pixel, left.CenterPixel());
  EXPECT_EQ(TickRows(*t.canvas, left.AxisLinePos(), 6), (std::vector<int>{left.CenterPixel()}));
  // The space is that of the widest value label plus a blank: "0" and " ", 8 pixels each.
  EXPECT_EQ(t->PlotRect().left, 60 + 16 + 8);
}

TEST(ValueLabelsTest, EmptyFirstLabelSwitchesToNumbersStepDownFromTheTop) {
  std::vector<std::string> labels = kSixteenRatios;
  labels[0] = "";
  auto t = MainChartWith(labels);
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  std::vector<std::string> texts;
  for (const TAxisLabelRecord& r : left.LabelRecords()) texts.push_back(r.text);
  // Step 1 (15.96 units over 332 pixels at 20 pixels a label); from 15 down to 0.
  ASSERT_EQ(texts.size(), 16u);
  EXPECT_EQ(texts.front(), "15");
  EXPECT_EQ(texts.back(), "0");
  EXPECT_EQ(left.LabelRecords().back().pixel, left.ValueToPixel(0));
}

TEST(PointLabelsTest, EmptyLaterLabelKeepsItsTickAndGridLine) {
  std::vector<std::string> labels = kSixteenRatios;
  labels[3] = "";
  auto t = MainChartWith(labels);
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  EXPECT_EQ(TickRows(*t.canvas, left.AxisLinePos(), 6).size(), 16u);
  int texts = 0;
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::PutText))
    if (r->textAnchor == kTextAlignRight) ++texts;
  EXPECT_EQ(texts, 15);
}

}  // namespace
}  // namespace tavimo::chart
