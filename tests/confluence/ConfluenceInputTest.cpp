// Reading typed wave rows: which rows become waves, which are skipped and
// which cell is named as wrong.

#include <gtest/gtest.h>

#include "confluence/ConfluenceInput.h"

namespace tavimo {
namespace {

TEST(ConfluenceInput, RowsWithAWrongCellAreSkippedAndNamed) {
  const std::vector<WaveRowTexts> rows = {
      {"10", "20", ""},     // a wave without C
      {"", "", ""},         // blank: left out silently
      {"12", "", "15"},     // empty high
      {"1x", "18", ""},     // unconvertible low, named before the empty high would be
      {"12", "18", "abc"},  // unconvertible C
      {"12", "18", "14"},   // a wave with C
  };
  const ConfluenceInput input = ReadConfluenceWaves(rows, LevelScale::Linear);
  ASSERT_EQ(input.waves.size(), 2u);
  EXPECT_EQ(input.waveRows, (std::vector<std::size_t>{0, 5}));
  EXPECT_EQ(input.waves[0].low, 10.0);
  EXPECT_EQ(input.waves[0].high, 20.0);
  EXPECT_FALSE(input.waves[0].from.has_value());
  EXPECT_EQ(input.waves[1].from, 14.0);
  ASSERT_EQ(input.problems.size(), 3u);
  EXPECT_EQ(input.problems[0].row, 2u);
  EXPECT_EQ(input.problems[0].cell, WaveCell::High);
  EXPECT_TRUE(input.problems[0].message.empty());
  EXPECT_EQ(input.problems[1].row, 3u);
  EXPECT_EQ(input.problems[1].cell, WaveCell::Low);
  EXPECT_EQ(input.problems[1].message, "'1x' is not a valid floating point value");
  EXPECT_EQ(input.problems[2].cell, WaveCell::From);
}

TEST(ConfluenceInput, LogScaleSkipsRowsWithPricesAtOrBelowZero) {
  const std::vector<WaveRowTexts> rows = {{"0", "20", ""}, {"10", "20", "-1"}, {"10", "20", ""}};
  EXPECT_EQ(ReadConfluenceWaves(rows, LevelScale::Linear).waves.size(), 3u);
  const ConfluenceInput input = ReadConfluenceWaves(rows, LevelScale::Log);
  EXPECT_EQ(input.waveRows, (std::vector<std::size_t>{2}));
  ASSERT_EQ(input.problems.size(), 2u);
  EXPECT_EQ(input.problems[0].cell, WaveCell::Low);
  EXPECT_EQ(input.problems[1].cell, WaveCell::From);
  EXPECT_EQ(input.problems[1].message, kLogScalePricesMessage);
}

TEST(ConfluenceInput, ToleranceIsANumberAtOrAboveZero) {
  EXPECT_EQ(ReadConfluenceTolerance("0.5"), 0.5L);
  EXPECT_EQ(ReadConfluenceTolerance(" 0 "), 0.0L);
  for (const char* bad : {"", "-0.1", "abc", "0.5%"}) EXPECT_FALSE(ReadConfluenceTolerance(bad).has_value()) << bad;
}

}  // namespace
}  // namespace tavimo
