// The depth histogram's bins: from 0 in steps of the bin width, up to the
// largest ratio or the 98th-percentile depth, deeper depths in the last bin.

#include <gtest/gtest.h>

#include "chart/DepthHistogram.h"

namespace tavimo::chart {
namespace {

TEST(DepthHistogram, BinsReachTheLargestRatioAndCollectDeeperDepthsInTheLast) {
  DepthHistogramInput input{{0, 0.49, 0.5, 10}, 0.5, {{"1", 1.0}}};
  EXPECT_EQ(DepthBins(input), (std::vector<int>{2, 1, 1}));
  input.ratios = {{"0.25", 0.25}};
  input.depths = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8, 0.9, 1.1, 1.2};
  EXPECT_EQ(DepthBins(input), (std::vector<int>{4, 4, 2}));  // the 98th percentile, 1.1, is in bin 2
  input.depths.clear();
  EXPECT_EQ(DepthBins(input), (std::vector<int>{0}));
}

}  // namespace
}  // namespace tavimo::chart
