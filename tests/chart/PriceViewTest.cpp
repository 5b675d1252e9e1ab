// The visible ranges of the price chart: fitting, zooming, panning, the
// clamp that keeps a bar in view, and the mapping on linear and log scales.

#include <gtest/gtest.h>

#include <cmath>

#include "PriceChartTestSupport.h"
#include "chart/PriceView.h"

namespace tavimo::chart {
namespace {

using testing::PriceHistory;

const Rect kPlot{10, 20, 410, 320};  // 400 x 300

// 100 bars rising from 10 to 109 (low i + 10, high i + 11).
PriceHistory Ramp(int count = 100) {
  PriceHistory h;
  for (int i = 0; i < count; ++i) h.Add(i * testing::kDay, i + 10.5, i + 11.0, i + 10.0, i + 10.6);
  return h;
}

// True when a bar whose centre is in the time range has a low-to-high inside the price range.
bool SomeBarSeen(const TPriceView& v, const PriceHistory& h) {
  for (int i = 0; i < static_cast<int>(h.low.size()); ++i)
    if (v.TimeMin() <= i && i <= v.TimeMax() && h.low[i] <= v.PriceMax() && h.high[i] >= v.PriceMin()) return true;
  return false;
}

class PriceViewTest : public ::testing::TestWithParam<TPriceScale> {
 protected:
  void SetUp() override {
    view.SetBars(bars.Columns());
    ASSERT_TRUE(view.SetScale(GetParam()));
    view.FitAll();
  }
  double Units(double price) const { return GetParam() == TPriceScale::Log ? std::log(price) : price; }
  PriceHistory bars = Ramp();
  TPriceView view;
};

TEST_P(PriceViewTest, FitAllShowsEveryBarAndEveryPriceWithASmallMargin) {
  EXPECT_DOUBLE_EQ(view.TimeMin(), -2.5) << "2% of 100 bars beside the first bar's left edge";
  EXPECT_DOUBLE_EQ(view.TimeMax(), 101.5);
  EXPECT_EQ(view.FirstVisibleBar(), 0);
  EXPECT_EQ(view.LastVisibleBar(), 99);
  const double span = Units(110) - Units(10);
  EXPECT_NEAR(Units(view.PriceMin()), Units(10) - 0.05 * span, 1e-9);
  EXPECT_NEAR(Units(view.PriceMax()), Units(110) + 0.05 * span, 1e-9);
}

TEST_P(PriceViewTest, WheelZoomKeepsTheBarUnderTheCursorAndStopsAtItsLimits) {
  const double x = 123;
  const double under = view.XToBar(x, kPlot);
  const double span = view.TimeMax() - view.TimeMin();
  view.ZoomTime(TPriceView::WheelFactor(240), x, kPlot);  // two notches in
  EXPECT_NEAR(view.XToBar(x, kPlot), under, 1e-9);
  EXPECT_NEAR(view.TimeMax() - view.TimeMin(), span / (1.25 * 1.25), 1e-9);
  view.ZoomTime(TPriceView::WheelFactor(-240), x, kPlot);
  EXPECT_NEAR(view.TimeMax() - view.TimeMin(), span, 1e-9);

  view.ZoomTime(1e9, x, kPlot);
  EXPECT_DOUBLE_EQ(view.TimeMax() - view.TimeMin(), TPriceView::kMinTimeSpan);
  EXPECT_NEAR(view.XToBar(x, kPlot), under, 1e-9);
  view.ZoomTime(1e-9, x, kPlot);
  EXPECT_DOUBLE_EQ(view.TimeMax() - view.TimeMin(), 2.0 * 101) << "twice the bars at most";
}

TEST_P(PriceViewTest, PriceZoomKeepsThePriceUnderTheCursor) {
  const double y = 100;
  const double under = view.YToPrice(y, kPlot);
  const double span = Units(view.PriceMax()) - Units(view.PriceMin());
  view.ZoomPrice(2, y, kPlot);
  EXPECT_NEAR(view.YToPrice(y, kPlot), under, 1e-9 * under);
  EXPECT_NEAR(Units(view.PriceMax()) - Units(view.PriceMin()), span / 2, 1e-9);
  EXPECT_DOUBLE_EQ(view.TimeMin(), -2.5) << "the time range stays";
}

TEST_P(PriceViewTest, PanMovesTheContentWithThePointer) {
  const double bar = view.XToBar(200, kPlot);
  const double price = view.YToPrice(150, kPlot);
  view.Pan(30, -40, kPlot);
  // What was under (200, 150) is now under (230, 110).
  EXPECT_NEAR(view.XToBar(230, kPlot), bar, 1e-9);
  EXPECT_NEAR(view.YToPrice(110, kPlot), price, 1e-9 * price);
}

TEST_P(PriceViewTest, NoPanOrZoomHidesEveryBar) {
  const double span = view.TimeMax() - view.TimeMin();
  view.Pan(1e7, 0, kPlot);  // far into the past
  EXPECT_DOUBLE_EQ(view.TimeMax(), 0) << "the first bar stays at the right edge";
  EXPECT_DOUBLE_EQ(view.TimeMax() - view.TimeMin(), span);
  view.Pan(-1e7, 0, kPlot);
  EXPECT_DOUBLE_EQ(view.TimeMin(), 99) << "the last bar stays at the left edge";
  EXPECT_TRUE(SomeBarSeen(view, bars));

  view.FitAll();
  view.ZoomTime(10, kPlot.left + 1, kPlot);  // the first ten bars
  for (const double dy : {1e7, -1e7}) {
    view.Pan(0, dy, kPlot);
    EXPECT_TRUE(SomeBarSeen(view, bars)) << dy;
  }
  view.SetTimeRange(-50, -20);
  EXPECT_DOUBLE_EQ(view.TimeMax(), 0);
  EXPECT_TRUE(SomeBarSeen(view, bars));

  // Moves beyond any screen, and ranges far off, come back with their spans.
  view.Pan(1e300, -1e300, kPlot);
  EXPECT_DOUBLE_EQ(view.TimeMax(), 0);
  EXPECT_DOUBLE_EQ(view.TimeMax() - view.TimeMin(), 30);
  EXPECT_TRUE(SomeBarSeen(view, bars));
  view.SetTimeRange(1e300, 1e300 + 1e290);
  EXPECT_DOUBLE_EQ(view.TimeMin(), 99);
  EXPECT_TRUE(SomeBarSeen(view, bars));
  view.SetPriceRange(1e200, 1e201);
  EXPECT_TRUE(SomeBarSeen(view, bars));
  EXPECT_TRUE(std::isfinite(view.YToPrice(kPlot.top, kPlot)));
}

INSTANTIATE_TEST_SUITE_P(Scales, PriceViewTest, ::testing::Values(TPriceScale::Linear, TPriceScale::Log),
                         [](const auto& info) { return info.param == TPriceScale::Log ? "Log" : "Linear"; });

TEST(PriceViewClamp, APriceRangeBetweenTwoGroupsOfBarsMovesToTheNearerGroup) {
  PriceHistory h;
  for (int i = 0; i < 10; ++i) h.Add(i, 10, 11, 9, 10);
  for (int i = 10; i < 20; ++i) h.Add(i, 100, 101, 99, 100);
  TPriceView view;
  view.SetBars(h.Columns());
  view.FitAll();
  view.SetPriceRange(30, 40);  // 19 above the lower group, 59 below the upper one
  EXPECT_DOUBLE_EQ(view.PriceMin(), 11 - 1.0) << "the highest high a tenth of the span inside";
  EXPECT_DOUBLE_EQ(view.PriceMax() - view.PriceMin(), 10);
}

TEST(PriceViewScale, LogMapsEqualRatiosToEqualDistancesAndNeedsPositivePrices) {
  PriceHistory h;
  h.Add(0, 10, 1000, 10, 1000);
  TPriceView view;
  view.SetBars(h.Columns());
  ASSERT_TRUE(view.SetScale(TPriceScale::Log));
  view.SetPriceRange(1, 10000);
  EXPECT_DOUBLE_EQ(view.PriceToY(10000, kPlot), kPlot.top);
  EXPECT_NEAR(view.PriceToY(1000, kPlot), kPlot.top + 75, 1e-9);
  EXPECT_NEAR(view.PriceToY(100, kPlot), kPlot.top + 150, 1e-9);
  EXPECT_NEAR(view.YToPrice(kPlot.top + 225, kPlot), 10, 1e-9);
  EXPECT_GT(view.PriceToY(0, kPlot), kPlot.bottom) << "no price maps below the plot";

  h.low[0] = 0;
  view.SetBars(h.Columns());
  EXPECT_EQ(view.Scale(), TPriceScale::Linear) << "a bar at 0 turns the scale linear";
  EXPECT_FALSE(view.SetScale(TPriceScale::Log));
  EXPECT_EQ(view.Scale(), TPriceScale::Linear);
}

TEST(PriceViewEmpty, AViewWithoutBarsMapsAndMovesWithoutFault) {
  TPriceView view;
  view.SetBars({});
  view.FitAll();
  view.ZoomTime(2, 50, kPlot);
  view.Pan(10, 10, kPlot);
  EXPECT_GT(view.FirstVisibleBar(), view.LastVisibleBar());
  EXPECT_TRUE(std::isfinite(view.BarToX(0, kPlot)));
}

}  // namespace
}  // namespace tavimo::chart

namespace tavimo::chart {
namespace {

TEST(PriceViewFit, ASpanEndsAtItsBarsEdgesAndTheLatestBarsKeepRoomForLabels) {
  const testing::PriceHistory h = Ramp();
  TPriceView view;
  view.SetBars(h.Columns());
  // Inside the history the span ends at its bars' edges; the margin is kept beyond the last bar.
  view.FitBars(40, 99);
  EXPECT_DOUBLE_EQ(view.TimeMin(), 39.5);
  EXPECT_DOUBLE_EQ(view.TimeMax(), 99.5 + 0.02 * 60);
  EXPECT_NEAR(view.PriceMin(), 50 - 0.05 * 60, 1e-9) << "the prices of the bars in view alone";
  // 80 pixels of 400 kept free: the last bar's right edge ends 80 pixels left of the plot's.
  view.KeepRightFree(80, kPlot);
  EXPECT_NEAR(view.BarToX(99.5, kPlot), kPlot.right - 80, 1e-9);
  EXPECT_DOUBLE_EQ(view.TimeMin(), 39.5);
  // Never more than a third of the plot; nothing when the last bar is out of view.
  view.FitAll();
  view.KeepRightFree(300, kPlot);
  EXPECT_NEAR(view.BarToX(99.5, kPlot), kPlot.right - 400.0 / 3, 1e-9);
  view.FitBars(0, 50);
  const double end = view.TimeMax();
  view.KeepRightFree(80, kPlot);
  EXPECT_DOUBLE_EQ(view.TimeMax(), end);
}

TEST(PriceViewGaps, TheShortestRiseOfTimeOverARangeOfBars) {
  testing::PriceHistory h;
  for (const std::int64_t t : {0, 100, 100, 130, 400, 410, 1000}) h.Add(t, 1, 2, 1, 1);
  TPriceView view;
  view.SetBars(h.Columns());
  struct Case {
    int first, last;
    std::int64_t gap;
  };
  for (const Case& c : {Case{0, 6, 10}, Case{0, 3, 30}, Case{1, 2, 100}, Case{2, 2, 0}, Case{6, 6, 590}, Case{-3, 99, 10}, Case{3, 3, 30}})
    EXPECT_EQ(view.ShortestTimeGap(c.first, c.last), c.gap) << c.first << ".." << c.last;
}

}  // namespace
}  // namespace tavimo::chart
