// Rounding levels to a price tick: the exact quotient, ties, the three
// roundings, the tick's own digits in the text, and the limits.

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "CalcTestSupport.h"
#include "ParamText.h"
#include "calc/ComputeCommand.h"
#include "calc/PriceTick.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

struct TickCase {
  const char* tick;
  double level;
  TickRounding rounding;
  std::int64_t n;
  double rounded;
  const char* text;
};

void PrintTo(const TickCase& c, std::ostream* out) {
  *out << "{tick " << param_text::Quoted(c.tick) << ", " << param_text::Number(c.level) << " "
       << TickRoundingName(c.rounding) << " -> " << c.n << " ticks, " << param_text::Number(c.rounded) << ", "
       << param_text::Quoted(c.text) << "}";
}

// Tick, level and rounding: "0Dot05_11Dot91_up".
std::string TickName(const ::testing::TestParamInfo<TickCase>& info) {
  return param_text::Join({param_text::Name(info.param.tick), param_text::Name(info.param.level),
                           std::string(TickRoundingName(info.param.rounding))});
}

class TickRoundingTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickRoundingTest, RoundsTheExactQuotient) {
  const TickCase& c = GetParam();
  const PriceTick tick(c.tick);
  EXPECT_EQ(tick.Multiple(c.level, c.rounding), c.n);
  const TickedLevel result = tick.Round(c.level, c.rounding);
  EXPECT_EQ(result.level, c.rounded);
  EXPECT_EQ(result.text, c.text);
}

constexpr auto kNearest = TickRounding::Nearest;
constexpr auto kUp = TickRounding::Up;
constexpr auto kDown = TickRounding::Down;

INSTANTIATE_TEST_SUITE_P(
    Cases, TickRoundingTest,
    ::testing::Values(
        // Exact ties go away from zero, on either side of it.
        TickCase{"0.25", 0.125, kNearest, 1, 0.25, "0.25"}, TickCase{"0.25", -0.125, kNearest, -1, -0.25, "-0.25"},
        TickCase{"0.25", 0.375, kNearest, 2, 0.5, "0.50"},
        // Up is the ceiling and down the floor, also below zero.
        TickCase{"0.25", -0.125, kUp, 0, 0.0, "0.00"}, TickCase{"0.25", -0.125, kDown, -1, -0.25, "-0.25"},
        TickCase{"0.05", 11.91, kUp, 239, 11.95, "11.95"}, TickCase{"0.05", 11.91, kDown, 238, 11.9, "11.90"},
        TickCase{"0.05", -11.91, kUp, -238, -11.9, "-11.90"}, TickCase{"0.05", -11.91, kDown, -239, -11.95, "-11.95"},
        TickCase{"0.05", 15.0, kUp, 300, 15.0, "15.00"}, TickCase{"0.05", 15.0, kDown, 300, 15.0, "15.00"},
        // The double 0.425 lies below the decimal tie: 8.4999..., although
        // 0.425 / 0.05 evaluated in doubles gives exactly 8.5.
        TickCase{"0.05", 0.425, kNearest, 8, 0.4, "0.40"},
        // Whole ticks, grouping, and the tick's shortest form deciding the decimals.
        TickCase{"5", 12347.5, kNearest, 2470, 12350.0, "12,350"}, TickCase{"5", -2.5, kNearest, -1, -5.0, "-5"},
        TickCase{"5", 2.4, kNearest, 0, 0.0, "0"}, TickCase{"5e2", 1234.0, kNearest, 2, 1000.0, "1,000"},
        TickCase{"0.010", 16.2, kNearest, 1620, 16.2, "16.20"},
        TickCase{" +0.0001 ", 1.23456, kNearest, 12346, 1.2346, "1.2346"},
        // n x T exactly halfway between two doubles: the even one.
        TickCase{"3", 9007199254740994.0, kNearest, 3002399751580331, 9007199254740992.0, "9,007,199,254,740,993"},
        // Ticks beyond 128-bit arithmetic: a tiny one and one of 23 digits.
        TickCase{"1e-25", 1e-10, kNearest, 1000000000000000, 0x1.b7cdfd9d7bdbbp-34, "0.0000000001000000000000000"},
        TickCase{"1e-25", 1e-10, kUp, 1000000000000001, 0x1.b7cdfd9d7bdc2p-34, "0.0000000001000000000000001"},
        TickCase{"0.12345678901234567890123", 1000.0, kNearest, 8100, 0x1.f3ffffb480a5bp+9,
                 "999.99999099999999909996300"},
        TickCase{"0.12345678901234567890123", -1000.0, kDown, -8101, -0x1.f40fcd231c492p+9,
                 "-1,000.12344778901234477886423"},
        // 2000000000000002048 / 2.00000000000000205 = 10^18 - 0.999999999999999: below 10^18 down and nearest.
        TickCase{"2.00000000000000205", 2000000000000002048.0, kNearest, 999999999999999999, 0x1.bc16d674ec808p+60,
                 "2,000,000,000,000,002,047.99999999999999795"}),
    TickName);

TEST(PriceTick, ResistanceOfTenToTwentyOnTheNickel) {
  const ComputeOutcome outcome = RunCompute(ComputeMode::Resistance, "10", "20", SplitRatioText(DefaultRatioText));
  const PriceTick tick("0.05");
  std::string texts;
  for (double level : outcome.levels) texts += tick.Round(level, TickRounding::Nearest).text + " ";
  EXPECT_EQ(texts, "11.90 12.35 13.35 13.80 15.00 16.20 16.65 18.10 20.00 21.90 22.35 23.80 25.00 26.20 28.10 30.00 ");
  EXPECT_EQ(tick.Round(outcome.levels[2], TickRounding::Nearest).level, 13.35);
}

TEST(PriceTick, MultipleOfTenToTheEighteenIsTooLarge) {
  EXPECT_TRUE(
      Raises<EConvertError>([] { PriceTick("1").Multiple(1e18, TickRounding::Down); }, "Level too large for tick 1."));
  EXPECT_EQ(PriceTick("1").Multiple(999999999999999872.0, TickRounding::Nearest), 999999999999999872);
  // Only rounding up reaches 10^18 here.
  EXPECT_TRUE(
      Raises<EConvertError>([] { PriceTick("2.00000000000000205").Multiple(2000000000000002048.0, TickRounding::Up); },
                            "Level too large for tick 2.00000000000000205."));
  EXPECT_TRUE(Raises<EConvertError>([] { PriceTick("1e-300").Multiple(1.0, TickRounding::Nearest); },
                                    "Level too large for tick 1e-300."));
  EXPECT_TRUE(Raises<EConvertError>([] { PriceTick("0.01").Multiple(-DBL_MAX, TickRounding::Up); },
                                    "Level too large for tick 0.01."));
}

TEST(PriceTick, MultipleBeyondTheDoubleRangeOverflows) {
  EXPECT_TRUE(
      Raises<EOverflow>([] { PriceTick("1e308").Round(1.7e308, TickRounding::Nearest); }, "Floating point overflow"));
  EXPECT_EQ(PriceTick("1e400").Round(1e308, TickRounding::Nearest).level, 0.0);
}

TEST(PriceTick, ZeroNegativeAndUnreadableTicksAreInvalid) {
  for (const char* text : {"0", "0.000", "-0.05", "-0", "abc", "", "1,5", "0.05x", "1e5000"})
    EXPECT_TRUE(Raises<EConvertError>([&] { PriceTick tick(text); }, std::string("Invalid tick '") + text + "'."))
        << text;
  // A control character is quoted as an escape, never raw.
  EXPECT_TRUE(Raises<EConvertError>([] { PriceTick tick("\t0.05\r"); }, "Invalid tick '\\x090.05\\r'."));
}

TEST(PriceTick, ReadsAndWritesTheCurrentSeparators) {
  testing::ScopedNumberFormat format(",", ".");
  const PriceTick tick("0,05");
  EXPECT_EQ(tick.Decimals(), 2);
  EXPECT_EQ(tick.Round(1234.56, TickRounding::Nearest).text, "1.234,55");
  EXPECT_TRUE(Raises<EConvertError>([] { PriceTick tick("0.05"); }, "Invalid tick '0.05'."));
  NumberFormatSettings noGrouping{".", ""};
  EXPECT_EQ(PriceTick("0.5", noGrouping).Round(-1234567.0, TickRounding::Nearest, noGrouping).text, "-1234567.0");
}

TEST(PriceTick, RoundingNamesReadBack) {
  for (TickRounding rounding : {TickRounding::Nearest, TickRounding::Up, TickRounding::Down})
    EXPECT_EQ(TickRoundingFromName(TickRoundingName(rounding)), rounding);
  EXPECT_FALSE(TickRoundingFromName("ceiling"));
}

}  // namespace
}  // namespace tavimo
