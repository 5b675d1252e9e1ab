// Generated round trips: a double written with 18 significant digits and
// scanned back is the same double.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/FloatFaults.h"
#include "runtime/NumberFormat.h"
#include "runtime/NumberParse.h"

namespace tavimo {
namespace {

const NumberFormatSettings kPoint{".", ","};

// Returns the text when the round trip fails, empty when it holds.
std::string RoundTripFailure(double value) {
  const std::string text = FormatFloatGeneral(value, 18, kPoint);
  long double back;
  if (!ScanFloatText(text, back, kPoint)) return text + " (rejected)";
  if (StoreAsDouble(back) != value) return text;
  return std::string();
}

TEST(RoundTrip, RandomDoublesSurviveEighteenDigits) {
  std::mt19937_64 generator(20261208);
  int tested = 0;
  int failures = 0;
  while (tested < 300000) {
    const std::uint64_t bits = generator();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    ++tested;
    const std::string failure = RoundTripFailure(value);
    if (!failure.empty() && ++failures <= 10) ADD_FAILURE() << value << " came back from " << failure;
  }
  EXPECT_EQ(failures, 0) << "of " << tested;
}

TEST(RoundTrip, BoundaryDoublesSurviveEighteenDigits) {
  std::vector<double> values = {DBL_MAX,        -DBL_MAX,  DBL_MIN,        DBL_TRUE_MIN, -DBL_TRUE_MIN,
                                0.1,            1.0 / 3.0, 2.0 / 3.0,      0.618,        1.809,
                                9007199254740993.0, 4503599627370497.5, 5e-324, 2.2250738585072009e-308};
  for (int e = -323; e <= 308; ++e) {
    const double power = std::pow(10.0, e);
    values.push_back(power);
    values.push_back(std::nextafter(power, 0.0));
    values.push_back(std::nextafter(power, INFINITY));
  }
  for (int e = -1074; e <= 1023; ++e) {
    values.push_back(std::ldexp(1.0, e));
    values.push_back(std::nextafter(std::ldexp(1.0, e), 0.0));
  }
  for (const double value : values) {
    const std::string failure = RoundTripFailure(value);
    EXPECT_TRUE(failure.empty()) << value << " came back from " << failure;
  }
}

TEST(RoundTrip, PricesWithThreeDecimalsReadBackToTheirText) {
  // What the chart writes to three decimals scans back to a value that writes the same text.
  std::mt19937_64 generator(7);
  std::uniform_int_distribution<long long> thousandths(-100000000, 100000000);
  for (int i = 0; i < 50000; ++i) {
    const double value = static_cast<double>(thousandths(generator)) / 1000.0;
    const std::string text = FormatFloatPattern("0.###", value, kPoint);
    long double back;
    ASSERT_TRUE(ScanFloatText(text, back, kPoint)) << text;
    ASSERT_EQ(FormatFloatPattern("0.###", StoreAsDouble(back), kPoint), text);
    ASSERT_EQ(StoreAsDouble(back), value) << text;
  }
}

}  // namespace
}  // namespace tavimo
