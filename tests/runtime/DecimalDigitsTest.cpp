// The decimal-digit form shared by the formatters: special encodings, the
// 18-digit rounding and the digit limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "ParamText.h"
#include "runtime/DecimalDigits.h"
#include "runtime/ExtendedBits.h"
#include "runtime/NumberParse.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {
namespace {

struct DigitsRow {
  long double value;
  int precision;
  int decimals;
  int exponent;
  bool negative;
  std::string digits;
};

constexpr int kAll = 9999;

void PrintTo(const DigitsRow& row, std::ostream* os) {
  *os << "{" << param_text::Number(row.value) << ", precision " << row.precision << ", decimals "
      << (row.decimals == kAll ? std::string("all") : std::to_string(row.decimals)) << " -> exponent " << row.exponent
      << (row.negative ? ", negative, " : ", ") << param_text::Quoted(row.digits) << "}";
}

// Value, precision and decimals: "0Dot1_p17_all".
std::string DigitsName(const ::testing::TestParamInfo<DigitsRow>& info) {
  const DigitsRow& row = info.param;
  return param_text::Join({param_text::Name(row.value), "p" + std::to_string(row.precision),
                           row.decimals == kAll ? std::string("all") : "d" + std::to_string(row.decimals)});
}

class DecimalDigitsOf : public ::testing::TestWithParam<DigitsRow> {};

TEST_P(DecimalDigitsOf, GivesExponentSignAndDigits) {
  const DigitsRow& row = GetParam();
  const DecimalDigits d = ToDecimalDigits(row.value, row.precision, row.decimals);
  EXPECT_EQ(d.exponent, row.exponent);
  EXPECT_EQ(d.negative, row.negative);
  EXPECT_EQ(std::string(d.digits), row.digits);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DecimalDigitsOf,
    ::testing::Values(DigitsRow{0.0L, 18, kAll, 0, false, ""}, DigitsRow{-0.0L, 18, kAll, 0, false, ""},
                      DigitsRow{1.0L, 18, kAll, 1, false, "1"}, DigitsRow{-2.5L, 18, kAll, 1, true, "25"},
                      DigitsRow{0.5L, 18, kAll, 0, false, "5"}, DigitsRow{1234.5L, 18, 3, 4, false, "12345"},
                      DigitsRow{999.9996, 18, 3, 4, false, "1"}, DigitsRow{9.9999L, 2, kAll, 2, false, "1"},
                      DigitsRow{1.0L / 3, 15, kAll, 0, false, "333333333333333"},
                      DigitsRow{2.0L / 3, 18, kAll, 0, false, "666666666666666667"},
                      DigitsRow{123456789012345678.0L, 18, kAll, 18, false, "123456789012345678"},
                      DigitsRow{9223372036854775808.0L, 18, kAll, 19, false, "922337203685477581"},
                      DigitsRow{0.0004, 18, 3, -3, false, ""}, DigitsRow{-0.0004, 18, 3, -3, false, ""},
                      DigitsRow{0.00004, 18, 3, 0, false, ""}, DigitsRow{-0.0005, 18, 3, -2, true, "1"},
                      DigitsRow{12345.0L, 0, kAll, 5, false, ""}, DigitsRow{56789.0L, 0, kAll, 6, false, "1"},
                      // Doubles carry their binary error into the 17th and 18th digits.
                      DigitsRow{1e300, 18, kAll, 301, false, "100000000000000005"},
                      DigitsRow{1e-300, 17, kAll, -299, false, "1"},
                      DigitsRow{0.1, 18, kAll, 0, false, "100000000000000006"},
                      DigitsRow{0.1, 17, kAll, 0, false, "10000000000000001"},
                      DigitsRow{0.1, 16, kAll, 0, false, "1"}),
    DigitsName);

TEST(DecimalDigits, DenormalExtendedValuesCountAsZero) {
  const DecimalDigits d = ToDecimalDigits(ExtendedFromBits({0x0000000000001234u, 0x8000}), 18, kAll);
  EXPECT_EQ(d.exponent, 0);
  EXPECT_FALSE(d.negative);
  EXPECT_STREQ(d.digits, "");
}

TEST(DecimalDigits, InfinityKeepsItsSignAndNaNHasNone) {
  const struct {
    long double value;
    std::int16_t exponent;
    bool negative;
  } rows[] = {
      {std::numeric_limits<long double>::infinity(), DecimalDigits::kInfinity, false},
      {-std::numeric_limits<long double>::infinity(), DecimalDigits::kInfinity, true},
      {std::numeric_limits<long double>::quiet_NaN(), DecimalDigits::kNaN, false},
      {-std::numeric_limits<long double>::quiet_NaN(), DecimalDigits::kNaN, false},
      // Encodings with the integer bit clear count as infinities.
      {ExtendedFromBits({0x4000000000000000u, 0x7FFF}), DecimalDigits::kInfinity, false},
      {ExtendedFromBits({0x0000000000000001u, 0xFFFF}), DecimalDigits::kInfinity, true},
      {ExtendedFromBits({0xC000000000000000u, 0xFFFF}), DecimalDigits::kNaN, false},
  };
  for (const auto& row : rows) {
    const DecimalDigits d = ToDecimalDigits(row.value, 18, kAll);
    EXPECT_EQ(d.exponent, row.exponent);
    EXPECT_EQ(d.negative, row.negative);
    EXPECT_STREQ(d.digits, "");
  }
}

// Across the whole extended range the digits are well formed and, read back
// as 0.d1d2... x 10^E, agree with the value to about 18 digits.
TEST(DecimalDigits, EveryBinaryExponentGivesWellFormedDigits) {
  for (int e2 = -16382; e2 <= 16383; ++e2) {
    for (const long double factor : {1.0L, 1.5L, 2.0L - 0x1p-63L}) {
      const long double value = std::ldexp(factor, e2);
      const DecimalDigits d = ToDecimalDigits(value, 18, kAll);
      const std::size_t length = std::strlen(d.digits);
      ASSERT_GE(length, 1u) << e2;
      ASSERT_LE(length, 18u) << e2;
      ASSERT_NE(d.digits[0], '0') << "leading zero at 2^" << e2;
      ASSERT_NE(d.digits[length - 1], '0') << "trailing zero at 2^" << e2;
      long double back;
      const std::string text = std::string("0.") + d.digits + "e" + std::to_string(d.exponent);
      ASSERT_TRUE(ScanFloatText(text, back, NumberFormatSettings{".", ","})) << text;
      ASSERT_LT(std::fabs(back / value - 1.0L), 1e-17L) << "2^" << e2 << " x " << static_cast<double>(factor)
                                                         << " gave " << text;
    }
  }
}


// The 18 digits as the unit computes them: scale by 10^k, round to an
// integer, and correct the exponent estimate once, in extended arithmetic
// with nearest rounding (the default state). The digits the formatters
// start from must be these, whichever way they are computed.
std::string UnitDigits(long double magnitude, int& exponent) {
  const int e2 = std::ilogb(magnitude);
  exponent = ((e2 * 19728) >> 16) + 1;
  long long n = std::llrint(ScaleByPowerOfTen(magnitude, 18 - exponent));
  if (n >= 1000000000000000000) {
    n = std::llrint(static_cast<long double>(n) / 10.0L);
    ++exponent;
  } else if (n < 100000000000000000) {
    --exponent;
    n = std::llrint(ScaleByPowerOfTen(magnitude, 18 - exponent));
  }
  std::string digits = std::to_string(n);
  return digits.substr(0, digits.find_last_not_of('0') + 1);
}

// Seeded magnitudes from 10^-12 to 10^21, with ties made on purpose: products
// by 10^k that lie exactly halfway between two 64-bit values (the first
// rounding), scaled values exactly halfway between two integers (the
// second), and 19-digit integers ending in 5 (the correction by ten).
TEST(DecimalDigits, SeededAndHalfwayMagnitudesGiveTheUnitsDigits) {
  std::mt19937_64 generator(20261210);
  std::vector<long double> values;
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t significand = generator() | (std::uint64_t(1) << 63);
    values.push_back(std::ldexp(static_cast<long double>(significand), static_cast<int>(generator() % 112) - 103));
    // An odd integer of 20 to 62 bits over 2^j: the scaled value often ends in exactly one half.
    const std::uint64_t odd = (generator() >> (2 + generator() % 43)) | 1 | (std::uint64_t(1) << 20);
    values.push_back(std::ldexp(static_cast<long double>(odd), -static_cast<int>(1 + generator() % 60)));
    values.push_back(static_cast<long double>(1000000000000000000u + generator() % 8000000000000000000u) / 10 * 10 + 5);
  }
  for (int k = 1; k <= 27; ++k) {
    // significand x 5^k ends in 1 followed by zeros just below its top 64 bits.
    std::uint64_t five = 1;
    for (int j = 0; j < k; ++j) five *= 5;
    std::uint64_t inverse = five;  // of 5^k modulo 2^64, by Newton's steps
    for (int step = 0; step < 6; ++step) inverse *= 2 - five * inverse;
    const int fiveBits = 64 - __builtin_clzll(five);
    for (int trial = 0; trial < 200; ++trial) {
      for (const int shift : {fiveBits - 1, fiveBits}) {
        const std::uint64_t low = (std::uint64_t(1) << (shift - 1)) * inverse & ((std::uint64_t(1) << shift) - 1);
        const std::uint64_t significand = low | (generator() << shift) | (std::uint64_t(1) << 63);
        const unsigned __int128 product = static_cast<unsigned __int128>(significand) * five;
        const int bits = 128 - __builtin_clzll(static_cast<std::uint64_t>(product >> 64));
        if (bits - 64 != shift) continue;
        for (int e2 = -120; e2 <= 120; ++e2)
          if (18 - (((e2 * 19728) >> 16) + 1) == k) values.push_back(std::ldexp(static_cast<long double>(significand), e2 - 63));
      }
    }
  }
  for (const long double value : values) {
    int exponent;
    const std::string digits = UnitDigits(value, exponent);
    const DecimalDigits d = ToDecimalDigits(value, 18, kAll);
    ASSERT_EQ(d.digits, digits) << param_text::Number(value);
    ASSERT_EQ(d.exponent, exponent) << param_text::Number(value);
  }
}

}  // namespace
}  // namespace tavimo
