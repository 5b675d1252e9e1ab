// Series points: adding, changing, clearing, colours, labels, extremes and the visible range.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/Palette.h"
#include "runtime/Exceptions.h"

namespace tavimo::chart {
namespace {

using testing::BareChart;
using testing::kSixteenRatios;
using testing::MainChartWith;

TEST(SeriesDataTest, HorizontalBarPointsTakeTheirIndexAsPosition) {
  THorizBarSeries series;
  series.AppendPoint(5, "a", clAutoColor);
  series.AppendPoint(6, "", clBlue);
  series.AppendPoint(7, "c", clAutoColor);
  ASSERT_EQ(series.PointCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(series.PointX(i), 5 + i);
    EXPECT_EQ(series.PointY(i), i);
  }
  EXPECT_EQ(series.PointLabel(0), "a");
  EXPECT_EQ(series.PointLabel(1), "");
  EXPECT_EQ(series.PointLabel(2), "c");
  EXPECT_EQ(series.PointLabel(3), "");  // beyond the labels: empty, no error
  EXPECT_EQ(series.StoredColor(1), clBlue);
  EXPECT_EQ(series.StoredColor(0), clAutoColor);
}

TEST(SeriesDataTest, BarSeriesNamesItsListsAndOrders) {
  THorizBarSeries series;
  EXPECT_EQ(series.XValues().Name(), "Bar");
  EXPECT_EQ(series.XValues().Order(), TChartListOrder::loNone);
  EXPECT_EQ(series.YValues().Name(), "Y");
  EXPECT_FALSE(series.YIsMain());
  EXPECT_TRUE(series.Marks().Visible());
  EXPECT_EQ(series.Marks().ArrowLength(), 20);
}

TEST(SeriesDataTest, PaletteRepeatsEverySixteenPoints) {
  THorizBarSeries series;
  series.SetSeriesColor(clRed);
  series.SetColorEachPoint(true);
  for (int i = 0; i < 17; ++i) series.AppendPoint(0, "r", clAutoColor);
  const TColor expected[] = {clRed,  clGreen,  clYellow, clBlue,   clWhite, clGray,  clFuchsia, clTeal, clNavy,
                             clMaroon, clLime, clOlive,  clPurple, clSilver, clAqua, clBlack,   clRed};
  for (int i = 0; i < 17; ++i) EXPECT_EQ(series.PointColor(i), expected[i]) << i;
  EXPECT_EQ(series.PointColor(17), clRed);  // beyond the colours: SeriesColor
}

TEST(SeriesDataTest, WithoutColorEachPointEveryAutomaticPointIsTheSeriesColour) {
  THorizBarSeries series;
  series.SetSeriesColor(clTeal);
  series.AppendPoint(0, "a", clAutoColor);
  series.AppendPoint(0, "b", clLime);
  EXPECT_EQ(series.PointColor(0), clTeal);
  EXPECT_EQ(series.PointColor(1), clLime);
  series.SetColorEachPoint(false);  // also resets the points' own colours
  EXPECT_EQ(series.PointColor(1), clTeal);
}

TEST(SeriesDataTest, SetPointXKeepsThePointWhereItIs) {
  THorizBarSeries series;
  series.XValues().SetOrder(TChartListOrder::loAscending);
  for (int i = 0; i < 16; ++i) series.AppendPoint(10 + i, "r", clAutoColor);
  series.SetPointX(3, -100);
  EXPECT_EQ(series.PointX(3), -100);
  EXPECT_EQ(series.PointY(3), 3);
  EXPECT_EQ(series.XValues().MinimumValue(), -100);
}

TEST(SeriesDataTest, SetPointXBeyondTheLastPointRaisesAndChangesNothing) {
  THorizBarSeries series;
  for (int i = 0; i < 16; ++i) series.AppendPoint(1, "r", clAutoColor);
  try {
    series.SetPointX(16, 5);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (16)");
  }
  EXPECT_EQ(series.XValues().MaximumValue(), 1);
}

TEST(SeriesDataTest, ClearPointsEmptiesEverythingAndRestartsPositions) {
  auto t = MainChartWith(kSixteenRatios);
  THorizBarSeries& series = t.series();
  t.Paint();
  ASSERT_EQ(series.FirstVisible(), 0);
  ASSERT_NE(series.Marks().StoredPosition(0), nullptr);
  series.ClearPoints();
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.LabelCount(), 0);
  EXPECT_EQ(series.XValues().MaximumValue(), 0);
  EXPECT_EQ(series.YValues().TotalValue(), 0);
  EXPECT_EQ(series.FirstVisible(), -1);
  EXPECT_EQ(series.LastVisible(), -1);
  EXPECT_EQ(series.Marks().StoredPosition(0), nullptr);
  series.AppendPoint(3, "x", clAutoColor);
  EXPECT_EQ(series.PointY(0), 0);
}

TEST(SeriesDataTest, VetoedAddChangesNothing) {
  THorizBarSeries series;
  series.OnBeforeAdd = [](TChartSeries& s) { return s.XValues().StagedValue() >= 0; };
  EXPECT_EQ(series.AppendPoint(-1, "no", clAutoColor), -1);
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.LabelCount(), 0);
  int told = -1;
  series.OnAfterAdd = [&](TChartSeries&, int index) { told = index; };
  EXPECT_EQ(series.AppendPoint(2, "yes", clAutoColor), 0);
  EXPECT_EQ(told, 0);
}

TEST(SeriesDataTest, ExtremesIncludeTheOrigin) {
  THorizBarSeries series;
  for (int i = 0; i < 4; ++i) series.AppendPoint(0, "r", clAutoColor);
  EXPECT_EQ(series.LowestX(), 0);
  EXPECT_EQ(series.HighestX(), 0);
  series.SetPointX(0, 8.2);
  series.SetPointX(1, 21.0);
  series.SetPointX(2, 9);
  series.SetPointX(3, 12);
  EXPECT_EQ(series.LowestX(), 0);
  EXPECT_EQ(series.HighestX(), 21.0);
  EXPECT_EQ(series.LowestY(), 0);
  EXPECT_EQ(series.HighestY(), 3);
  series.SetPointX(2, -4);
  EXPECT_EQ(series.LowestX(), -4);
  series.SetUseYOrigin(false);
  EXPECT_EQ(series.LowestX(), -4);
  series.SetPointX(2, 4);
  EXPECT_EQ(series.LowestX(), 4);
}

TEST(SeriesDataTest, ChangesOnlyInvalidateAndNeverDraw) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  int requests = 0;
  t->SetInvalidateHandler([&] { ++requests; });
  t.canvas->ClearRecords();
  for (int i = 0; i < 16; ++i) t.series().SetPointX(i, i * 1.5);
  EXPECT_EQ(requests, 16);
  EXPECT_TRUE(t->Dirty());
  EXPECT_TRUE(t.canvas->Records().empty());
}

TEST(SeriesDataTest, AttachedSeriesWithAutomaticColourTakesAFreePaletteColour) {
  auto t = BareChart(200, 200);
  t->SetColor(clRed);
  THorizBarSeries& first = t->AddHorizBarSeries();
  EXPECT_EQ(first.SeriesColor(), clGreen);  // red is the panel colour
  THorizBarSeries& second = t->AddHorizBarSeries();
  EXPECT_EQ(second.SeriesColor(), clYellow);
}

TEST(VisibleRangeTest, AllPointsAreVisibleWithTheFittedRange) {
  auto t = MainChartWith(kSixteenRatios);
  t.Paint();
  EXPECT_EQ(t.series().FirstVisible(), 0);
  EXPECT_EQ(t.series().LastVisible(), 15);
}

TEST(VisibleRangeTest, ManualRangeShowsOnlyThePositionsInside) {
  auto t = MainChartWith(kSixteenRatios);
  t->LeftAxis().SetMinMax(3.5, 8.2);
  t.Paint();
  EXPECT_EQ(t.series().FirstVisible(), 4);
  EXPECT_EQ(t.series().LastVisible(), 8);
  t->LeftAxis().SetMinMax(20, 30);
  t.Paint();
  EXPECT_EQ(t.series().FirstVisible(), -1);
  EXPECT_EQ(t.series().LastVisible(), -1);
  EXPECT_EQ(t.canvas->Count(TCanvasOp::FillPolygon), 0);
}

TEST(VisibleRangeTest, UnorderedPositionsShowEveryPoint) {
  auto t = MainChartWith(kSixteenRatios);
  t.series().YValues().SetOrder(TChartListOrder::loNone);
  t->LeftAxis().SetMinMax(20, 30);
  t.Paint();
  EXPECT_EQ(t.series().FirstVisible(), 0);
  EXPECT_EQ(t.series().LastVisible(), 15);
}

}  // namespace
}  // namespace tavimo::chart
