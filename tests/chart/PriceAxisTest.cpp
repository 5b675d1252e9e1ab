// Price axis labels: round steps a label height and a gap apart, on linear
// and log scales.

#include <gtest/gtest.h>

#include <cmath>

#include "PriceChartTestSupport.h"
#include "chart/PriceAxis.h"

namespace tavimo::chart {
namespace {

using testing::PriceHistory;

const Rect kPlot{0, 0, 300, 400};
constexpr int kLabelHeight = 14;
constexpr int kGap = 6;  // labels at least 20 pixels apart

std::vector<std::string> Texts(const std::vector<TPriceLabel>& labels) {
  std::vector<std::string> texts;
  for (const TPriceLabel& l : labels) texts.push_back(l.text);
  return texts;
}

// The labels of a view of one bar across low ... high, the view's range.
std::vector<TPriceLabel> LabelsOf(TPriceScale scale, double low, double high, const Rect& plot = kPlot) {
  PriceHistory bars;
  bars.Add(0, low, high, low, high);
  TPriceView view;
  view.SetBars(bars.Columns());
  EXPECT_TRUE(view.SetScale(scale));
  view.SetPriceRange(low, high);
  return ChoosePriceLabels(view, plot, kLabelHeight, kGap);
}

void ExpectApartAndInside(const std::vector<TPriceLabel>& labels) {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_GE(labels[i].y, kPlot.top);
    EXPECT_LT(labels[i].y, kPlot.bottom);
    if (i > 0) {
      EXPECT_GE(labels[i].y - labels[i - 1].y, kLabelHeight + kGap) << labels[i].text;
    }
  }
}

TEST(PriceAxisLabels, LinearStepsAreOneTwoOrFiveTimesAPowerOfTen) {
  // 20 pixels are 5 price units: a step of 5, top down; 0 is on the bottom edge, outside.
  const auto labels = LabelsOf(TPriceScale::Linear, 0, 100);
  ASSERT_EQ(labels.size(), 20u);
  EXPECT_EQ(labels.front().text, "100");
  EXPECT_EQ(labels.front().y, 0);
  EXPECT_EQ(labels[1].text, "95");
  EXPECT_EQ(labels.back().text, "5");
  ExpectApartAndInside(labels);
  // 20 pixels are 0.021 units: a step of 0.05, with two decimals.
  const auto fine = LabelsOf(TPriceScale::Linear, 1.2, 1.62);
  EXPECT_EQ(Texts(fine).front(), "1.60");
  EXPECT_EQ(Texts(fine).back(), "1.25");
  ExpectApartAndInside(fine);
}

TEST(PriceAxisLabels, LogOverDecadesUsesOneTwoFiveOfEachDecade) {
  const auto labels = LabelsOf(TPriceScale::Log, 0.01, 100);
  EXPECT_EQ(Texts(labels), (std::vector<std::string>{"100", "50", "20", "10", "5", "2", "1", "0.5", "0.2", "0.1",
                                                     "0.05", "0.02"}));
  ExpectApartAndInside(labels);
  // 100 pixels a decade on this plot.
  EXPECT_EQ(labels[3].y - labels[0].y, 100);
  EXPECT_EQ(labels[6].y - labels[3].y, 100);
}

TEST(PriceAxisLabels, LogOverANarrowRangeUsesRoundLinearSteps) {
  const auto labels = LabelsOf(TPriceScale::Log, 100, 120);
  ASSERT_EQ(labels.size(), 10u) << ::testing::PrintToString(Texts(labels));
  EXPECT_EQ(labels[0].text, "120");
  EXPECT_EQ(labels[1].text, "118") << "1 price unit is 18 pixels at the top, too few for a step of 1";
  ExpectApartAndInside(labels);
}

TEST(PriceAxisLabels, ShortPlotsGetFewerLabelsNeverCrowdedOnes) {
  for (int height = 0; height <= 120; ++height)
    for (const TPriceScale scale : {TPriceScale::Linear, TPriceScale::Log}) {
      const Rect plot{0, 0, 100, height};
      const auto labels = LabelsOf(scale, 3, 2000, plot);
      for (std::size_t i = 1; i < labels.size(); ++i)
        ASSERT_GE(labels[i].y - labels[i - 1].y, kLabelHeight + kGap) << height;
      if (height >= 40) {
        EXPECT_GE(labels.size(), 2u) << height << (scale == TPriceScale::Log ? " log " : " linear ") << ::testing::PrintToString(Texts(labels));
      }
    }
}

}  // namespace
}  // namespace tavimo::chart
