// The plot rectangle: margins, the title line, the axes' space and the series margins.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"

namespace tavimo::chart {
namespace {

using testing::BareChart;
using testing::kSixteenRatios;
using testing::MainChartWith;

TEST(ChartLayoutTest, MarginsArePercentagesOfTheBounds) {
  auto t = BareChart(597, 504);
  t->SetMargins(10, 10, 5, 15);
  t->SetAxisVisible(false);
  t.Paint();
  EXPECT_EQ(t->PlotRect(), (Rect{60, 50, 567, 428}));  // no title lines: the top stays at the margin
  EXPECT_EQ(t->PlotWidth(), 507);
  EXPECT_EQ(t->PlotHeight(), 378);
  EXPECT_EQ(t->PlotXCenter(), 313);
  EXPECT_EQ(t->PlotYCenter(), 239);
}

TEST(ChartLayoutTest, MarginsRoundHalvesAwayFromZero) {
  auto t = BareChart(150, 50);
  t->SetMargins(1, 1, 1, 1);  // 1.5 pixels and 0.5 pixels
  t->SetAxisVisible(false);
  t.Paint();
  EXPECT_EQ(t->PlotRect(), (Rect{2, 1, 148, 49}));
}

TEST(ChartLayoutTest, EmptyTitleLineStillTakesALineAndTheGap) {
  auto t = MainChartWith(kSixteenRatios);
  t->SetAxisVisible(false);
  t.Paint();
  const int f = RecordingCanvas::LineHeight(t->Title().Font);  // "W" height of the title font
  ASSERT_EQ(f, 21);
  EXPECT_EQ(t->TitleLineHeight(), f);
  EXPECT_EQ(t->PlotRect(), (Rect{60, 50 + f + 5, 567, 428}));
  EXPECT_EQ(t->TitleRect(), (Rect{60, 50, 567, 50 + f}));
}

TEST(ChartLayoutTest, FramedTitleAndFootTakeLinesFrameAndGapInsideTheBorder) {
  auto t = BareChart(597, 504);
  t->SetMargins(10, 10, 5, 15);  // 60, 50, 30 and 76 pixels
  t->SetBorderWidth(2);
  t->SetAxisVisible(false);
  TChartTitle title = t->Title();
  title.Text = {"a", "b"};
  title.Frame = TChartPen{true, clBlack, 3, TPenStyle::psSolid, false};
  t->SetTitle(title);
  TChartTitle foot = t->Foot();
  foot.Text = {"c"};
  foot.Frame = title.Frame;
  t->SetFoot(foot);
  t.Paint();
  ASSERT_EQ(RecordingCanvas::LineHeight(title.Font), 12);
  EXPECT_EQ(t->TitleRect(), (Rect{62, 52, 565, 52 + 3 + 2 * 12 + 3}));
  EXPECT_EQ(t->FootRect(), (Rect{62, 426 - 3 - 12 - 3, 565, 426}));
  EXPECT_EQ(t->PlotRect(), (Rect{62, 52 + 3 + 2 * 12 + 5, 565, 426 - 3 - 12 - 5}));
}

TEST(ChartLayoutTest, LeftAxisTakesTheWidestLabelPlusTicks) {
  auto t = MainChartWith({"0.5", "1.191", "2"});
  t.Paint();
  // "1.191": 5 characters of 8 pixels; then the 2-pixel axis line and the 6-pixel ticks.
  EXPECT_EQ(t->LeftAxis().LabelsPos(), 60 + 40);
  EXPECT_EQ(t->PlotRect(), (Rect{108, 76, 567, 428}));
  EXPECT_TRUE(t->LeftAxis().ShownInLastLayout());
  EXPECT_FALSE(t->BottomAxis().ShownInLastLayout());  // hidden, though it still scales the bars
  EXPECT_FALSE(t->TopAxis().ShownInLastLayout());     // no series uses it
  EXPECT_FALSE(t->RightAxis().ShownInLastLayout());
  EXPECT_EQ(t->LeftAxis().StartPixel(), 76);
  EXPECT_EQ(t->LeftAxis().EndPixel(), 428);
  EXPECT_EQ(t->BottomAxis().StartPixel(), 108);
  EXPECT_EQ(t->BottomAxis().EndPixel(), 567);
}

TEST(ChartLayoutTest, SixteenBarsGetAnEvenThicknessFromTheirSlot) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  // Span 352, 17 slots of 20 pixels, half of that.
  EXPECT_EQ(t.series().BarThickness(), 10);
  EXPECT_NEAR(t->LeftAxis().WorkMinimum(), -10.0 * 15 / 332, 1e-12);
  EXPECT_EQ(t->LeftAxis().ValueToPixel(0), 86);
  EXPECT_EQ(t->LeftAxis().ValueToPixel(15), 418);
}

TEST(ChartLayoutTest, ValueAxisKeepsRoomForTheMarksOnTheSideTheyPointTo) {
  auto t = MainChartWith({"0.5", "1", "2"});
  THorizBarSeries& s = t.series();
  s.SetPointX(0, 10);
  s.SetPointX(1, 20);
  s.SetPointX(2, 25);
  t.Paint();
  // The plot starts at 60 + "0.5" (24) + 8. Widest mark text "10" / "20" / "25":
  // 16 pixels, + arrow 10 + frame 2 = 28, + 1.
  const TChartAxis& bottom = t->BottomAxis();
  EXPECT_EQ(bottom.Minimum(), 0);
  EXPECT_EQ(bottom.Maximum(), 25);
  EXPECT_DOUBLE_EQ(bottom.WorkMinimum(), 0);
  EXPECT_NEAR(bottom.WorkMaximum(), 25 + 29 * 25.0 / (475 - 29), 1e-12);
  EXPECT_EQ(bottom.ValueToPixel(25), 567 - 29);
  EXPECT_EQ(bottom.ValueToPixel(0), 92);

  // A negative level widens the left end too; "-10" (24 pixels) is now the widest mark: 24 + 12 + 1.
  s.SetPointX(0, -10);
  t.Paint();
  EXPECT_EQ(bottom.ValueToPixel(-10), 92 + 37);
  EXPECT_EQ(bottom.ValueToPixel(25), 567 - 37);
}

TEST(ChartLayoutTest, AllZeroLevelsLeaveTheValueAxisAtZeroWidth) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  const TChartAxis& bottom = t->BottomAxis();
  EXPECT_EQ(bottom.WorkMinimum(), 0);
  EXPECT_EQ(bottom.WorkMaximum(), 0);
  EXPECT_EQ(bottom.ValueToPixel(0), bottom.CenterPixel());
  EXPECT_EQ(bottom.ValueToPixel(123), bottom.CenterPixel());
}

TEST(ChartLayoutTest, OneRatioSitsAtTheLeftAxisCentre) {
  auto t = MainChartWith({"0.618"});
  t.Paint();
  const TChartAxis& left = t->LeftAxis();
  EXPECT_EQ(left.WorkRange(), 0);
  EXPECT_EQ(left.ValueToPixel(0), left.CenterPixel());
  EXPECT_EQ(left.CenterPixel(), (76 + 428) / 2);
}

TEST(ChartLayoutTest, TinyAndEmptyClientAreasAreRepaired) {
  for (const auto& size : {std::pair{10, 10}, std::pair{1, 1}}) {
    auto t = MainChartWith(kSixteenRatios, size.first, size.second);
    t.series().SetPointX(3, 7.5);
    EXPECT_NO_THROW(t.Paint());
    EXPECT_GT(t->PlotRect().right, t->PlotRect().left);
    EXPECT_GT(t->PlotRect().bottom, t->PlotRect().top);
  }
  // With no client area at all there is nothing to repair the rectangle with; the paint still completes.
  auto t = MainChartWith(kSixteenRatios, 0, 0);
  t.series().SetPointX(3, 7.5);
  EXPECT_NO_THROW(t.Paint());
  EXPECT_FALSE(t->Dirty());
}

}  // namespace
}  // namespace tavimo::chart
