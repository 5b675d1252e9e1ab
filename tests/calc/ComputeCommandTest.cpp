// The compute commands: empty-box checks, conversion order and outcomes.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CalcTestSupport.h"
#include "ParamText.h"
#include "calc/ComputeCommand.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

const RatioList kTwoRatios = {"0.5", "2"};

struct EmptyBoxCase {
  const char* name;
  ComputeMode mode;
  const char* low;
  const char* high;
  std::optional<std::string_view> message;
};

void PrintTo(const EmptyBoxCase& c, std::ostream* out) {
  *out << "{" << c.name << ": low " << param_text::Quoted(c.low) << ", high " << param_text::Quoted(c.high) << " -> "
       << (c.message ? param_text::Quoted(*c.message) : std::string("no message")) << "}";
}

class EmptyBoxTest : public ::testing::TestWithParam<EmptyBoxCase> {};

TEST_P(EmptyBoxTest, AnswersTheNeededBoxOnly) {
  const EmptyBoxCase& c = GetParam();
  // The box texts that are not checked are not numbers either: a command
  // that converted them would raise instead of answering.
  const ComputeOutcome outcome = RunCompute(c.mode, c.low, c.high, kTwoRatios);
  EXPECT_EQ(outcome.emptyBoxMessage, c.message);
  if (c.message) {
    EXPECT_TRUE(outcome.levels.empty());
  } else {
    EXPECT_EQ(outcome.levels.size(), kTwoRatios.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EmptyBoxTest,
    ::testing::Values(
        EmptyBoxCase{"RiseWithOnlyHighFilled", ComputeMode::Rise, "", "20", kEmptyLowMessage},
        EmptyBoxCase{"RiseBothEmpty", ComputeMode::Rise, "", "", kEmptyLowMessage},
        EmptyBoxCase{"RiseIgnoresHighBox", ComputeMode::Rise, "10", "", std::nullopt},
        EmptyBoxCase{"DeclineWithOnlyLowFilled", ComputeMode::Decline, "abc", "", kEmptyHighMessage},
        EmptyBoxCase{"DeclineIgnoresLowBox", ComputeMode::Decline, "", "20", std::nullopt},
        EmptyBoxCase{"ResistanceBothEmpty", ComputeMode::Resistance, "", "", kEmptyBothMessage},
        EmptyBoxCase{"ResistanceHighEmpty", ComputeMode::Resistance, "abc", "", kEmptyBothMessage},
        EmptyBoxCase{"ResistanceLowEmpty", ComputeMode::Resistance, "", "abc", kEmptyBothMessage},
        EmptyBoxCase{"SupportBothEmpty", ComputeMode::Support, "", "", kEmptyBothMessage},
        EmptyBoxCase{"SupportHighEmpty", ComputeMode::Support, "abc", "", kEmptyBothMessage},
        EmptyBoxCase{"SupportLowEmpty", ComputeMode::Support, "", "abc", kEmptyBothMessage},
        EmptyBoxCase{"SupportBothFilled", ComputeMode::Support, "10", "20", std::nullopt}),
    param_text::NameField());

TEST(ComputeCommand, EmptyBoxIsAnsweredBeforeAnyRatioIsConverted) {
  EXPECT_EQ(RunCompute(ComputeMode::Rise, "", "", {"1/0"}).emptyBoxMessage, kEmptyLowMessage);
}

TEST(ComputeCommand, BlanksAreTextNotAnEmptyBox) {
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Rise, " ", "", kTwoRatios); },
                                    "' ' is not a valid floating point value"));
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Support, "10", "\t", kTwoRatios); },
                                    "'\\x09' is not a valid floating point value"));
}

TEST(ComputeCommand, ConvertsLowBeforeHigh) {
  for (ComputeMode mode : {ComputeMode::Resistance, ComputeMode::Support})
    EXPECT_TRUE(Raises<EConvertError>([mode] { RunCompute(mode, "abc", "xyz", kTwoRatios); },
                                      "'abc' is not a valid floating point value"))
        << ComputeModeName(mode);
}

TEST(ComputeCommand, PriceBeyondDoubleRangeOverflowsWhenStored) {
  EXPECT_TRUE(Raises<EOverflow>([] { RunCompute(ComputeMode::Decline, "", "1e400", kTwoRatios); },
                                "Floating point overflow"));
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Decline, "", "1e5000", kTwoRatios); },
                                    "'1e5000' is not a valid floating point value"));
}

TEST(ComputeCommand, RatioErrorsComeAfterPriceConversion) {
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Rise, "x", "", {"abc"}); },
                                    "'x' is not a valid floating point value"));
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Rise, "10", "", {"0.5", "abc"}); },
                                    "'abc' is not a valid floating point value"));
}

TEST(ComputeCommand, ModesUseTheirBuilders) {
  const RatioList list = {"0.5", "1.5"};
  EXPECT_EQ(RunCompute(ComputeMode::Rise, "10", "20", list).levels, (LevelTable{15, 0}));
  EXPECT_EQ(RunCompute(ComputeMode::Decline, "10", "20", list).levels, (LevelTable{10, 0}));
  EXPECT_EQ(RunCompute(ComputeMode::Resistance, "10", "20", list).levels, (LevelTable{15, 25}));
  EXPECT_EQ(RunCompute(ComputeMode::Support, "10", "20", list).levels, (LevelTable{15, 5}));
}

TEST(ComputeCommand, InitialBoxTextsGiveZeroEverywhere) {
  const RatioList list = SplitRatioText(DefaultRatioText);
  for (ComputeMode mode : kComputeModes) {
    const ComputeOutcome outcome = RunCompute(mode, "0", "0", list);
    EXPECT_EQ(outcome.levels, LevelTable(list.size(), 0.0)) << ComputeModeName(mode);
  }
}

TEST(ComputeCommand, EmptyListStillChecksAndConverts) {
  EXPECT_EQ(RunCompute(ComputeMode::Support, "", "20", {}).emptyBoxMessage, kEmptyBothMessage);
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Support, "1", "abc", {}); },
                                    "'abc' is not a valid floating point value"));
  const ComputeOutcome outcome = RunCompute(ComputeMode::Support, "1", "2", {});
  EXPECT_FALSE(outcome.emptyBoxMessage);
  EXPECT_TRUE(outcome.levels.empty());
}

TEST(ComputeCommand, PriceTextsFollowTheDecimalSeparator) {
  const testing::ScopedNumberFormat commaDecimals(",", ".");
  EXPECT_EQ(RunCompute(ComputeMode::Rise, "2,5", "", {"1/2"}).levels, (LevelTable{3.75}));
  EXPECT_TRUE(Raises<EConvertError>([] { RunCompute(ComputeMode::Rise, "2.5", "", {"1/2"}); },
                                    "'2.5' is not a valid floating point value"));
}

TEST(ComputeModeNames, RoundTripAndRejectOthers) {
  for (ComputeMode mode : kComputeModes) EXPECT_EQ(ComputeModeFromName(ComputeModeName(mode)), mode);
  EXPECT_EQ(ComputeModeName(ComputeMode::Resistance), "resistance");
  EXPECT_EQ(ComputeButtonCaption(ComputeMode::Support), "回调支撑");
  EXPECT_FALSE(ComputeModeFromName("Rise"));
  EXPECT_FALSE(ComputeModeFromName(""));
  EXPECT_FALSE(ComputeModeFromName("rise "));
}

}  // namespace
}  // namespace tavimo
