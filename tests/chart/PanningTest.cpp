// Right-button panning and wheel scrolling of the axis ranges.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "ParamText.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;
using testing::TestChart;

TestChart PaintedChartWithLevels() {
  TestChart t = MainChartWith(kSixteenRatios);
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 10 + i);
  t.Paint();
  return t;
}

// A point inside the plot rectangle that no bar covers.
Point EmptyPlotPoint(TChart& chart) {
  const Rect plot = chart.PlotRect();
  return Point{plot.right - 60, chart.LeftAxis().ValueToPixel(0.5)};
}

double ValuePerPixel(const TChartAxis& axis) { return axis.WorkRange() / axis.PixelSpan(); }

TEST(PanningTest, RightDragInOnePixelStepsMovesExactlyTheValueOfTheDistance) {
  TestChart t = PaintedChartWithLevels();
  TChartAxis& bottom = t->BottomAxis();
  const double min0 = bottom.Minimum(), max0 = bottom.Maximum();
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, ssRight, start.x, start.y);
  ASSERT_TRUE(t->Panning());
  for (int k = 1; k <= 10; ++k) t->MouseMove(ssRight, start.x + k, start.y);
  const double moved = bottom.PixelToValue(start.x) - bottom.PixelToValue(start.x + 10);
  EXPECT_NEAR(bottom.Minimum(), min0 + moved, 1e-9);
  EXPECT_NEAR(bottom.Maximum(), max0 + moved, 1e-9);
  EXPECT_NEAR(moved, -10 * ValuePerPixel(bottom), 1e-9);
  EXPECT_FALSE(bottom.Automatic());
  EXPECT_FALSE(bottom.AutomaticMinimum());
  EXPECT_FALSE(bottom.AutomaticMaximum());
  // No vertical movement: the left axis keeps its automatic range.
  EXPECT_TRUE(t->LeftAxis().Automatic());
}

TEST(PanningTest, LeftDragMovesAboutTwiceAsFar) {
  TestChart t = PaintedChartWithLevels();
  TChartAxis& bottom = t->BottomAxis();
  const double min0 = bottom.Minimum();
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, start.x, start.y);
  for (int k = 1; k <= 10; ++k) t->MouseMove(ssRight, start.x - k, start.y);
  // The first step measures one pixel, each later one from the point two moves back.
  EXPECT_NEAR(bottom.Minimum() - min0, 19 * ValuePerPixel(bottom), 1e-9);
}

TEST(PanningTest, VerticalDragMovesTheVerticalAxes) {
  TestChart t = PaintedChartWithLevels();
  TChartAxis& left = t->LeftAxis();
  const double min0 = left.Minimum();
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, start.x, start.y);
  t->MouseMove(ssRight, start.x, start.y + 5);
  // Inverted axis: dragging down brings smaller positions into view.
  EXPECT_NEAR(left.Minimum() - min0, -5 * ValuePerPixel(left), 1e-9);
  EXPECT_TRUE(t->BottomAxis().Automatic());
  EXPECT_TRUE(t->Dirty());
}

TEST(PanningTest, LeavingThePlotRectangleEndsPanning) {
  TestChart t = PaintedChartWithLevels();
  TChartAxis& bottom = t->BottomAxis();
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, start.x, start.y);
  t->MouseMove(ssRight, start.x + 1, start.y);
  const double min1 = bottom.Minimum();
  t->MouseMove(ssRight, t->PlotRect().right + 5, start.y);
  EXPECT_FALSE(t->Panning());
  EXPECT_EQ(bottom.Minimum(), min1);
  t->MouseMove(ssRight, start.x + 3, start.y);  // coming back does not resume
  EXPECT_EQ(bottom.Minimum(), min1);
}

TEST(PanningTest, ReleaseEndsPanning) {
  TestChart t = PaintedChartWithLevels();
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, start.x, start.y);
  t->MouseUp(TMouseButton::mbRight, 0, start.x, start.y);
  EXPECT_FALSE(t->Panning());
}

TEST(PanningTest, PressesThatStartNoPanning) {
  TestChart t = PaintedChartWithLevels();
  const Rect title = t->TitleRect();
  const Point insideTitle{(title.left + title.right) / 2, title.top + 2};
  ASSERT_EQ(t->ClickedPart(insideTitle.x, insideTitle.y), TChartClickedPart::cpTitle);
  t->MouseDown(TMouseButton::mbRight, 0, insideTitle.x, insideTitle.y);
  EXPECT_FALSE(t->Panning());
  t->MouseDown(TMouseButton::mbRight, 0, 3, 3);  // the bevel corner, outside everything
  EXPECT_FALSE(t->Panning());
  t->MouseDown(TMouseButton::mbRight, 0, t->PlotRect().right + 10, 200);
  EXPECT_FALSE(t->Panning());
  t->SetAllowPanning(TPanningMode::pmNone);
  const Point p = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, p.x, p.y);
  EXPECT_FALSE(t->Panning());
}

TEST(PanningTest, PressOnABarOrTheAxisStartsPanning) {
  TestChart t = PaintedChartWithLevels();
  const int mid = t.series().BarTop(3) + t.series().BarThickness() / 2;
  const int x = t.series().OriginPixel() + 5;
  ASSERT_EQ(t->ClickedPart(x, mid), TChartClickedPart::cpSeries);
  t->MouseDown(TMouseButton::mbRight, 0, x, mid);
  EXPECT_TRUE(t->Panning());
  t->MouseUp(TMouseButton::mbRight, 0, x, mid);
  const TChartAxis& left = t->LeftAxis();
  ASSERT_EQ(t->ClickedPart(left.LabelsPos() + 1, 300), TChartClickedPart::cpAxis);
}

TEST(PanningTest, LeftButtonDragChangesNothing) {
  TestChart t = PaintedChartWithLevels();
  const double min0 = t->BottomAxis().Minimum();
  int requests = 0;
  t->SetInvalidateHandler([&] { ++requests; });
  const Point p = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbLeft, ssLeft, p.x, p.y);
  for (int k = 1; k <= 10; ++k) t->MouseMove(ssLeft, p.x + 3 * k, p.y + k);
  t->MouseUp(TMouseButton::mbLeft, 0, p.x + 30, p.y + 10);
  EXPECT_FALSE(t->Panning());
  EXPECT_EQ(t->BottomAxis().Minimum(), min0);
  EXPECT_TRUE(t->BottomAxis().Automatic());
  EXPECT_EQ(requests, 0);
}

TEST(PanningTest, PanningRangesSurviveTheNextComputation) {
  TestChart t = PaintedChartWithLevels();
  const Point p = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, 0, p.x, p.y);
  t->MouseMove(ssRight, p.x + 4, p.y);
  t->MouseUp(TMouseButton::mbRight, 0, p.x + 4, p.y);
  const double min1 = t->BottomAxis().Minimum(), max1 = t->BottomAxis().Maximum();
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 100 + i);
  t.Paint();
  EXPECT_EQ(t->BottomAxis().Minimum(), min1);
  EXPECT_EQ(t->BottomAxis().Maximum(), max1);
}

struct WheelCase {
  std::vector<int> deltas;
  int notches;  // positive: up
  int remainder;
};

void PrintTo(const WheelCase& c, std::ostream* os) {
  *os << "{deltas " << param_text::NumberList(c.deltas) << " -> " << c.notches << " notches, " << c.remainder
      << " left}";
}

class WheelTest : public ::testing::TestWithParam<WheelCase> {};

TEST_P(WheelTest, NotchesOf120MoveTheVerticalRangeByThreePercent) {
  const WheelCase c = GetParam();
  TestChart t = PaintedChartWithLevels();
  TChartAxis& left = t->LeftAxis();
  double minimum = left.Minimum(), maximum = left.Maximum();
  ASSERT_EQ(minimum, 0);
  ASSERT_EQ(maximum, 15);
  for (int d : c.deltas) t->MouseWheel(d, 0);
  for (int n = 0; n < std::abs(c.notches); ++n) {
    const double offset = (maximum - minimum) * 0.03 * (c.notches > 0 ? -1 : 1);
    minimum += offset;
    maximum += offset;
  }
  EXPECT_NEAR(left.Minimum(), minimum, 1e-12);
  EXPECT_NEAR(left.Maximum(), maximum, 1e-12);
  EXPECT_EQ(left.Automatic(), c.notches == 0);
  EXPECT_EQ(t->WheelAccumulator(), c.remainder);
  EXPECT_TRUE(t->BottomAxis().Automatic());  // only vertical axes scroll
}

INSTANTIATE_TEST_SUITE_P(Deltas, WheelTest,
                         ::testing::Values(WheelCase{{60}, 0, 60}, WheelCase{{60, 60}, 1, 0},
                                           WheelCase{{-240}, -2, 0}, WheelCase{{120, 120, 120}, 3, 0},
                                           WheelCase{{-200}, -1, -80}, WheelCase{{60, -60}, 0, 0}),
                         [](const ::testing::TestParamInfo<WheelCase>& info) {
                           return "deltas_" + param_text::NumberListName(info.param.deltas);
                         });

TEST(WheelTest, OneNotchUpShiftsTheLeftRangeByThreePercentOfItsSpan) {
  TestChart t = PaintedChartWithLevels();
  t->MouseWheel(120, 0);
  EXPECT_NEAR(t->LeftAxis().Minimum(), -0.45, 1e-12);
  EXPECT_NEAR(t->LeftAxis().Maximum(), 14.55, 1e-12);
}

// At start-up every level is 0, so the value range is zero wide and maps
// every value to one pixel. A drag there has nothing to move: the range
// stays automatic and the next levels get a range of their own.
TEST(PanningTest, DragOnAZeroRangeLeavesItAutomaticForLaterLevels) {
  TestChart t = MainChartWith(kSixteenRatios);
  t.Paint();
  ASSERT_EQ(t->BottomAxis().WorkRange(), 0);
  const Point start = EmptyPlotPoint(*t);
  t->MouseDown(TMouseButton::mbRight, ssRight, start.x, start.y);
  ASSERT_TRUE(t->Panning());
  for (int k = 1; k <= 5; ++k) t->MouseMove(ssRight, start.x + k, start.y);
  t->MouseUp(TMouseButton::mbRight, 0, start.x + 5, start.y);
  EXPECT_TRUE(t->BottomAxis().Automatic());
  EXPECT_TRUE(t->LeftAxis().Automatic()) << "no vertical movement";

  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, 10 + i);
  t.Paint();
  EXPECT_EQ(t->BottomAxis().Minimum(), 0);
  EXPECT_EQ(t->BottomAxis().Maximum(), 25);
  EXPECT_GT(t.series().PointPixelX(15) - t.series().PointPixelX(0), 200) << "the bars have lengths of their own";
}

// The same for the wheel: one ratio puts the left axis at 0 ... 0.
TEST(WheelTest, ANotchOnAZeroRangeLeavesItAutomatic) {
  TestChart t = MainChartWith({"0.5"});
  t.Paint();
  t->MouseWheel(-120, 0);
  EXPECT_TRUE(t->LeftAxis().Automatic());
  ReplaceRatioBars(t.series(), kSixteenRatios);
  t.Paint();
  EXPECT_EQ(t->LeftAxis().Maximum(), 15);
  EXPECT_LT(t.series().BarTop(0), t.series().BarTop(15));
}

}  // namespace
}  // namespace tavimo::chart
