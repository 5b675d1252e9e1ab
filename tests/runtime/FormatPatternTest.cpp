// Values written by patterns: the chart's "#,##0.###" over its whole table,
// sections, quotes, scientific markers and the separators of other locales.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "ParamText.h"
#include "runtime/Exceptions.h"
#include "runtime/NumberFormat.h"

namespace tavimo {
namespace {

const NumberFormatSettings kPoint{".", ","};
constexpr const char* kChartPattern = "#,##0.###";

struct ValueText {
  long double value;
  std::string text;
};

void PrintTo(const ValueText& row, std::ostream* os) {
  *os << "{" << param_text::Number(row.value) << ", " << param_text::Quoted(row.text) << "}";
}

std::string ValueName(const ::testing::TestParamInfo<ValueText>& info) { return param_text::Name(info.param.value); }

class ChartValueFormat : public ::testing::TestWithParam<ValueText> {};

TEST_P(ChartValueFormat, WritesTheExpectedText) {
  EXPECT_EQ(FormatFloatPattern(kChartPattern, GetParam().value, kPoint), GetParam().text)
      << static_cast<double>(GetParam().value);
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();

// Values reach the formatter as stored doubles, so each literal is a double.
INSTANTIATE_TEST_SUITE_P(
    Table, ChartValueFormat,
    ::testing::Values(ValueText{0.0, "0"}, ValueText{-0.0, "0"}, ValueText{12.3456, "12.346"},
                      ValueText{1234.5, "1,234.5"}, ValueText{-1234.5678, "-1,234.568"}, ValueText{1000.0, "1,000"},
                      ValueText{1234567.891, "1,234,567.891"}, ValueText{999.9996, "1,000"}, ValueText{0.5, "0.5"},
                      ValueText{0.0123, "0.012"}, ValueText{0.0005, "0.001"}, ValueText{-0.0005, "-0.001"},
                      ValueText{0.0004, "0.000"}, ValueText{-0.0004, "0.000"}, ValueText{0.00004, "0"},
                      ValueText{1e15, "1,000,000,000,000,000"}, ValueText{1e18, "1E18"}, ValueText{kInf, "INF"},
                      ValueText{-kInf, "-INF"}, ValueText{std::numeric_limits<long double>::quiet_NaN(), "NAN"}),
    ValueName);

INSTANTIATE_TEST_SUITE_P(
    Rounding, ChartValueFormat,
    ::testing::Values(ValueText{1.0625, "1.063"}, ValueText{2.0005, "2.001"}, ValueText{1.0005, "1"},
                      ValueText{1.2345, "1.234"}, ValueText{-0.00004, "0"}, ValueText{2.5e20, "2.5E20"},
                      ValueText{-3e19, "-3E19"}, ValueText{999999999999999999.5L, "1E18"},
                      ValueText{999999999999999999.0L, "999,999,999,999,999,999"},
                      ValueText{30.0, "30"}, ValueText{11.91, "11.91"}, ValueText{13.3333333333, "13.333"},
                      ValueText{123.0, "123"}, ValueText{1234.0, "1,234"}, ValueText{-1.0, "-1"},
                      ValueText{1e-300, "0"}, ValueText{0.9999, "1"}, ValueText{0.99949, "0.999"}),
    ValueName);

TEST(FormatPattern, TooLongPatternIsRejected) {
  EXPECT_NO_THROW(FormatFloatPattern(std::string(224, '#'), 1.0L, kPoint));
  try {
    FormatFloatPattern(std::string(225, '#'), 1.0L, kPoint);
    FAIL() << "225 characters accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Format string too long");
  }
}

TEST(FormatPattern, LongestPatternWithWideSeparatorsFitsTheBuffer) {
  const NumberFormatSettings wide{"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x81"};  // two 4-byte characters
  const std::string text = FormatFloatPattern("," + std::string(223, '0'), 123456789.0L, wide);
  // 223 digits with a separator after every third from the right but the last.
  EXPECT_EQ(text.size(), 223u + 74u * 4u);
  EXPECT_EQ(text.substr(text.size() - 10), "456\xf0\x9f\x98\x81" "789");
  EXPECT_EQ(text.substr(0, 5), "0\xf0\x9f\x98\x81");
}

TEST(FormatPattern, GeneratedPatternsNeverFailOrOverrun) {
  // Patterns made of the meaningful characters, up to the length limit, with
  // values across the range; run under the sanitizers this also checks the
  // writing. The longest text: a digit and a 4-byte separator for each place
  // of the largest decimal exponent (4933) and each placeholder, plus quoted text.
  constexpr std::size_t kLongestText = (4933 + 224) * 5 + 224 + 8;
  const std::string alphabet = "#0.,;'\"Ee+- x0#0#,";
  const long double values[] = {0.0L, -0.0L, 1.0L, -1.0L, 0.5L, 1234567.891L, -0.0004L, 1e17L, 9.99e17L,
                                1e-4000L, 1e4000L, std::numeric_limits<long double>::infinity(),
                                std::numeric_limits<long double>::quiet_NaN(), 123.456L};
  const NumberFormatSettings wide{"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x81"};
  std::mt19937 generator(99);
  for (int i = 0; i < 4000; ++i) {
    const std::size_t length = generator() % 225;
    std::string pattern;
    for (std::size_t c = 0; c < length; ++c) pattern.push_back(alphabet[generator() % alphabet.size()]);
    for (const long double value : values) {
      const std::string text = FormatFloatPattern(pattern, value, wide);
      ASSERT_LE(text.size(), kLongestText) << pattern;
    }
  }
}

struct PatternRow {
  std::string pattern;
  long double value;
  std::string text;
};

void PrintTo(const PatternRow& row, std::ostream* os) {
  *os << "{" << param_text::Quoted(row.pattern) << ", " << param_text::Number(row.value) << ", "
      << param_text::Quoted(row.text) << "}";
}

std::string PatternName(const ::testing::TestParamInfo<PatternRow>& info) {
  return param_text::Join({param_text::Name(info.param.pattern), param_text::Name(info.param.value)});
}

class PatternFormat : public ::testing::TestWithParam<PatternRow> {};

TEST_P(PatternFormat, WritesTheExpectedText) {
  const PatternRow& row = GetParam();
  EXPECT_EQ(FormatFloatPattern(row.pattern, row.value, kPoint), row.text)
      << "pattern \"" << row.pattern << "\" value " << static_cast<double>(row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, PatternFormat,
    ::testing::Values(PatternRow{"0.00", 1.5, "1.50"}, PatternRow{"000", 5, "005"}, PatternRow{"#", 0, ""},
                      PatternRow{"#.##", 0.5, ".5"}, PatternRow{"0", 12345678.9, "12345679"},
                      PatternRow{"#,##0", 12345678.9, "12,345,679"}, PatternRow{"0,", 1234567, "1,234,567"},
                      PatternRow{"#.#.#", 1.25, "1.25"}, PatternRow{"00.00", -1.5, "-01.50"},
                      PatternRow{"#0.0#", 0.123, "0.12"}, PatternRow{"0.000", 0.0004, "0.000"},
                      PatternRow{"#,##0.00", 1e15, "1,000,000,000,000,000.00"},
                      PatternRow{"0.0", 1e18, "1E18"}, PatternRow{"0#", 5, "05"}),
    PatternName);

INSTANTIATE_TEST_SUITE_P(
    Sections, PatternFormat,
    ::testing::Values(PatternRow{"0.0;(0.0);zero", 1.25, "1.3"}, PatternRow{"0.0;(0.0);zero", -1.25, "(1.3)"},
                      PatternRow{"0.0;(0.0);zero", 0, "zero"}, PatternRow{"0.0;(0.0);zero", -0.0, "zero"},
                      PatternRow{"0.0;(0.0);zero", 0.01, "zero"}, PatternRow{"0.0;(0.0);zero", -0.01, "zero"},
                      PatternRow{"0.0;(0.0)", -0.01, "0.0"}, PatternRow{"0.0;(0.0)", 0, "0.0"},
                      PatternRow{"0.0;;zero", -2, "-2.0"}, PatternRow{"0.0;", -2, "-2.0"},
                      PatternRow{"#;-#;", 0, ""}, PatternRow{"", 1.5, "1.5"}, PatternRow{";#", 1.5, "1.5"},
                      // An empty first section leaves the others in use.
                      PatternRow{";#", -1.5, "2"}, PatternRow{";0.00", -1.5, "1.50"},
                      PatternRow{";;0.00", 0, "0.00"}, PatternRow{";0.00", -0.001, "-0.001"}, PatternRow{"0;neg;zero;extra", 0, "zero"},
                      PatternRow{"0;-0.00", -0.001, "0"}, PatternRow{"#.#;#.#", -1e30, "-1E30"},
                      // No placeholders: every value rounds away and the zero section is used.
                      // The zero section then writes one digit per place of the exponent.
                      PatternRow{"E+0;;#", 123, "000"}, PatternRow{"E+0;;#", 1e300, std::string(301, '0')},
                      PatternRow{"E+00;;0", 1e18, "0000000000000000000"},
                      PatternRow{"E+0;;#,##0", 1e20, "000,000,000,000,000,000,000"},
                      PatternRow{"E+0;;z", 123, "z"}, PatternRow{"E+0", 123, "E+0"}),
    PatternName);

INSTANTIATE_TEST_SUITE_P(
    Literals, PatternFormat,
    ::testing::Values(PatternRow{"'$'#,##0.00", 1234.5, "$1,234.50"}, PatternRow{"\"a;b\"0", 7, "a;b7"},
                      PatternRow{"'0#.,'0", 7, "0#.,7"}, PatternRow{"0 'unclosed", 7, "7 unclosed"},
                      PatternRow{"0'x;y", -7, "-7x;y"}, PatternRow{"0 kg", 3, "3 kg"},
                      PatternRow{"0E0", 5, "0E5"}, PatternRow{"e0", 5, "e5"}, PatternRow{"%0", 5, "%5"},
                      PatternRow{"0\xe5\x85\x83", 5, "5\xe5\x85\x83"}),
    PatternName);

INSTANTIATE_TEST_SUITE_P(
    Scientific, PatternFormat,
    ::testing::Values(PatternRow{"0.00E+00", 12345, "1.23E+04"}, PatternRow{"0.00E+00", 0, "0.00E+00"},
                      PatternRow{"0.00E+00", 0.000123456, "1.23E-04"}, PatternRow{"0.00E-00", 12345, "1.23E04"},
                      PatternRow{"0.00E-00", 0.00123, "1.23E-03"}, PatternRow{"0.00e+0", 1e100, "1.00e+100"},
                      PatternRow{"0.00E+00", -12345, "-1.23E+04"}, PatternRow{"0.###E+0", 1.5, "1.5E+0"},
                      PatternRow{"00.0E+000000", 12345, "12.3E+0003"}, PatternRow{"0.00E+00", 9.999, "1.00E+01"},
                      PatternRow{"#E+0", 12345, "1E+4"}, PatternRow{"0.0E+0", 1e300, "1.0E+300"},
                      PatternRow{"0.00E+00", 1e30, "1.00E+30"}),
    PatternName);

TEST(FormatPattern, CommaDecimalLocaleWithPointGrouping) {
  const NumberFormatSettings german{",", "."};
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1234.5, german), "1.234,5");
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 0.5, german), "0,5");
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1e18, german), "1E18");
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1.0L / 3, german), "0,333");
}

TEST(FormatPattern, NoGroupingWhenTheLocaleHasNoThousandsSeparator) {
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1234567.5, NumberFormatSettings{".", ""}), "1234567.5");
}

TEST(FormatPattern, MultiByteSeparators) {
  const NumberFormatSettings french{",", "\xe2\x80\xaf"};  // narrow no-break space
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1234567.891, french), "1\xe2\x80\xaf" "234\xe2\x80\xaf" "567,891");
}

TEST(FormatPattern, UsesTheProcessSettingsByDefault) {
  const NumberFormatSettings saved = GlobalNumberFormatSettings();
  SetGlobalNumberFormatSettings(NumberFormatSettings{",", "."});
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1234.5), "1.234,5");
  SetGlobalNumberFormatSettings(saved);
  EXPECT_EQ(FormatFloatPattern(kChartPattern, 1234.5), "1,234.5");
}

}  // namespace
}  // namespace tavimo

namespace tavimo {
namespace {

// Every text the formatter writes for seeded patterns and values, folded
// into one FNV-1a hash, against the hash the formatter gave before it was
// made faster: a single changed digit anywhere changes it. The values are
// exact level values, random bit patterns of every magnitude, halfway cases
// at each pattern's last decimal, and the extremes; the patterns are the
// chart's, plain ones, sections, quoted text and scientific forms, in two
// locales (one with separators of several bytes).
std::uint64_t FormattedTextsHash(int count) {
  const std::vector<std::string> patterns = {"#,##0.###", "0.00", "#,##0", "0", "#.#", "000.0000", "#,##0.00;(#,##0.00);'zero'",
                                             "0.###E+00", "##0.0e-0", "'$'#,##0.00' USD'", "#,##0.###;;", ";0.0",
                                             "0.0;-0.0;-", "# ##0.##", "#,#,#0.0#0", "", "00.##", "#0,00.0#", "##", ".##", "0.",
                                             ",0.000###", "#,##0.##############", "000,000,000.000000000", "#.0#,#"};
  const NumberFormatSettings settings[] = {{".", ","}, {"\xd9\xab", "\xe2\x80\xaf"}};
  std::mt19937_64 generator(20261210);
  std::uint64_t hash = 14695981039346656037u;
  const auto fold = [&](const std::string& text) {
    for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211u;
    hash = (hash ^ 0xFF) * 1099511628211u;
  };
  const long double extremes[] = {0.0L, -0.0L, std::numeric_limits<long double>::max(), std::numeric_limits<long double>::min(),
                                  std::numeric_limits<long double>::denorm_min(), std::numeric_limits<long double>::infinity(),
                                  -std::numeric_limits<long double>::infinity(), std::numeric_limits<long double>::quiet_NaN(),
                                  999999999999999999.5L, 1e18L, 0.0005L, 0.0015L, 0.9995L, -0.0005L};
  for (const std::string& pattern : patterns)
    for (const auto& s : settings)
      for (const long double value : extremes) fold(FormatFloatPattern(pattern, value, s));
  for (int i = 0; i < count; ++i) {
    long double value;
    switch (i % 4) {
      case 0:  // a level: low + ratio x (high - low) of typed prices, as double
        value = static_cast<double>((generator() % 1000000) / 1000.0 * (0.1 + (generator() % 3000) / 1000.0));
        break;
      case 1: {  // any finite extended value of a wide range of magnitudes
        value = std::ldexp(static_cast<long double>(generator() | (std::uint64_t(1) << 63)), static_cast<int>(generator() % 260) - 190);
        break;
      }
      case 2:  // halfway at the third and the second decimal
        value = static_cast<long double>(generator() % 100000000) / 1000.0L + 0.0005L * (generator() % 2 ? 1 : -1);
        break;
      default:  // a plain price of few digits
        value = static_cast<long double>(static_cast<std::int64_t>(generator() % 2000000) - 1000000) / 100.0L;
        break;
    }
    if (generator() % 5 == 0) value = -value;
    fold(FormatFloatPattern(patterns[generator() % patterns.size()], value, settings[generator() % 8 == 0]));
  }
  return hash;
}

TEST(FormatPatternSameness, SeededTextsAreByteForByteThoseOfBefore) {
  EXPECT_EQ(FormattedTextsHash(200000), 4308278850716883282u);
}

// The same over a million values: a long test, run with TAVIMO_LONG_TESTS=1.
TEST(FormatPatternSameness, AMillionSeededTextsAreByteForByteThoseOfBefore) {
  if (std::getenv("TAVIMO_LONG_TESTS") == nullptr) GTEST_SKIP() << "a long test: set TAVIMO_LONG_TESTS=1";
  EXPECT_EQ(FormattedTextsHash(1000000), 6815322453679707978u);
}

}  // namespace
}  // namespace tavimo
