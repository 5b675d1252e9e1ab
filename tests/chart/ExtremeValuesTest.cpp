// Values at the ends of the double range, not-a-number and floods of wheel input
// paint and scroll without hanging or failing.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChartTestSupport.h"

namespace tavimo::chart {
namespace {

using testing::kSixteenRatios;
using testing::MainChartWith;

TEST(ExtremeValuesTest, LevelsAtBothEndsOfTheDoubleRangePaint) {
  auto t = MainChartWith(kSixteenRatios);
  t.series().SetPointX(0, std::numeric_limits<double>::max());
  t.series().SetPointX(1, -std::numeric_limits<double>::max());
  t.series().SetPointX(2, 1e-300);
  EXPECT_NO_THROW(t.Paint());
  EXPECT_FALSE(t->Dirty());
  EXPECT_EQ(t->LeftAxis().LabelRecords().size(), 16u);
}

TEST(ExtremeValuesTest, LevelJustInsideTheMappableRangeAfterAPanPaints) {
  auto t = MainChartWith(kSixteenRatios);
  t->BottomAxis().SetMinMax(0, 30);
  t.Paint();
  const TChartAxis& bottom = t->BottomAxis();
  // A level whose pixel distance lies just below the point where the mapping gives up.
  const double far = 2147483000.0 * bottom.WorkRange() / bottom.PixelSpan();
  t.series().SetPointX(0, far);
  EXPECT_NO_THROW(t.Paint());
  EXPECT_LE(t.series().PointPixelX(0), 1 << 30);
  EXPECT_GT(t.series().PointPixelX(0), t->PlotRect().right);
}

TEST(ExtremeValuesTest, NotANumberPaints) {
  auto t = MainChartWith(kSixteenRatios);
  t.series().SetPointX(4, std::nan(""));
  EXPECT_NO_THROW(t.Paint());
  t->LeftAxis().SetLabelStyle(TAxisLabelStyle::talValue);
  t->LeftAxis().SetMinMax(0, std::numeric_limits<double>::max());
  EXPECT_NO_THROW(t.Paint());
}

TEST(ExtremeValuesTest, TinyManualRangeFarFromZeroDrawsBoundedValueLabels) {
  auto t = MainChartWith(kSixteenRatios);
  t->LeftAxis().SetLabelStyle(TAxisLabelStyle::talValue);
  t->LeftAxis().SetMinMax(1e6, 1e6);  // kept 1e-10 apart, below the resolution of doubles there
  EXPECT_NO_THROW(t.Paint());
  EXPECT_LE(t->LeftAxis().LabelRecords().size(), 20000u);
}

TEST(ExtremeValuesTest, ThousandWheelNotchesAtOnce) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  t->MouseWheel(-120000, 0);
  EXPECT_EQ(t->WheelAccumulator(), 0);
  EXPECT_NEAR(t->LeftAxis().Maximum() - t->LeftAxis().Minimum(), 15, 1e-6);
  EXPECT_NEAR(t->LeftAxis().Minimum(), 1000 * 0.45, 1e-6);
  EXPECT_NO_THROW(t.Paint());
}

}  // namespace
}  // namespace tavimo::chart
