// Decimal text to extended values: what is accepted, what each text gives,
// and that the floating-point state is left as it was.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "ParamText.h"
#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/NumberParse.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {
namespace {

const NumberFormatSettings kPoint{".", ","};
const NumberFormatSettings kComma{",", "."};

struct Accepted {
  std::string text;
  long double value;
};

void PrintTo(const Accepted& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.text) << ", " << param_text::Number(row.value) << "}";
}

class AcceptedFloatText : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedFloatText, GivesItsValue) {
  long double value = -12345.0L;
  ASSERT_TRUE(ScanFloatText(GetParam().text, value, kPoint)) << "'" << GetParam().text << "'";
  EXPECT_EQ(value, GetParam().value) << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedFloatText,
    ::testing::Values(Accepted{"10", 10.0L}, Accepted{"1e3", 1000.0L}, Accepted{" 12 ", 12.0L},
                      Accepted{"12 ", 12.0L}, Accepted{"   +7", 7.0L}, Accepted{"-.5", -0.5L}, Accepted{"5.", 5.0L},
                      Accepted{".", 0.0L}, Accepted{"+.", 0.0L}, Accepted{"-.", 0.0L}, Accepted{"1e", 1.0L},
                      Accepted{"1e+", 1.0L}, Accepted{"1E-", 1.0L}, Accepted{"1e0003", 1000.0L},
                      Accepted{"2.5E-3", 25.0L / 10000.0L}, Accepted{"1e-4999", 0.0L}, Accepted{"0e4999", 0.0L},
                      Accepted{"0.618", 618.0L / 1000.0L}, Accepted{"000012.5000", 12.5L},
                      Accepted{std::string("3.5\0garbage", 11), 3.5L}, Accepted{std::string("7\0", 2), 7.0L}),
    [](const ::testing::TestParamInfo<Accepted>& info) { return param_text::Name(info.param.text); });

class RejectedFloatText : public ::testing::TestWithParam<std::string> {};

TEST_P(RejectedFloatText, IsNotANumber) {
  long double value = 42.0L;
  EXPECT_FALSE(ScanFloatText(GetParam(), value, kPoint)) << "'" << GetParam() << "'";
  EXPECT_EQ(value, 42.0L) << "a rejected text must not change the output";
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedFloatText,
                         ::testing::Values("", " ", "-", "+", "\t12", "12\t", "12,5", "1,000", "1.5.2", "0x10",
                                           "$10", "INF", "NAN", "inf", "e5", "E", "--1", "+-1", "1 2", "1e5000",
                                           "1e4999", "1e1x", "1e++1", "abc", "1.0f", "12e 3", "- 1",
                                           std::string("\0" "12", 3)),
                         param_text::TextName());

// Powers beyond one table entry take two or three rounded factors, so they
// may miss the correctly rounded value by an ulp or two.
void ExpectNear(long double value, long double expected) {
  EXPECT_LT(std::fabs(value / expected - 1.0L), 0x1p-61L) << static_cast<double>(value);
}

TEST(FloatParse, ExponentReadingStopsOnceItReachesFiveHundred) {
  long double value;
  ASSERT_TRUE(ScanFloatText("1e500", value, kPoint));
  ExpectNear(value, 1e500L);
  ASSERT_TRUE(ScanFloatText("1e4000", value, kPoint));
  ExpectNear(value, 1e4000L);
  ASSERT_TRUE(ScanFloatText("1e-0499", value, kPoint));
  ExpectNear(value, 1e-499L);
  ASSERT_TRUE(ScanFloatText("1e31", value, kPoint));
  EXPECT_EQ(value, 1e31L) << "a single table entry is exact to the last bit";
  EXPECT_FALSE(ScanFloatText("1e50000", value, kPoint));
  EXPECT_FALSE(ScanFloatText("1e-5000", value, kPoint));
}

TEST(FloatParse, NegativeScaleOfFiveThousandOneHundredTwentyGivesZero) {
  // 121 fraction digits plus an exponent of -4999 make k = -5120.
  long double value = 1.0L;
  ASSERT_TRUE(ScanFloatText("0." + std::string(120, '0') + "1e-4999", value, kPoint));
  EXPECT_EQ(value, 0.0L);
  // A scale just short of that is a denormal, not zero.
  ASSERT_TRUE(ScanFloatText("0." + std::string(119, '0') + "1e-4820", value, kPoint));
  EXPECT_GT(value, 0.0L);
}

TEST(FloatParse, HugeValuesStayExtendedUntilStoredAsDouble) {
  const long double value = ParseFloatText("1e500", kPoint);
  EXPECT_TRUE(std::isfinite(value));
  try {
    StoreAsDouble(value);
    FAIL() << "no overflow raised";
  } catch (const EOverflow& e) {
    EXPECT_EQ(e.Message(), "Floating point overflow");
  }
}

TEST(FloatParse, TooManyDigitsOverflowIsRejected) {
  long double value;
  EXPECT_FALSE(ScanFloatText(std::string(5000, '9'), value, kPoint));
  EXPECT_TRUE(ScanFloatText(std::string(4000, '9'), value, kPoint));
  // The digits overflow whatever scale follows, even one that would make
  // any finite value zero.
  for (const int ones : {5119, 5120, 6000})
    EXPECT_FALSE(ScanFloatText("0." + std::string(static_cast<std::size_t>(ones), '1'), value, kPoint)) << ones;
  EXPECT_FALSE(ScanFloatText("0." + std::string(5000, '1') + "e-200", value, kPoint));
}

// The scan's value by its definition: every digit accumulated as
// M = M x 10 + d in extended precision, then scaled by the table powers.
long double ReferenceValue(const std::string& digits, int fractionDigits, int exponent) {
  long double m = 0.0L;
  for (char c : digits) m = m * 10.0L + (c - '0');
  return ScaleByPowerOfTen(m, exponent - fractionDigits);
}

void ExpectGeneratedTextsMatch(unsigned seed, int count, int maxLength, int maxExponent) {
  std::mt19937 generator(seed);
  for (int i = 0; i < count; ++i) {
    const int length = std::uniform_int_distribution<int>(1, maxLength)(generator);
    std::string digits;
    for (int d = 0; d < length; ++d) digits.push_back(static_cast<char>('0' + generator() % 10));
    const int point = std::uniform_int_distribution<int>(0, length)(generator);
    const int exponent = std::uniform_int_distribution<int>(-maxExponent, maxExponent)(generator);
    const std::string text = digits.substr(0, static_cast<std::size_t>(point)) + "." +
                             digits.substr(static_cast<std::size_t>(point)) + "e" + std::to_string(exponent);
    long double value;
    ASSERT_TRUE(ScanFloatText(text, value, kPoint)) << text;
    ASSERT_EQ(value, ReferenceValue(digits, length - point, exponent)) << text;
  }
}

TEST(FloatParse, GeneratedTextsGiveTheAccumulatedValue) { ExpectGeneratedTextsMatch(4107, 20000, 40, 400); }

// Up to 18 digits within 19 decimal places: the range typed prices and ratios fall in.
TEST(FloatParse, GeneratedShortTextsGiveTheAccumulatedValue) { ExpectGeneratedTextsMatch(5, 300000, 18, 20); }

// Plain decimals take a one-pass path; on every shape near it (up to 22
// digits, a sign, the separator anywhere or twice, either separator) it
// must give what the general scan gives, bit for bit and sign included.
TEST(FloatParse, PlainDecimalsReadInOnePassAsTheGeneralScanReadsThem) {
  std::mt19937 generator(2718);
  const NumberFormatSettings comma{",", "."};
  for (int i = 0; i < 300000; ++i) {
    const NumberFormatSettings& settings = i % 5 == 0 ? comma : kPoint;
    std::string text = generator() % 4 == 0 ? "-" : "";
    const int length = std::uniform_int_distribution<int>(0, 22)(generator);
    const int point = std::uniform_int_distribution<int>(-1, length)(generator);
    for (int d = 0; d <= length; ++d) {
      if (d == point) text += generator() % 50 == 0 ? "," : settings.decimalSeparator;
      if (d < length) text.push_back(static_cast<char>('0' + (generator() % 3 == 0 ? 0 : generator() % 10)));
    }
    if (generator() % 100 == 0) text += settings.decimalSeparator;
    long double fast = 1, general = 2;
    const bool read = ScanFloatText(text, fast, settings);
    ASSERT_EQ(read, detail::ScanFloatTextGeneral(text, general, settings)) << text;
    if (!read) continue;
    ASSERT_EQ(fast, general) << text;
    ASSERT_EQ(std::signbit(fast), std::signbit(general)) << text;
  }
}

// A text read straight to a double must give what the cast of its extended
// value gives: on texts near the midpoints of two doubles (where rounding
// twice differs from rounding once), on plain prices, and on the shapes the
// one-pass path refuses.
TEST(FloatParse, TextsReadToADoubleGiveTheCastOfTheirExtendedValue) {
  std::mt19937_64 generator(1618);
  const auto expectCast = [](const std::string& text) {
    long double extended = 0;
    double direct = 1;
    const bool read = ScanDoubleText(text, direct, kPoint);
    const bool inRange = ScanFloatText(text, extended, kPoint) &&
                         std::fabs(extended) <= static_cast<long double>(std::numeric_limits<double>::max());
    ASSERT_EQ(read, inRange) << text;
    if (!read) return;
    const double cast = static_cast<double>(extended);
    ASSERT_EQ(std::memcmp(&direct, &cast, sizeof cast), 0) << text;
  };
  char buffer[64];
  for (int i = 0; i < 200000; ++i) {
    const double d = std::ldexp(static_cast<double>(generator() >> 11), -static_cast<int>(generator() % 70) - 20);
    const long double midpoint = (static_cast<long double>(d) + std::nextafter(d, 1e300)) / 2;
    std::snprintf(buffer, sizeof buffer, "%.*Lf", static_cast<int>(generator() % 8) + 12, midpoint);
    expectCast(buffer);
    std::snprintf(buffer, sizeof buffer, "%s%llu.%0*llu", generator() % 4 == 0 ? "-" : "",
                  static_cast<unsigned long long>(generator() % 100000), static_cast<int>(generator() % 6),
                  static_cast<unsigned long long>(generator() % 1000000));
    expectCast(buffer);
  }
  for (const char* text : {"0", "-0", "1e3", " 2.5", "1.7976931348623158e308", "1.8e308", "4e-320", "x", "",
                           "123456789012345678901", ".5", "5."})
    expectCast(text);
}

TEST(FloatParse, NegativeZeroKeepsItsSign) {
  long double value;
  ASSERT_TRUE(ScanFloatText("-0", value, kPoint));
  EXPECT_TRUE(std::signbit(value));
}

TEST(FloatParse, CommaDecimalLocaleSwapsWhatIsAccepted) {
  long double value;
  ASSERT_TRUE(ScanFloatText("12,5", value, kComma));
  EXPECT_EQ(value, 12.5L);
  EXPECT_FALSE(ScanFloatText("0.5", value, kComma));
  EXPECT_THROW(ParseFloatText("0.191", kComma), EConvertError);
}

TEST(FloatParse, MultiByteDecimalSeparator) {
  const NumberFormatSettings arabic{"\xd9\xab", "\xd9\xac"};  // U+066B, U+066C
  long double value;
  ASSERT_TRUE(ScanFloatText("3\xd9\xab" "25", value, arabic));
  EXPECT_EQ(value, 3.25L);
  EXPECT_FALSE(ScanFloatText("3\xd9", value, arabic));
  EXPECT_FALSE(ScanFloatText("3.25", value, arabic));
}

struct Written {
  std::string text;
  NumberFormatSettings settings;
  bool negative;
  std::string digits;
  int exponent;
};

class WrittenDecimalText : public ::testing::TestWithParam<Written> {};

TEST_P(WrittenDecimalText, KeepsTheDigitsAsWritten) {
  const Written& w = GetParam();
  long double value = 0.0L;
  WrittenDecimal out;
  ASSERT_TRUE(ScanWrittenDecimal(w.text, value, out, w.settings)) << "'" << w.text << "'";
  EXPECT_EQ(out.negative, w.negative) << "'" << w.text << "'";
  EXPECT_EQ(out.digits, w.digits) << "'" << w.text << "'";
  EXPECT_EQ(out.exponent, w.exponent) << "'" << w.text << "'";
  long double scanned = 0.0L;
  ASSERT_TRUE(ScanFloatText(w.text, scanned, w.settings));
  EXPECT_EQ(value, scanned) << "the value is the scanner's";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WrittenDecimalText,
    ::testing::Values(Written{"0012.3400", kPoint, false, "1234", -2}, Written{" -5e3 ", kPoint, true, "5", 3},
                      Written{"120", kPoint, false, "12", 1}, Written{"1,50e-2", kComma, false, "15", -3},
                      Written{"-0.000", kPoint, true, "", 0}, Written{".", kPoint, false, "", 0},
                      Written{"1e0500", kPoint, false, "1", 500}, Written{"7.25e-4999", kPoint, false, "725", -5001},
                      Written{std::string("+3.5\0" "9", 6), kPoint, false, "35", -1}));

TEST(FloatParse, WrittenDecimalOfARefusedTextIsUntouched) {
  long double value = 1.0L;
  WrittenDecimal out;
  out.digits = "9";
  EXPECT_FALSE(ScanWrittenDecimal("1e5000", value, out, kPoint));
  EXPECT_FALSE(ScanWrittenDecimal("1.5", value, out, kComma));
  EXPECT_EQ(out.digits, "9");
  EXPECT_EQ(value, 1.0L);
}

TEST(FloatParse, MessageQuotesTheUnchangedText) {
  const struct {
    std::string text;
    std::string message;
  } rows[] = {{"abc", "'abc' is not a valid floating point value"},
              {"", "'' is not a valid floating point value"},
              {" 1 2 ", "' 1 2 ' is not a valid floating point value"}};
  for (const auto& row : rows) {
    try {
      ParseFloatText(row.text, kPoint);
      ADD_FAILURE() << "accepted '" << row.text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), row.message);
    }
  }
}

TEST(FloatParse, RoundsToNearestWhateverTheCallerSet) {
  // Short texts and texts that need the power tables or long mantissas.
  for (const char* text : {"0.1", "2.0005", "1.5e-40", "7e300", "0.12345678901234567890123"}) {
    SCOPED_TRACE(text);
    std::fenv_t saved;
    std::fegetenv(&saved);
    long double nearest;
    ASSERT_TRUE(ScanFloatText(text, nearest, kPoint));
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
      std::fesetround(mode);
      long double other;
      ASSERT_TRUE(ScanFloatText(text, other, kPoint));
      EXPECT_EQ(std::fegetround(), mode) << "caller's rounding mode not restored";
      std::fesetenv(&saved);
      EXPECT_EQ(other, nearest);
    }
  }
}

TEST(FloatParse, LeavesTheExceptionFlagsAsTheyWere) {
  std::fenv_t saved;
  std::fegetenv(&saved);
  std::feclearexcept(FE_ALL_EXCEPT);
  long double value;
  ASSERT_TRUE(ScanFloatText("0.1", value, kPoint));
  ASSERT_TRUE(ScanFloatText("1.5e-40", value, kPoint));
  ASSERT_TRUE(ScanFloatText("0.12345678901234567890123", value, kPoint));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0) << "inexact flag left behind";
  EXPECT_FALSE(ScanFloatText("1e4999", value, kPoint));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0) << "overflow flag left behind";
  std::feraiseexcept(FE_DIVBYZERO);
  ASSERT_TRUE(ScanFloatText("1e-4999", value, kPoint));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), FE_DIVBYZERO) << "caller's own flags must survive unchanged";
  std::fesetenv(&saved);
}

}  // namespace
}  // namespace tavimo
