// The level view: a computation's rows of level and mark text, and the one
// way a single level is shown, with and without a tick.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/LevelView.h"

namespace tavimo {
namespace {

TEST(ShowLevel, MarksFollowThePatternOrTheTick) {
  const NumberFormatSettings commaDecimals{",", "."};
  const PriceTick tick("0.05");
  const struct {
    double level;
    const PriceTick* tick;
    TickRounding rounding;
    double shownLevel;
    const char* mark;
  } rows[] = {
      {1234.5678, nullptr, TickRounding::Nearest, 1234.5678, "1.234,568"},
      {1e6, nullptr, TickRounding::Nearest, 1e6, "1.000.000"},
      {11.91, &tick, TickRounding::Nearest, 11.9, "11,90"},
      {11.91, &tick, TickRounding::Up, 11.95, "11,95"},
      {-11.91, &tick, TickRounding::Up, -11.9, "-11,90"},
  };
  for (const auto& row : rows) {
    const ShownLevel shown = ShowLevel(row.level, row.tick, row.rounding, commaDecimals);
    EXPECT_EQ(shown.level, row.shownLevel) << row.mark;
    EXPECT_EQ(shown.mark, row.mark);
  }
}

TEST(MakeLevelRows, OneRowPerEntryWithALevel) {
  const std::vector<LevelRow> rows = MakeLevelRows({"1/3", "2", "0.5"}, {1.5, 2.5});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].ratio, "1/3");
  EXPECT_EQ(rows[1].ratio, "2");
  EXPECT_EQ(rows[1].mark, "2.5");
}

TEST(ViewLevels, EachModeTakesTheChosenScaleWhereItApplies) {
  LevelPresentation logScale;
  logScale.scale = LevelScale::Log;
  const LevelView resistance =
      ViewLevels({ComputeMode::Resistance, "10", "40", {}, LevelScale::Linear}, {"0.5"}, logScale);
  ASSERT_EQ(resistance.rows.size(), 1u);
  EXPECT_EQ(resistance.rows[0].level, 20.0);  // 10 x (40 / 10)^0.5
  // Rise has no log form: it stays linear rather than failing.
  const LevelView rise = ViewLevels({ComputeMode::Rise, "10", "", {}, LevelScale::Linear}, {"0.5"}, logScale);
  ASSERT_EQ(rise.rows.size(), 1u);
  EXPECT_EQ(rise.rows[0].level, 15.0);
}

TEST(ViewLevels, TickRoundsTheRowsAndMarksThemAsTicked) {
  LevelPresentation ticked;
  ticked.tick.emplace("0.05");
  const LevelView view =
      ViewLevels({ComputeMode::Resistance, "10", "20", {}, LevelScale::Linear}, {"0.191", "0.5"}, ticked);
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_TRUE(view.tickedMarks);
  EXPECT_EQ(view.rows[0].level, 11.9);
  EXPECT_EQ(view.rows[0].mark, "11.90");
  EXPECT_FALSE(ViewLevels({ComputeMode::Support, "10", "20", {}, LevelScale::Linear}, {"0.5"}, {}).tickedMarks);
}

TEST(ViewLevels, EmptyNeededBoxGivesItsMessageAndNoRows) {
  const LevelView view = ViewLevels({ComputeMode::Support, "10", "", {}, LevelScale::Linear}, {"0.5"}, {});
  EXPECT_EQ(view.emptyBoxMessage, kEmptyBothMessage);
  EXPECT_TRUE(view.rows.empty());
}

TEST(ViewUncomputedLevels, EveryEntryStandsAtZero) {
  const LevelView view = ViewUncomputedLevels({"0.5", "abc"});
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[1].ratio, "abc");
  EXPECT_EQ(view.rows[1].level, 0.0);
  EXPECT_EQ(view.rows[1].mark, "0");
}

}  // namespace
}  // namespace tavimo
