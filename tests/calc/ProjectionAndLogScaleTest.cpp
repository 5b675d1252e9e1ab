// The three-point projections and the log-scale levels: formulas, order of
// operations, accuracy against a 113-bit reference, and the commands' checks.

#include <gtest/gtest.h>
// The 113-bit reference comes with GCC; other compilers skip the accuracy test.
#if __has_include(<quadmath.h>)
#include <quadmath.h>
#define TAVIMO_HAVE_QUADMATH 1
#endif

#include <cfloat>
#include <cmath>
#include <random>
#include <string>

#include "CalcTestSupport.h"
#include "calc/ComputeCommand.h"
#include "calc/LevelTable.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

TEST(Projection, DifferenceThenRatioThenThirdPriceInExtendedPrecision) {
  // d = high - low, p = r x d, then C + p or C - p, rounded once. Doubles
  // give ...dcp+7 and ...42p+7; C + (r high - r low) gives ...dcp+7 as well.
  const RatioList ratios = {"0.618"};
  EXPECT_EQ(BuildProjectionUpTable(ratios, 471.48, 436.21, 149.98)[0], 0x1.005dc486ad2dbp+7);
  EXPECT_EQ(BuildProjectionDownTable(ratios, 471.48, 436.21, 149.98)[0], 0x1.578dc0980b243p+7);
  EXPECT_EQ(BuildProjectionUpTable({"0", "1", "2"}, 10, 20, 12), (LevelTable{12, 22, 32}));
  EXPECT_EQ(BuildProjectionDownTable({"0", "1", "2"}, 10, 20, 12), (LevelTable{12, 2, -8}));
}

TEST(Projection, CommandChecksHighLowCThenConvertsLowHighC) {
  const RatioList ratios = {"0.5"};
  for (ComputeMode mode : {ComputeMode::ProjectionUp, ComputeMode::ProjectionDown}) {
    EXPECT_EQ(RunCompute({mode, "x", "y", "", LevelScale::Linear}, ratios).emptyBoxMessage, kEmptyThreeMessage);
    EXPECT_EQ(RunCompute({mode, "", "y", "z", LevelScale::Linear}, ratios).emptyBoxMessage, kEmptyThreeMessage);
    EXPECT_EQ(RunCompute(mode, "10", "20", ratios).emptyBoxMessage, kEmptyThreeMessage);
    EXPECT_TRUE(Raises<EConvertError>(
        [&] {
          RunCompute({mode, "x", "y", "z", LevelScale::Linear}, ratios);
        },
        "'x' is not a valid floating point value"));
    EXPECT_TRUE(Raises<EConvertError>(
        [&] {
          RunCompute({mode, "1", "y", "z", LevelScale::Linear}, ratios);
        },
        "'y' is not a valid floating point value"));
    EXPECT_TRUE(Raises<EConvertError>(
        [&] {
          RunCompute({mode, "1", "2", "z", LevelScale::Linear}, ratios);
        },
        "'z' is not a valid floating point value"));
  }
  EXPECT_EQ(RunCompute({ComputeMode::ProjectionUp, "10", "20", "12", LevelScale::Linear}, ratios).levels,
            (LevelTable{17}));
}

TEST(Projection, NamesReadBackAndTheWindowKeepsFourModes) {
  EXPECT_EQ(ComputeModeFromName("projection-up"), ComputeMode::ProjectionUp);
  EXPECT_EQ(ComputeModeName(ComputeMode::ProjectionDown), "projection-down");
  EXPECT_EQ(kComputeModes.size(), 4u);
  for (ComputeMode mode : kComputeModes) EXPECT_FALSE(IsProjectionMode(mode));
}

LevelTable LogTable(ComputeMode mode, const RatioList& ratios, double low, double high, double from = 0.0) {
  return BuildLevelTable(mode, LevelScale::Log, ratios, {low, high, from});
}

TEST(LogScale, EqualLowAndHighGiveTheAnchorForEveryRatio) {
  const RatioList ratios = {"0", "0.191", "1/3", "0.618", "1", "2", "-0.5", "1000", "1e-300"};
  for (double price : {0.01, 7.3, 12345.678, DBL_MIN, DBL_MAX}) {
    EXPECT_EQ(LogTable(ComputeMode::Resistance, ratios, price, price), LevelTable(ratios.size(), price)) << price;
    EXPECT_EQ(LogTable(ComputeMode::Support, ratios, price, price), LevelTable(ratios.size(), price)) << price;
    EXPECT_EQ(LogTable(ComputeMode::ProjectionUp, ratios, price, price, 3.0), LevelTable(ratios.size(), 3.0));
  }
}

TEST(LogScale, LevelsOfTenToTwenty) {
  // low (high/low)^r and high (low/high)^r: the ratio 1 lands on the other
  // price, 0.5 on the geometric mean.
  const LevelTable resistance = LogTable(ComputeMode::Resistance, {"0", "0.5", "1", "2"}, 10, 20);
  EXPECT_EQ(resistance[0], 10.0);
  EXPECT_EQ(resistance[1], std::sqrt(200.0));
  EXPECT_EQ(resistance[2], 20.0);
  EXPECT_EQ(resistance[3], 40.0);
  EXPECT_EQ(LogTable(ComputeMode::Support, {"1", "2"}, 10, 20), (LevelTable{10, 5}));
  EXPECT_EQ(LogTable(ComputeMode::ProjectionUp, {"1", "-1"}, 10, 20, 3), (LevelTable{6, 1.5}));
  EXPECT_EQ(LogTable(ComputeMode::ProjectionDown, {"1"}, 10, 20, 3), (LevelTable{1.5}));
}

#ifdef TAVIMO_HAVE_QUADMATH
// The relative error of `level` against base (to/from)^r evaluated in
// 113-bit arithmetic, in units of 2^-53.
double ErrorInUnits(double level, double base, double from, double to, double r) {
  const __float128 change = (static_cast<__float128>(to) - from) / from;
  const __float128 logRatio = fabsq(change) <= 0.5 ? log1pq(change) : logq(static_cast<__float128>(to) / from);
  const __float128 exact = static_cast<__float128>(base) * expq(static_cast<__float128>(r) * logRatio);
  return static_cast<double>(fabsq((static_cast<__float128>(level) - exact) / exact) * 0x1p53);
}

TEST(LogScale, StoredLevelIsWithinTwoToTheMinusFiftyOfTheExactValue) {
  // The error grows with |r ln(high/low)|, largest when the level spans the
  // double range, and with r when the prices are close (where the quotient's
  // own rounding would be raised to the power r); 2^-50 is 8 units.
  struct Case {
    double low, high;
    const char* ratio;
  };
  const Case extremes[] = {{1e-300, 1e300, "0.999"},        {1e-300, 1e300, "0.618"},      {1e300, 1e-300, "0.999"},
                           {DBL_MIN, DBL_MAX, "0.809"},     {1e-307, 2e-307, "1000"},      {1, 1 + 0x1p-52, "1e15"},
                           {3, 3.0000000000000004, "1e15"}, {1.7e308, 1e-300, "1.0000001"}};
  for (const Case& c : extremes) {
    const double r = ParseRatio(c.ratio);
    const double level = LogTable(ComputeMode::Resistance, {c.ratio}, c.low, c.high)[0];
    EXPECT_LE(ErrorInUnits(level, c.low, c.low, c.high, r), 8.0) << c.low << " " << c.high << " " << c.ratio;
  }
  std::mt19937_64 random(14);
  std::uniform_real_distribution<double> exponent(-690.0, 690.0), ratio(-3.0, 3.0), nearby(-1e-3, 1e-3);
  double worst = 0.0;
  for (int i = 0; i < 20000; ++i) {
    const double low = std::exp(exponent(random));
    const double high = i % 2 == 0 ? std::exp(exponent(random)) : low * (1.0 + nearby(random));
    const double r = ratio(random);
    // Both levels must stay clear of the double range's ends and of denormals.
    const long double span = r * std::log(static_cast<long double>(high) / low);
    if (std::fabs(std::log(static_cast<long double>(low)) + span) > 700.0L ||
        std::fabs(std::log(static_cast<long double>(high)) - span) > 700.0L)
      continue;
    const LevelPrices prices{low, high, 0.0};
    worst =
        std::max(worst, ErrorInUnits(LevelFor(ComputeMode::Resistance, LevelScale::Log, r, prices), low, low, high, r));
    worst =
        std::max(worst, ErrorInUnits(LevelFor(ComputeMode::Support, LevelScale::Log, r, prices), high, high, low, r));
  }
  EXPECT_LE(worst, 8.0);
}
#endif

TEST(LogScale, CommandRefusesRiseAndDeclineAndPricesAtOrBelowZero) {
  const RatioList ratios = {"0.5"};
  for (ComputeMode mode : {ComputeMode::Rise, ComputeMode::Decline}) {
    EXPECT_FALSE(LogScaleApplies(mode));
    EXPECT_TRUE(Raises<EConvertError>(
        [&] {
          RunCompute({mode, "10", "20", "", LevelScale::Log}, ratios);
        },
        "Log scale applies to resistance, support and projections."));
  }
  const auto refused = [&](ComputeMode mode, const char* low, const char* high, const char* from) {
    return Raises<EConvertError>(
        [&] {
          RunCompute({mode, low, high, from, LevelScale::Log}, ratios);
        },
        "Log scale needs prices above zero.");
  };
  EXPECT_TRUE(refused(ComputeMode::Resistance, "0", "20", ""));
  EXPECT_TRUE(refused(ComputeMode::Support, "10", "-20", ""));
  EXPECT_TRUE(refused(ComputeMode::ProjectionUp, "10", "20", "-0"));
  // Conversion comes first: a bad text is reported as such.
  EXPECT_TRUE(Raises<EConvertError>(
      [&] {
        RunCompute({ComputeMode::Support, "-1", "x", "", LevelScale::Log}, ratios);
      },
      "'x' is not a valid floating point value"));
  // A level beyond the double range overflows as on a linear scale.
  EXPECT_TRUE(Raises<EOverflow>(
      [&] {
        RunCompute({ComputeMode::Resistance, "1", "1e300", "", LevelScale::Log}, {"2"});
      },
      "Floating point overflow"));
}

}  // namespace
}  // namespace tavimo
