// The three output formats: csv quoting, json escaping and number round trips.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "cli/CliOutput.h"

namespace tavimo::cli {
namespace {

struct TextCase {
  std::string in;
  std::string out;
};

class CsvFieldTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CsvFieldTest, QuotesWhatNeedsQuoting) { EXPECT_EQ(CsvField(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(TextCase{"0.618", "0.618"}, TextCase{"", ""}, TextCase{"1/3", "1/3"},
                      TextCase{"1,234.5", "\"1,234.5\""}, TextCase{"a\"b", "\"a\"\"b\""}, TextCase{"\"", "\"\"\"\""},
                      TextCase{"a\nb", "\"a\nb\""}, TextCase{"a\rb", "\"a\rb\""}, TextCase{" 0.5", "\" 0.5\""},
                      TextCase{"0.5 ", "\"0.5 \""}, TextCase{"1 234", "1 234"}, TextCase{"中文", "中文"}));

class JsonStringTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(JsonStringTest, EscapesProperly) { EXPECT_EQ(JsonString(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Strings, JsonStringTest,
    ::testing::Values(TextCase{"0.618", "\"0.618\""}, TextCase{"", "\"\""}, TextCase{"a\"b", "\"a\\\"b\""},
                      TextCase{"a\\b", "\"a\\\\b\""}, TextCase{"1/3", "\"1/3\""},
                      TextCase{"\n\r\t", "\"\\n\\r\\t\""}, TextCase{"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
                      TextCase{std::string("a\0b", 3), "\"a\\u0000b\""}, TextCase{"中文", "\"中文\""},
                      TextCase{"1\xE2\x80\xAF" "234", "\"1\xE2\x80\xAF" "234\""},
                      TextCase{"\xE4", "\"\xEF\xBF\xBD\""}, TextCase{"\xE4\xB8", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
                      TextCase{"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""}));

TEST(RoundTripNumber, IsShortest) {
  EXPECT_EQ(RoundTripNumber(30.0), "30");
  EXPECT_EQ(RoundTripNumber(11.91), "11.91");
  EXPECT_EQ(RoundTripNumber(0.1), "0.1");
  EXPECT_EQ(RoundTripNumber(40.0 / 3.0), "13.333333333333334");
  EXPECT_EQ(RoundTripNumber(-0.25), "-0.25");
  EXPECT_EQ(RoundTripNumber(0.0), "0");
}

TEST(RoundTripNumber, ReadsBackToTheSameDouble) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = RoundTripNumber(value);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
  for (double value : {5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 1e21, 123456789012345680.0})
    EXPECT_EQ(std::strtod(RoundTripNumber(value).c_str(), nullptr), value);
}

TEST(MakeLevelRows, MarksUseThePatternAndSeparators) {
  const NumberFormatSettings commaDecimals{",", "."};
  const std::vector<LevelRow> rows = MakeLevelRows({"1/3", "2"}, {1234.5678, 1e6}, commaDecimals);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].ratio, "1/3");
  EXPECT_EQ(rows[0].level, 1234.5678);
  EXPECT_EQ(rows[0].mark, "1.234,568");
  EXPECT_EQ(rows[1].mark, "1.000.000");
}

const std::vector<LevelRow> kRows = {{"0.191", 11.91, "11.91"}, {"1/3", 40.0 / 3.0, "13.333"},
                                     {"1000", 1000.5, "1,000.5"}};

TEST(FormatLevelRows, TextIsRatioTabMark) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Text, kRows), "0.191\t11.91\n1/3\t13.333\n1000\t1,000.5\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Text, {}), "");
}

TEST(FormatLevelRows, CsvHasHeaderAndCrlfRecords) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Csv, kRows),
            "ratio,level,mark\r\n"
            "0.191,11.91,11.91\r\n"
            "1/3,13.333333333333334,13.333\r\n"
            "1000,1000.5,\"1,000.5\"\r\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Csv, {}), "ratio,level,mark\r\n");
}

TEST(FormatLevelRows, JsonIsAnArrayOfObjects) {
  EXPECT_EQ(FormatLevelRows(OutputFormat::Json, kRows),
            "[\n"
            "  {\"ratio\": \"0.191\", \"level\": 11.91, \"mark\": \"11.91\"},\n"
            "  {\"ratio\": \"1/3\", \"level\": 13.333333333333334, \"mark\": \"13.333\"},\n"
            "  {\"ratio\": \"1000\", \"level\": 1000.5, \"mark\": \"1,000.5\"}\n"
            "]\n");
  EXPECT_EQ(FormatLevelRows(OutputFormat::Json, {}), "[]\n");
}

}  // namespace
}  // namespace tavimo::cli
