// Horizontal arrow bars: thickness, geometry, drawing order, pens, clipping and hit test.

#include <gtest/gtest.h>

#include <array>

#include "ChartTestSupport.h"
#include "chart/ChartExceptions.h"

namespace tavimo::chart {
namespace {

using testing::BareChart;
using testing::kSixteenRatios;
using testing::MainChartWith;
using testing::TestChart;

TestChart ChartWithLevels(const std::vector<double>& levels) {
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < levels.size(); ++i) labels.push_back("r" + std::to_string(i));
  TestChart t = MainChartWith(labels);
  for (std::size_t i = 0; i < levels.size(); ++i) t.series().SetPointX(static_cast<int>(i), levels[i]);
  return t;
}

struct ThicknessCase {
  int span;
  int points;
  int percent;
  int thickness;
};

void PrintTo(const ThicknessCase& c, std::ostream* os) {
  *os << "{span " << c.span << ", " << c.points << " points, " << c.percent << " % -> thickness " << c.thickness << "}";
}

class BarThicknessTest : public ::testing::TestWithParam<ThicknessCase> {};

TEST_P(BarThicknessTest, ThicknessIsAPercentOfTheSlotMadeEven) {
  const ThicknessCase c = GetParam();
  TestChart t = BareChart(200, 1000);
  THorizBarSeries& series = t->AddHorizBarSeries();
  series.SetBarWidthPercent(c.percent);
  for (int i = 0; i < c.points; ++i) series.AppendPoint(1, "r", clAutoColor);
  t->SetPlotRect(Rect{0, 0, 100, c.span});
  t->RecalcPlotSize();
  t->LeftAxis().SetPixelSpan();
  series.ComputeBarThickness();
  EXPECT_EQ(series.BarThickness(), c.thickness);
}

INSTANTIATE_TEST_SUITE_P(Slots, BarThicknessTest,
                         ::testing::Values(ThicknessCase{60, 1, 50, 16},    // slot 30 -> 15 -> 16
                                           ThicknessCase{400, 16, 50, 12},  // slot 23 -> 11.5 -> 12
                                           ThicknessCase{42, 1, 50, 10},    // slot 21 -> 10.5 -> 10 (ties to even)
                                           ThicknessCase{352, 16, 70, 14},  // slot 20 -> 14
                                           ThicknessCase{100, 0, 50, 0}),  // no points, no bars
                         [](const ::testing::TestParamInfo<ThicknessCase>& info) {
                           const ThicknessCase& c = info.param;
                           return "span" + std::to_string(c.span) + "_points" + std::to_string(c.points) + "_percent" +
                                  std::to_string(c.percent);
                         });

TEST(BarThicknessTest, CustomHeightWins) {
  TestChart t = BareChart(200, 200);
  THorizBarSeries& series = t->AddHorizBarSeries();
  series.AppendPoint(1, "r", clAutoColor);
  series.SetCustomBarHeight(7);
  series.ComputeBarThickness();
  EXPECT_EQ(series.BarThickness(), 7);
}

TEST(BarSettingsTest, PercentChecksRaiseAndKeepTheOldValue) {
  THorizBarSeries series;
  series.SetBarWidthPercent(50);
  try {
    series.SetBarWidthPercent(0);
    FAIL() << "no exception";
  } catch (const BarException& e) {
    EXPECT_STREQ(e.what(), "Bar Width Percent must be between 1 and 100");
  }
  EXPECT_THROW(series.SetBarWidthPercent(101), BarException);
  EXPECT_EQ(series.BarWidthPercent(), 50);
  try {
    series.SetOffsetPercent(-101);
    FAIL() << "no exception";
  } catch (const BarException& e) {
    EXPECT_STREQ(e.what(), "Bar Offset Percent must be between -100% and 100%");
  }
  EXPECT_EQ(series.OffsetPercent(), 0);
}

TEST(BarDrawingTest, StartUpBarsHaveNoLengthAndDrawNothing) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillPolygon), 0);
}

TEST(BarDrawingTest, EachBarIsAnArrowFromTheOriginToItsLevel) {
  auto t = ChartWithLevels({10, 20, 25});
  t.Paint();
  THorizBarSeries& s = t.series();
  const int thickness = s.BarThickness();
  const auto polygons = t.canvas->OfKind(TCanvasOp::FillPolygon);
  ASSERT_EQ(polygons.size(), 3u);
  // The inverted label axis draws the last bar first and the top bar last.
  for (int k = 0; k < 3; ++k) {
    const int i = 2 - k;
    const int top = s.BarTop(i);
    EXPECT_EQ(top, t->LeftAxis().ValueToPixel(i) - thickness / 2);
    const int mid = top + thickness / 2;
    std::array<Point, 7> expected;
    ASSERT_TRUE(TCanvas::ArrowPoints({s.OriginPixel(), mid}, {s.PointPixelX(i), mid}, thickness, thickness / 2,
                                     expected));
    EXPECT_EQ(polygons[static_cast<std::size_t>(k)]->points, std::vector<Point>(expected.begin(), expected.end()));
    EXPECT_EQ(polygons[static_cast<std::size_t>(k)]->points[4], (Point{s.PointPixelX(i), mid}));  // the tip
    // Outline pen, fill in the point's palette colour, no text background.
    EXPECT_EQ(polygons[static_cast<std::size_t>(k)]->pen, (TPen{clBlack, 1, TPenStyle::psSolid, false}));
    EXPECT_EQ(polygons[static_cast<std::size_t>(k)]->brush, (TBrush{s.PointColor(i), TBrushStyle::bsSolid}));
    EXPECT_EQ(polygons[static_cast<std::size_t>(k)]->backgroundMode, TBackgroundMode::bmTransparent);
  }
}

TEST(BarDrawingTest, BarsAreClippedInsideThePlotRectangle) {
  auto t = ChartWithLevels({10, 20});
  t.Paint();
  const Rect plot = t->PlotRect();
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::FillPolygon)) {
    ASSERT_TRUE(r->clip.has_value());
    EXPECT_EQ(*r->clip, (Rect{plot.left + 1, plot.top + 1, plot.right, plot.bottom - 1}));
  }
  for (const TCanvasRecord* r : t.canvas->OfKind(TCanvasOp::PutText)) EXPECT_FALSE(r->clip.has_value());
}

TEST(BarDrawingTest, NegativeLevelPointsItsTipAtTheOrigin) {
  auto t = ChartWithLevels({-8, 20});
  t.Paint();
  THorizBarSeries& s = t.series();
  std::array<Point, 7> p;
  ASSERT_TRUE(s.BarPolygon(0, p));
  EXPECT_EQ(p[0].x, s.PointPixelX(0));  // the tail at the value
  EXPECT_EQ(p[4].x, s.OriginPixel());   // the tip at the origin
  EXPECT_LT(s.PointPixelX(0), s.OriginPixel());
}

TEST(BarDrawingTest, ShortBarIsATriangle) {
  auto t = ChartWithLevels({1, 20});
  t.Paint();
  THorizBarSeries& s = t.series();
  ASSERT_LE(s.PointPixelX(0) - s.OriginPixel(), s.BarThickness() / 2);
  ASSERT_GT(s.PointPixelX(0), s.OriginPixel());
  std::array<Point, 7> p;
  ASSERT_TRUE(s.BarPolygon(0, p));
  EXPECT_EQ(p[2].x, s.OriginPixel());  // the head base lies on the start
  EXPECT_EQ(p[3].x, s.OriginPixel());
}

TEST(BarDrawingTest, NullColourLeavesAGap) {
  auto t = ChartWithLevels({10, 20, 25});
  t.series().SetPointColor(1, clNone);
  t.Paint();
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillPolygon), 2);
  EXPECT_EQ(t.series().Marks().StoredPosition(1), nullptr);
}

TEST(BarHitTestTest, BarRectangleBoundsAreInclusive) {
  auto t = ChartWithLevels({10, 20, 25});
  t.Paint();
  THorizBarSeries& s = t.series();
  const int top = s.BarTop(1);
  const int origin = s.OriginPixel();
  const int end = s.PointPixelX(1);
  EXPECT_EQ(s.HitTest(origin, top), 1);
  EXPECT_EQ(s.HitTest(end, top + s.BarThickness()), 1);
  EXPECT_EQ(s.HitTest(end + 1, top), -1);
  EXPECT_EQ(s.HitTest(origin - 1, top), -1);
  EXPECT_EQ(s.HitTest(origin, top - 1), -1);
}

}  // namespace
}  // namespace tavimo::chart
