// Values at the ends of the double range, not-a-number and floods of wheel
// input: the chart either draws them as the mapping says or raises the
// arithmetic fault, and it paints again once the values are ordinary.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "ChartTestSupport.h"
#include "runtime/Exceptions.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;
using testing::TestChart;

constexpr double kLargest = std::numeric_limits<double>::max();

// The message of the exception the paint raised, or "" when it raised none.
template <typename E>
std::string PaintFault(TestChart& t) {
  try {
    t.Paint();
  } catch (const E& error) {
    return error.Message();
  }
  return "";
}

std::array<Point, 7> Arrow(const TestChart& t, int index) {
  std::array<Point, 7> points{};
  EXPECT_TRUE(MainSeries(*t.chart).BarPolygon(index, points)) << "bar " << index;
  return points;
}

void SetLevels(TestChart& t, double first, double step) {
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, first + i * step);
}

TEST(ExtremeValuesTest, LevelsAtBothEndsOfTheDoubleRangeRaiseOverflowAndTheChartCarriesOn) {
  TestChart t = MainChartWith(kSixteenRatios);
  t.series().SetPointX(0, kLargest);
  t.series().SetPointX(1, -kLargest);
  EXPECT_EQ(PaintFault<EOverflow>(t), "Floating point overflow");
  EXPECT_TRUE(t->Dirty()) << "the next paint tries again";
  SetLevels(t, 10, 1);
  ASSERT_NO_THROW(t.Paint());
  EXPECT_FALSE(t->Dirty());
  EXPECT_EQ(Arrow(t, 15)[4].x, t->BottomAxis().ValueToPixel(25));
}

// The resistance levels of a wave from 0 to 8e307 reach 1.6e308; widened
// for the marks, the value range would pass the largest double.
TEST(ExtremeValuesTest, ARangeThatOverflowsWhenWidenedForTheMarksRaisesOverflow) {
  TestChart t = MainChartWith(kSixteenRatios);
  SetLevels(t, 1e307, 1e307);
  EXPECT_EQ(PaintFault<EOverflow>(t), "Floating point overflow");
}

// Just inside: every bar is drawn to its length in proportion, the longest
// one's mark inside the plot rectangle.
TEST(ExtremeValuesTest, LevelsNearTheEndOfTheDoubleRangeDrawProportionalBars) {
  TestChart t = MainChartWith(kSixteenRatios);
  SetLevels(t, 5e306, 5e306);  // up to 8e307
  ASSERT_NO_THROW(t.Paint());
  const int origin = Arrow(t, 0)[0].x;
  const int longest = Arrow(t, 15)[4].x - origin;
  EXPECT_GT(longest, 300);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(Arrow(t, i)[4].x - origin, longest * (i + 1) / 16.0, 1.0) << "bar " << i;
  const TSeriesMarkPosition* mark = t.series().Marks().StoredPosition(15);
  ASSERT_NE(mark, nullptr);
  EXPECT_LE(mark->Box().right, t->PlotRect().right);
}

// Panned so far that the bar's origin and its tip both lie more than a
// billion pixels off the image: both are clamped, and the arrow between them
// (more than an int long) still ends in its head.
TEST(ExtremeValuesTest, ArrowBetweenTwoClampedEndsKeepsItsHead) {
  TestChart t = MainChartWith(kSixteenRatios);
  t.Paint();
  const int span = t->BottomAxis().PixelSpan();
  t->BottomAxis().SetMinMax(2e9, 2e9 + span);  // one value per pixel; 0 lies 2e9 pixels left
  t.series().SetPointX(0, 4e9);                  // 2e9 pixels right
  ASSERT_NO_THROW(t.Paint());
  const std::array<Point, 7> arrow = Arrow(t, 0);
  EXPECT_EQ(arrow[0].x, -(1 << 30));
  EXPECT_EQ(arrow[4].x, 1 << 30);
  const int headLength = t.series().BarThickness() / 2;
  EXPECT_EQ(arrow[2].x, arrow[4].x - headLength) << "the head's base lies one head length before the tip";
}

TEST(ExtremeValuesTest, LevelJustInsideTheMappableRangeAfterAPanPaints) {
  TestChart t = MainChartWith(kSixteenRatios);
  t->BottomAxis().SetMinMax(0, 30);
  t.Paint();
  const TChartAxis& bottom = t->BottomAxis();
  // A level whose pixel distance lies just below the point where the mapping gives up.
  const double far = 2147483000.0 * bottom.WorkRange() / bottom.PixelSpan();
  t.series().SetPointX(0, far);
  ASSERT_NO_THROW(t.Paint());
  EXPECT_EQ(t.series().PointPixelX(0), 1 << 30);
  // Beyond it the level maps to the axis' centre.
  t.series().SetPointX(0, 2 * far);
  ASSERT_NO_THROW(t.Paint());
  EXPECT_EQ(t.series().PointPixelX(0), t->BottomAxis().CenterPixel());
}

TEST(ExtremeValuesTest, NotANumberAmongLevelsRaisesInvalidOperation) {
  TestChart t = MainChartWith(kSixteenRatios);
  SetLevels(t, 10, 1);
  t.series().SetPointX(4, std::nan(""));
  EXPECT_EQ(PaintFault<EInvalidOp>(t), "Invalid floating point operation");
  t.series().SetPointX(4, 14);
  EXPECT_NO_THROW(t.Paint());
}

TEST(ExtremeValuesTest, TinyManualRangeFarFromZeroDrawsBoundedValueLabels) {
  TestChart t = MainChartWith(kSixteenRatios);
  t->LeftAxis().SetLabelStyle(TAxisLabelStyle::talValue);
  t->LeftAxis().SetMinMax(1e6, 1e6);  // kept 1e-10 apart, below the resolution of doubles there
  EXPECT_NO_THROW(t.Paint());
  EXPECT_LE(t->LeftAxis().LabelRecords().size(), 20000u);
}

TEST(ExtremeValuesTest, ThousandWheelNotchesAtOnce) {
  TestChart t = MainChartWith(kSixteenRatios);
  t.Paint();
  t->MouseWheel(-120000, 0);
  EXPECT_EQ(t->WheelAccumulator(), 0);
  EXPECT_NEAR(t->LeftAxis().Maximum() - t->LeftAxis().Minimum(), 15, 1e-6);
  EXPECT_NEAR(t->LeftAxis().Minimum(), 1000 * 0.45, 1e-6);
  EXPECT_NO_THROW(t.Paint());
}

}  // namespace
}  // namespace tavimo::chart
