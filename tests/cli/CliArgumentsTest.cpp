// Reading the command line into options or a usage error.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ParamText.h"
#include "cli/CliArguments.h"
#include "cli/Usage.h"

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

void PrintTo(const GoodCase& c, std::ostream* out) { *out << c.name << ": " << param_text::QuotedList(c.arguments); }

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
                 F::Text, true}),
    param_text::NameField());

struct BadCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string error;
};

void PrintTo(const BadCase& c, std::ostream* out) {
  *out << c.name << ": " << param_text::QuotedList(c.arguments) << " -> " << param_text::Quoted(c.error);
}

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
        BadCase{"ModeNamesAreLowerCase", {"Rise"}, "unknown mode 'Rise' (rise, decline, resistance, support, projection-up or projection-down)"},
        BadCase{"LoneDashIsAWord", {"-"}, "unknown mode '-' (rise, decline, resistance, support, projection-up or projection-down)"},
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
                "unknown mode 'bogus' (rise, decline, resistance, support, projection-up or projection-down)"}),
    param_text::NameField());

// The options of the new level presentation and of confluence and batch.
INSTANTIATE_TEST_SUITE_P(
    LevelsConfluenceAndBatch, BadArgumentsTest,
    ::testing::Values(
        BadCase{"ExplicitLogScaleWithRise", {"rise", "--low", "10", "--scale-levels", "log"},
                "Log scale applies to resistance, support and projections."},
        BadCase{"ExplicitLogScaleWithDecline", {"--scale-levels=log", "decline"},
                "Log scale applies to resistance, support and projections."},
        BadCase{"UnknownRounding", {"resistance", "--round", "Up"}, "unknown rounding 'Up' (nearest, up or down)"},
        BadCase{"UnknownLevelScale", {"support", "--scale-levels", "ln"}, "unknown level scale 'ln' (linear or log)"},
        BadCase{"WaveIsForConfluence", {"resistance", "--wave", "1:2"}, "unknown option '--wave'"},
        BadCase{"NoWave", {"confluence", "--tolerance", "1"}, "no wave given (--wave LOW:HIGH or LOW:HIGH:C)"},
        BadCase{"WaveWithoutHigh", {"confluence", "--wave", "10"}, "invalid wave '10' (LOW:HIGH or LOW:HIGH:C)"},
        BadCase{"WaveWithFourPrices", {"confluence", "--wave=1:2:3:4"},
                "invalid wave '1:2:3:4' (LOW:HIGH or LOW:HIGH:C)"},
        BadCase{"NegativeTolerance", {"confluence", "--wave", "1:2", "--tolerance", "-0.1"},
                "invalid tolerance '-0.1' (a percentage of 0 or more, such as 0.5)"},
        BadCase{"ToleranceNotANumber", {"confluence", "--wave", "1:2", "--tolerance", "0.5%"},
                "invalid tolerance '0.5%' (a percentage of 0 or more, such as 0.5)"},
        BadCase{"ToleranceBeyondTheDoubleRange", {"confluence", "--wave", "1:2", "--tolerance", "1e400"},
                "invalid tolerance '1e400' (a percentage of 0 or more, such as 0.5)"},
        BadCase{"ZeroMinWaves", {"confluence", "--wave", "1:2", "--min-waves", "0"},
                "invalid number of waves '0' (a whole number of 1 or more)"},
        BadCase{"FractionalMinWaves", {"confluence", "--wave", "1:2", "--min-waves", "1.5"},
                "invalid number of waves '1.5' (a whole number of 1 or more)"},
        BadCase{"HugeMinWaves", {"confluence", "--wave", "1:2", "--min-waves", "99999999999999999999999"},
                "invalid number of waves '99999999999999999999999' (a whole number of 1 or more)"},
        BadCase{"UnknownConfluenceMode", {"confluence", "--wave", "1:2", "--modes", "support,up"},
                "unknown mode 'up' (rise, decline, resistance, support, projection-up or projection-down)"},
        BadCase{"ConfluenceModeTwice", {"confluence", "--wave", "1:2", "--modes", "support,support"},
                "mode 'support' given twice"},
        BadCase{"ConfluenceLogWithRise", {"confluence", "--wave", "1:2", "--modes", "support,rise", "--scale-levels",
                                          "log"},
                "Log scale applies to resistance, support and projections."},
        BadCase{"ConfluenceTakesNoMode", {"confluence", "support", "--wave", "1:2"}, "unexpected argument 'support'"},
        BadCase{"BatchWithoutMode", {"batch", "--input", "in.csv"}, "no mode given"},
        BadCase{"BatchModesAreOneWord", {"batch", "rise", "decline"}, "unexpected argument 'decline'"},
        BadCase{"BatchEmptyModeName", {"batch", "rise,"},
                "unknown mode '' (rise, decline, resistance, support, projection-up or projection-down)"},
        BadCase{"BatchLogWithDecline", {"batch", "support,decline", "--scale-levels", "log"},
                "Log scale applies to resistance, support and projections."},
        BadCase{"BatchHasNoBoxes", {"batch", "rise", "--low", "1"}, "unknown option '--low'"}),
    param_text::NameField());

TEST(CommandArguments, ReadConfluenceAndBatchOptions) {
  const CliParseResult confluence = ParseCliArguments(
      {"confluence", "--wave", "10:20", "--wave=-1:2,5:3", "--modes", "support,rise", "--tolerance", "0.25",
       "--min-waves", "3", "--tick", "", "--round", "down", "--format", "csv"});
  ASSERT_FALSE(confluence.usageError) << *confluence.usageError;
  const CliOptions& c = confluence.options;
  EXPECT_EQ(c.command, CliCommand::Confluence);
  ASSERT_EQ(c.waves.size(), 2u);
  EXPECT_EQ(c.waves[0].lowText + "|" + c.waves[0].highText, "10|20");
  EXPECT_FALSE(c.waves[0].fromText);
  EXPECT_EQ(c.waves[1].lowText + "|" + c.waves[1].highText + "|" + c.waves[1].fromText.value_or("none"), "-1|2,5|3");
  EXPECT_EQ(c.modes, (std::vector<ComputeMode>{ComputeMode::Support, ComputeMode::Rise}));
  EXPECT_EQ(c.tolerancePercent, 0.25L);
  EXPECT_EQ(c.minWaves, 3u);
  EXPECT_EQ(c.tickText, "");
  EXPECT_EQ(c.rounding, TickRounding::Down);
  EXPECT_EQ(c.format, OutputFormat::Csv);

  // Defaults: every mode but rise and decline, 0.5 percent, the minimum left to the wave count.
  const CliOptions d = ParseCliArguments({"confluence", "--wave", "1:2"}).options;
  EXPECT_EQ(d.modes, (std::vector<ComputeMode>{ComputeMode::Resistance, ComputeMode::Support,
                                              ComputeMode::ProjectionUp, ComputeMode::ProjectionDown}));
  EXPECT_EQ(d.tolerancePercent, 0.5L);
  EXPECT_FALSE(d.minWaves);
  EXPECT_FALSE(d.tickText);
  EXPECT_FALSE(d.scale);

  const CliParseResult batch =
      ParseCliArguments({"batch", "--scale-levels", "log", "projection-down,resistance", "--input", "-"});
  ASSERT_FALSE(batch.usageError) << *batch.usageError;
  EXPECT_EQ(batch.options.command, CliCommand::Batch);
  EXPECT_EQ(batch.options.modes, (std::vector<ComputeMode>{ComputeMode::ProjectionDown, ComputeMode::Resistance}));
  EXPECT_EQ(batch.options.scale, LevelScale::Log);
  EXPECT_EQ(batch.options.inputPath, "-");

  // Linear is always allowed, so it can override a stored log scale for rise.
  const CliOptions rise = ParseCliArguments({"rise", "--scale-levels", "linear", "--from", "5"}).options;
  EXPECT_EQ(rise.scale, LevelScale::Linear);
  EXPECT_EQ(rise.fromText, "5");
}

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
    EXPECT_EQ(result.options.command, CliCommand::Ratios);
    EXPECT_EQ(result.options.setRatiosText, c.set);
    EXPECT_EQ(result.options.resetRatios, c.reset);
  }
  EXPECT_TRUE(ParseCliArguments({"ratios", "--help"}).options.help);
}

TEST(UsageText, NamesEveryModeAndOption) {
  const std::string usage = UsageText();
  EXPECT_EQ(usage.rfind("usage: tavimo-cli MODE [--low TEXT] [--high TEXT] [--from TEXT] [--ratios TEXT] "
                        "[--format text|csv|json] [--tick TEXT] [--round nearest|up|down] "
                        "[--scale-levels linear|log]\n",
                        0),
            0u);
  for (const char* word : {"rise", "decline", "resistance", "support", "projection-up", "projection-down", "--help",
                           "--option=value", "ratios", "--set", "--reset", "confluence --wave LOW:HIGH[:C] ...",
                           "batch MODE[,MODE...] [--input FILE|-]", "--tolerance", "--min-waves", "--modes"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace tavimo::cli
