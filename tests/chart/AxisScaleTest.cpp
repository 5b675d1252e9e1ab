// Axis scale: range widening, value <-> pixel mapping, label step, label style and setters.

#include <gtest/gtest.h>

#include <cmath>

#include "ChartTestSupport.h"
#include "ParamText.h"
#include "chart/ChartExceptions.h"

namespace tavimo::chart {
namespace {

using testing::BareChart;
using testing::TestChart;

// A left axis spanning the given rows, ready for one layout step at a time.
TestChart ChartWithLeftSpan(int top, int bottom, int points) {
  TestChart t = BareChart(200, 600);
  THorizBarSeries& series = t->AddHorizBarSeries();
  series.SetBarWidthPercent(50);
  for (int i = 0; i < points; ++i) series.AppendPoint(0, "r", clAutoColor);
  t->SetPlotRect(Rect{0, top, 100, bottom});
  t->RecalcPlotSize();
  return t;
}

TEST(AxisWideningTest, InvertedLabelAxisKeepsOneBarThicknessFreeAtBothEnds) {
  TestChart t = ChartWithLeftSpan(60, 460, 16);
  TChartAxis& axis = t->LeftAxis();
  axis.SetInverted(true);
  axis.AdjustRange();
  axis.SetPixelSpan();
  ASSERT_EQ(axis.StartPixel(), 60);
  ASSERT_EQ(axis.EndPixel(), 460);
  auto& series = static_cast<THorizBarSeries&>(t->Series(0));
  int top = 0, bottom = 0;
  series.VertAxisMargins(top, bottom);
  EXPECT_EQ(series.BarThickness(), 12);  // round(0.5 * (400 div 17)) = round(11.5)
  ASSERT_EQ(top, 12);
  ASSERT_EQ(bottom, 12);
  axis.WidenRange(top, bottom);
  EXPECT_NEAR(axis.WorkMinimum(), -0.4787234042553191, 1e-12);
  EXPECT_NEAR(axis.WorkMaximum(), 15.478723404255319, 1e-12);
  EXPECT_NEAR(axis.WorkRange(), 15.957446808510638, 1e-12);
  EXPECT_EQ(axis.StartPixel(), 60);
  EXPECT_EQ(axis.EndPixel(), 460);
  const int expected[] = {72, 97, 122, 147, 172, 197, 222, 247, 273, 298, 323, 348, 373, 398, 423, 448};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(axis.ValueToPixel(i), expected[i]) << i;
}

TEST(AxisWideningTest, ZeroRangeStaysZero) {
  TestChart t = ChartWithLeftSpan(60, 460, 1);
  TChartAxis& axis = t->LeftAxis();
  axis.AdjustRange();
  axis.SetPixelSpan();
  axis.WidenRange(40, 40);
  EXPECT_EQ(axis.WorkMinimum(), 0);
  EXPECT_EQ(axis.WorkMaximum(), 0);
  EXPECT_EQ(axis.ValueToPixel(0), axis.CenterPixel());
  EXPECT_EQ(axis.CenterPixel(), 260);
}

TEST(AxisMappingTest, OrientationsAndInversion) {
  TestChart t = BareChart(200, 200);
  t->SetPlotRect(Rect{10, 20, 110, 220});
  t->RecalcPlotSize();
  struct Row {
    TChartAxis* axis;
    bool inverted;
    int pixelOfMinimum;
    int pixelOfMaximum;
  };
  const Row rows[] = {{&t->BottomAxis(), false, 10, 110}, {&t->BottomAxis(), true, 110, 10},
                      {&t->LeftAxis(), false, 220, 20},   {&t->LeftAxis(), true, 20, 220}};
  for (const Row& row : rows) {
    row.axis->SetInverted(row.inverted);
    row.axis->SetMinMax(0, 10);
    row.axis->AdjustRange();
    row.axis->SetPixelSpan();
    EXPECT_EQ(row.axis->ValueToPixel(0), row.pixelOfMinimum);
    EXPECT_EQ(row.axis->ValueToPixel(10), row.pixelOfMaximum);
    EXPECT_DOUBLE_EQ(row.axis->PixelToValue(row.pixelOfMinimum), 0);
    EXPECT_DOUBLE_EQ(row.axis->PixelToValue(row.pixelOfMaximum), 10);
    // Far outside the pixel range the mapping gives up and answers the centre.
    EXPECT_EQ(row.axis->ValueToPixel(1e12), row.axis->CenterPixel());
  }
}

TEST(AxisMappingTest, EmptySpanMapsEveryPixelToZero) {
  TestChart t = BareChart(200, 200);
  t->SetPlotRect(Rect{10, 20, 110, 220});
  t->RecalcPlotSize();
  TChartAxis& axis = t->BottomAxis();
  axis.SetMinMax(5, 10);
  axis.AdjustRange();
  axis.SetEndPosition(0);
  axis.SetPixelSpan();
  EXPECT_EQ(axis.PixelSpan(), 0);
  EXPECT_EQ(axis.PixelToValue(50), 0);
}

struct StepCase {
  double minimum;
  double maximum;
  double increment;
  int span;
  double step;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << "{" << param_text::Number(c.minimum) << " to " << param_text::Number(c.maximum) << ", increment "
      << param_text::Number(c.increment) << ", span " << c.span << " -> step " << param_text::Number(c.step) << "}";
}

class LabelStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(LabelStepTest, StepIsTheFirstNiceCandidateThatFits) {
  const StepCase c = GetParam();
  TestChart t = BareChart(200, 1000);
  t->SetPlotRect(Rect{0, 0, 100, c.span});
  t->RecalcPlotSize();
  TChartAxis& axis = t->LeftAxis();
  axis.SetIncrement(c.increment);
  if (c.minimum == c.maximum) {
    axis.SetAutomatic(false);
    axis.SetMinimum(c.minimum);
    axis.SetMaximum(c.maximum);
  } else {
    axis.SetMinMax(c.minimum, c.maximum);
  }
  axis.AdjustRange();
  axis.SetPixelSpan();
  // 18-pixel labels with 10 % separation: 20 pixels per label.
  t->Canvas().SetFont(TFont{"Arial", -16, clBlack, false});
  EXPECT_NEAR(axis.LabelStep(), c.step, c.step * 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Ranges, LabelStepTest,
                         ::testing::Values(StepCase{0, 21, 0, 400, 2},       // 21 labels are too many; 10 fit
                                           StepCase{0, 17.2, 0, 400, 1},     // 17 fit
                                           StepCase{0, 0, 0, 400, 1e-12},    // nothing to step over
                                           StepCase{0, 0, 0.5, 400, 0.5},    // the increment is the first try
                                           StepCase{0, 21, 3, 400, 3},       // 7 labels fit
                                           StepCase{0, 1000, 0, 400, 50},    // 1, 2, 5, ... 50
                                           StepCase{0, 0.37, 0, 400, 0.02},  // steps below 1
                                           StepCase{0, 21, 0, 9, 1e-12}),    // not even one label fits
                         [](const ::testing::TestParamInfo<StepCase>& info) {
                           const StepCase& c = info.param;
                           return param_text::Join({param_text::Name(c.minimum), "to", param_text::Name(c.maximum),
                                                    "increment", param_text::Name(c.increment),
                                                    "span" + std::to_string(c.span)});
                         });

TEST(LabelStyleTest, PointLabelsOnThePositionAxisUnlessTheFirstIsEmpty) {
  TestChart t = BareChart(200, 200);
  THorizBarSeries& series = t->AddHorizBarSeries();
  EXPECT_EQ(t->LeftAxis().ResolvedLabelStyle(), TAxisLabelStyle::talValue);  // no points at all
  series.AppendPoint(1, "0.5", clAutoColor);
  EXPECT_EQ(t->LeftAxis().ResolvedLabelStyle(), TAxisLabelStyle::talText);
  EXPECT_EQ(t->BottomAxis().ResolvedLabelStyle(), TAxisLabelStyle::talValue);
  EXPECT_EQ(t->TopAxis().ResolvedLabelStyle(), TAxisLabelStyle::talNone);  // no series uses it
  series.ClearPoints();
  series.AppendPoint(1, "", clAutoColor);
  series.AppendPoint(1, "1", clAutoColor);
  EXPECT_EQ(t->LeftAxis().ResolvedLabelStyle(), TAxisLabelStyle::talValue);
  t->LeftAxis().SetLabelStyle(TAxisLabelStyle::talNone);
  EXPECT_EQ(t->LeftAxis().ResolvedLabelStyle(), TAxisLabelStyle::talNone);
}

TEST(AxisSettersTest, RangeChecksRaiseAndKeepTheOldValue) {
  TestChart t = BareChart(200, 200);
  TChartAxis& axis = t->LeftAxis();
  axis.SetMaximum(10);
  try {
    axis.SetMinimum(11);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
  }
  EXPECT_EQ(axis.Minimum(), 0);
  axis.SetMinimum(4);
  try {
    axis.SetMaximum(3);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
  }
  EXPECT_EQ(axis.Maximum(), 10);
  try {
    axis.SetIncrement(-1);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Axis increment must be >= 0");
  }
  try {
    axis.SetLabelsSeparation(-1);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Labels Separation % must be greater than 0");
  }
  try {
    axis.SetLabelsAngle(361);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Axis Labels Angle must be between 0 and 359 degrees");
    EXPECT_STREQ(e.ClassName(), "ChartException");
  }
  EXPECT_EQ(axis.LabelsAngle(), 0);
  axis.SetLabelsAngle(360);
  EXPECT_EQ(axis.LabelsAngle(), 360);
}

TEST(AxisSettersTest, LoadingSkipsTheOrderCheck) {
  TestChart t = BareChart(200, 200);
  t->BeginLoading();
  t->LeftAxis().SetMinimum(5);
  t->EndLoading();
  EXPECT_EQ(t->LeftAxis().Minimum(), 5);
}

TEST(AxisSettersTest, SettingBothEndsTurnsAutomaticOffOrdersAndSeparatesThem) {
  TestChart t = BareChart(200, 200);
  TChartAxis& axis = t->BottomAxis();
  axis.SetMinMax(9, 3);
  EXPECT_EQ(axis.Minimum(), 3);
  EXPECT_EQ(axis.Maximum(), 9);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  axis.SetMinMax(2, 2);
  EXPECT_EQ(axis.Minimum(), 2);
  EXPECT_EQ(axis.Maximum(), 2 + 1e-10);
}

TEST(AxisSettersTest, AutomaticFlagsFollowEachOther) {
  TestChart t = BareChart(200, 200);
  TChartAxis& axis = t->BottomAxis();
  axis.SetAutomatic(false);
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  axis.SetAutomaticMinimum(true);  // the other end is still manual
  EXPECT_FALSE(axis.Automatic());
  axis.SetAutomaticMaximum(true);
  EXPECT_TRUE(axis.Automatic());
  axis.SetAutomaticMaximum(false);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_TRUE(axis.AutomaticMinimum());
}

TEST(AxisSettersTest, ChangesInvalidateOnlyWhenTheValueDiffers) {
  TestChart t = BareChart(200, 200);
  int requests = 0;
  t->SetInvalidateHandler([&] { ++requests; });
  t->LeftAxis().SetTickLength(6);
  t->LeftAxis().SetTickLength(6);
  EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace tavimo::chart
