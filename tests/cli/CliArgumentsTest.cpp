// Reading the command line into options or a usage error.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/CliArguments.h"

namespace tavimo::cli {
namespace {

struct GoodCase {
  const char* name;
  std::vector<std::string> arguments;
  ComputeMode mode;
  std::string low;
  std::string high;
  std::optional<std::string> ratios;
  OutputFormat format = OutputFormat::Text;
  bool help = false;
};

void PrintTo(const GoodCase& c, std::ostream* out) { *out << c.name; }

class GoodArgumentsTest : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodArgumentsTest, GiveTheseOptions) {
  const GoodCase& c = GetParam();
  const CliParseResult result = ParseCliArguments(c.arguments);
  ASSERT_FALSE(result.usageError) << *result.usageError;
  EXPECT_EQ(result.options.help, c.help);
  if (c.help) return;
  EXPECT_EQ(result.options.mode, c.mode);
  EXPECT_EQ(result.options.lowText, c.low);
  EXPECT_EQ(result.options.highText, c.high);
  EXPECT_EQ(result.options.ratiosText, c.ratios);
  EXPECT_EQ(result.options.format, c.format);
}

using M = ComputeMode;
using F = OutputFormat;

INSTANTIATE_TEST_SUITE_P(
    Lists, GoodArgumentsTest,
    ::testing::Values(
        GoodCase{"ModeOnly", {"rise"}, M::Rise, "", "", std::nullopt},
        GoodCase{"SeparateValues", {"resistance", "--low", "10", "--high", "20"}, M::Resistance, "10", "20",
                 std::nullopt},
        GoodCase{"EqualsValues", {"support", "--low=10", "--high=20"}, M::Support, "10", "20", std::nullopt},
        GoodCase{"ModeAfterOptions", {"--high", "20", "decline"}, M::Decline, "", "20", std::nullopt},
        GoodCase{"ValueStartingWithDash", {"decline", "--high", "-5"}, M::Decline, "", "-5", std::nullopt},
        GoodCase{"ValueThatLooksLikeAnOption", {"rise", "--low", "--high"}, M::Rise, "--high", "", std::nullopt},
        GoodCase{"EmptyValueAfterEquals", {"rise", "--low="}, M::Rise, "", "", std::nullopt},
        GoodCase{"ValueHoldingEquals", {"rise", "--low=a=b"}, M::Rise, "a=b", "", std::nullopt},
        GoodCase{"BlanksKept", {"rise", "--low", " 10 "}, M::Rise, " 10 ", "", std::nullopt},
        GoodCase{"LastValueWins", {"rise", "--low", "1", "--low", "2"}, M::Rise, "2", "", std::nullopt},
        GoodCase{"EmptyRatiosIsGiven", {"rise", "--ratios", ""}, M::Rise, "", "", std::string()},
        GoodCase{"Ratios", {"rise", "--ratios=0.5, 1/3"}, M::Rise, "", "", std::string("0.5, 1/3")},
        GoodCase{"Csv", {"rise", "--format", "csv"}, M::Rise, "", "", std::nullopt, F::Csv},
        GoodCase{"Json", {"rise", "--format=json"}, M::Rise, "", "", std::nullopt, F::Json},
        GoodCase{"Text", {"rise", "--format", "text"}, M::Rise, "", "", std::nullopt, F::Text},
        GoodCase{"DoubleDashEndsOptions", {"--low", "1", "--", "rise"}, M::Rise, "1", "", std::nullopt},
        GoodCase{"Help", {"--help"}, M::Rise, "", "", std::nullopt, F::Text, true},
        GoodCase{"ShortHelp", {"-h"}, M::Rise, "", "", std::nullopt, F::Text, true},
        GoodCase{"HelpBeforeBadWords", {"rise", "--help", "bogus", "--format=xml"}, M::Rise, "", "", std::nullopt,
                 F::Text, true}));

struct BadCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string error;
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.name; }

class BadArgumentsTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadArgumentsTest, AreUsageErrors) {
  const CliParseResult result = ParseCliArguments(GetParam().arguments);
  ASSERT_TRUE(result.usageError);
  EXPECT_EQ(*result.usageError, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BadArgumentsTest,
    ::testing::Values(
        BadCase{"Nothing", {}, "no mode given"},
        BadCase{"OptionsWithoutMode", {"--low", "1"}, "no mode given"},
        BadCase{"ModeNamesAreLowerCase", {"Rise"}, "unknown mode 'Rise' (rise, decline, resistance or support)"},
        BadCase{"LoneDashIsAWord", {"-"}, "unknown mode '-' (rise, decline, resistance or support)"},
        BadCase{"TwoModes", {"rise", "decline"}, "unexpected argument 'decline'"},
        BadCase{"OptionAfterDoubleDash", {"rise", "--", "--low"}, "unexpected argument '--low'"},
        BadCase{"UnknownOption", {"rise", "--lo", "1"}, "unknown option '--lo'"},
        BadCase{"UnknownOptionWithValue", {"rise", "--colour=red"}, "unknown option '--colour'"},
        BadCase{"SingleDashName", {"rise", "-low", "1"}, "unknown option '-low'"},
        BadCase{"ShortOption", {"rise", "-x"}, "unknown option '-x'"},
        BadCase{"MissingValue", {"rise", "--low"}, "option --low needs a value"},
        BadCase{"UnknownFormat", {"rise", "--format", "xml"}, "unknown format 'xml' (text, csv or json)"},
        BadCase{"FormatNamesAreLowerCase", {"rise", "--format=CSV"}, "unknown format 'CSV' (text, csv or json)"},
        BadCase{"HelpTakesNoValue", {"rise", "--help=1"}, "option --help takes no value"},
        BadCase{"ErrorBeforeHelp", {"bogus", "--help"},
                "unknown mode 'bogus' (rise, decline, resistance or support)"}));

struct RatiosCase {
  std::vector<std::string> arguments;
  std::optional<std::string> set;
  bool reset;
  std::optional<std::string> error;
};

TEST(RatiosArguments, ReadTheRatiosCommandAndItsOptions) {
  const RatiosCase cases[] = {
      {{"ratios"}, std::nullopt, false, std::nullopt},
      {{"ratios", "--set", "0.5,1/3"}, "0.5,1/3", false, std::nullopt},
      {{"ratios", "--set=-1"}, "-1", false, std::nullopt},
      {{"ratios", "--set", ""}, "", false, std::nullopt},
      {{"ratios", "--reset"}, std::nullopt, true, std::nullopt},
      {{"ratios", "--set", "1", "--reset"}, "1", true, "--set and --reset cannot be given together"},
      {{"ratios", "--set"}, std::nullopt, false, "option --set needs a value"},
      {{"ratios", "--low", "1"}, std::nullopt, false, "unknown option '--low'"},
      {{"ratios", "rise"}, std::nullopt, false, "unexpected argument 'rise'"},
      {{"rise", "--set", "1"}, std::nullopt, false, "unknown option '--set'"},
      {{"rise", "ratios"}, std::nullopt, false, "unexpected argument 'ratios'"},
  };
  for (const RatiosCase& c : cases) {
    const CliParseResult result = ParseCliArguments(c.arguments);
    EXPECT_EQ(result.usageError, c.error) << c.arguments.back();
    if (c.error) continue;
    EXPECT_TRUE(result.options.ratiosCommand);
    EXPECT_EQ(result.options.setRatiosText, c.set);
    EXPECT_EQ(result.options.resetRatios, c.reset);
  }
  EXPECT_TRUE(ParseCliArguments({"ratios", "--help"}).options.help);
}

TEST(UsageText, NamesEveryModeAndOption) {
  const std::string usage = UsageText();
  EXPECT_EQ(usage.rfind("usage: tavimo-cli MODE [--low TEXT] [--high TEXT] [--ratios TEXT] [--format text|csv|json]\n",
                        0),
            0u);
  for (const char* word : {"rise", "decline", "resistance", "support", "--help", "--option=value", "ratios", "--set",
                           "--reset"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace tavimo::cli
