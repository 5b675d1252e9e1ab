// Whole runs in-process: outcomes, exit statuses and messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ParamText.h"
#include "cli/CliRun.h"
#include "cli/Usage.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo::cli {
namespace {

struct RunCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string out;
  std::string err;
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name << ": " << param_text::QuotedList(c.arguments); }

class RunCliTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunCliTest, GivesStatusOutputAndMessage) {
  const CliResult result = RunCli(GetParam().arguments);
  EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunCliTest,
    ::testing::Values(
        RunCase{"Rise", {"rise", "--low", "10", "--ratios", "0.5,1,0"}, 0, "0.5\t15\n1\t0\n0\t10\n", ""},
        RunCase{"Decline", {"decline", "--high", "20", "--ratios", "0.618"}, 0, "0.618\t7.64\n", ""},
        RunCase{"Support", {"support", "--low=10", "--high=20", "--ratios=1/3,2"}, 0, "1/3\t16.667\n2\t0\n", ""},
        RunCase{"ThousandsInMarks", {"resistance", "--low", "0", "--high", "1234567.8916", "--ratios", "1"}, 0,
                "1\t1,234,567.892\n", ""},
        RunCase{"EmptyLowBox", {"rise", "--high", "20"}, 1, "", "请输入低点数据！\n"},
        RunCase{"EmptyHighBox", {"decline", "--low", "20"}, 1, "", "请输入高点数据！\n"},
        RunCase{"BothBoxesEmpty", {"resistance"}, 1, "", "请输入低点和高点数据！\n"},
        RunCase{"EmptyValueIsAnEmptyBox", {"support", "--low=", "--high=20"}, 1, "", "请输入低点和高点数据！\n"},
        RunCase{"BlanksAreNotEmpty", {"rise", "--low", " "}, 1, "", "' ' is not a valid floating point value.\n"},
        RunCase{"BadPrice", {"resistance", "--low", "abc", "--high", "xyz"}, 1, "",
                "'abc' is not a valid floating point value.\n"},
        RunCase{"PriceOverflow", {"rise", "--low", "1e400"}, 1, "", "Floating point overflow.\n"},
        RunCase{"BadRatioAfterGoodOnes", {"rise", "--low", "10", "--ratios", "0.5,abc"}, 1, "",
                "'abc' is not a valid floating point value.\n"},
        RunCase{"EmptyRatioEntry", {"rise", "--low", "10", "--ratios", "0.5,,1"}, 1, "",
                "'' is not a valid floating point value.\n"},
        RunCase{"FractionPart", {"rise", "--low", "10", "--ratios", "x/2"}, 1, "",
                "'x' is not a valid integer value.\n"},
        RunCase{"DivisionByZero", {"rise", "--low", "10", "--ratios", "1/0"}, 1, "",
                "Floating point division by zero.\n"},
        RunCase{"ZeroOverZero", {"rise", "--low", "10", "--ratios", "0/0"}, 1, "",
                "Invalid floating point operation.\n"},
        RunCase{"BlankRatioListStillConverts", {"rise", "--low", "x", "--ratios", " "}, 1, "",
                "'x' is not a valid floating point value.\n"}),
    param_text::NameField());

// Ticks, log scale and the projections, each against the figures worked by hand.
INSTANTIATE_TEST_SUITE_P(
    TicksScalesAndProjections, RunCliTest,
    ::testing::Values(
        RunCase{"TickNearest", {"resistance", "--low=10", "--high=20", "--ratios=0.191,1/3", "--tick=0.05"}, 0,
                "0.191\t11.90\n1/3\t13.35\n", ""},
        RunCase{"TickUp", {"resistance", "--low=10", "--high=20", "--ratios=0.191,1/3", "--tick=0.05", "--round=up"},
                0, "0.191\t11.95\n1/3\t13.35\n", ""},
        RunCase{"TickDown",
                {"resistance", "--low=10", "--high=20", "--ratios=0.191,1/3", "--tick=0.05", "--round=down"}, 0,
                "0.191\t11.90\n1/3\t13.30\n", ""},
        // Levels -0.875, -1.125 and 0.125 are exact halves of the tick: away from zero on both sides.
        RunCase{"TiesAwayFromZero",
                {"support", "--low=-1", "--high=1", "--ratios=0.9375,1.0625,0.4375", "--tick=0.25"}, 0,
                "0.9375\t-1.00\n1.0625\t-1.25\n0.4375\t0.25\n", ""},
        RunCase{"TickDownBelowZero", {"support", "--low=-1", "--high=0", "--ratios=0.1", "--tick=1", "--round=down"},
                0, "0.1\t-1\n", ""},
        RunCase{"TickTextWithThousands", {"rise", "--low=1234", "--ratios=0.5", "--tick=0.010"}, 0, "0.5\t1,851.00\n",
                ""},
        RunCase{"TickCsvHoldsTheRoundedLevel",
                {"resistance", "--low=10", "--high=20", "--ratios=0.191", "--tick=0.05", "--format=csv"}, 0,
                "ratio,level,mark\r\n0.191,11.9,11.90\r\n", ""},
        RunCase{"EmptyTickIsNone", {"resistance", "--low=10", "--high=20", "--ratios=0.191", "--tick="}, 0,
                "0.191\t11.91\n", ""},
        RunCase{"ZeroTick", {"rise", "--low=10", "--ratios=0.5", "--tick=0"}, 1, "", "Invalid tick '0'.\n"},
        RunCase{"NegativeTick", {"rise", "--low=10", "--ratios=0.5", "--tick=-0.05"}, 1, "",
                "Invalid tick '-0.05'.\n"},
        RunCase{"TickNotANumber", {"rise", "--low=10", "--ratios=0.5", "--tick=a"}, 1, "", "Invalid tick 'a'.\n"},
        RunCase{"LevelTooLargeForTick", {"rise", "--low=1e17", "--ratios=0.5", "--tick=0.01"}, 1, "",
                "Level too large for tick 0.01.\n"},
        RunCase{"LogResistance", {"resistance", "--low=10", "--high=40", "--ratios=0.5,2", "--scale-levels=log"}, 0,
                "0.5\t20\n2\t160\n", ""},
        RunCase{"LogSupport", {"support", "--low=10", "--high=40", "--ratios=0.5", "--scale-levels=log"}, 0,
                "0.5\t20\n", ""},
        RunCase{"LogProjections",
                {"projection-up", "--low=10", "--high=40", "--from=3", "--ratios=0.5", "--scale-levels=log"}, 0,
                "0.5\t6\n", ""},
        RunCase{"LogNeedsPricesAboveZero",
                {"projection-down", "--low=10", "--high=40", "--from=0", "--ratios=0.5", "--scale-levels=log"}, 1, "",
                "Log scale needs prices above zero.\n"},
        RunCase{"LogNegativeLow", {"resistance", "--low=-1", "--high=40", "--ratios=0.5", "--scale-levels=log"}, 1,
                "", "Log scale needs prices above zero.\n"},
        RunCase{"ProjectionUp", {"projection-up", "--low=10", "--high=20", "--from=15", "--ratios=0.5,1.618"}, 0,
                "0.5\t20\n1.618\t31.18\n", ""},
        RunCase{"ProjectionDown", {"projection-down", "--low=10", "--high=20", "--from=15", "--ratios=0.5,1.618"}, 0,
                "0.5\t10\n1.618\t-1.18\n", ""},
        RunCase{"ProjectionWithoutFrom", {"projection-up", "--low=10", "--high=20"}, 1, "",
                "请输入低点、高点和起点数据！\n"},
        RunCase{"ProjectionWithFromOnly", {"projection-down", "--from=15"}, 1, "", "请输入低点、高点和起点数据！\n"},
        RunCase{"ProjectionBadFrom", {"projection-down", "--low=1", "--high=2", "--from=x"}, 1, "",
                "'x' is not a valid floating point value.\n"}),
    param_text::NameField());

// A given list is read as the same text stored in data.ini would be:
// trimmed, one pair of quotes dropped, and blank means the default list.
TEST(RunCli, RatioTextIsTakenAsAStoredTextIsRead) {
  const CliResult blank = RunCli({"rise", "--low", "10", "--ratios", " \t "});
  EXPECT_EQ(blank.exitStatus, 0);
  EXPECT_EQ(std::count(blank.out.begin(), blank.out.end(), '\n'), 16);
  EXPECT_EQ(RunCli({"rise", "--low", "10", "--ratios", " \"0.5,1/4\" "}).out, "0.5\t15\n1/4\t12.5\n");
  EXPECT_EQ(RunCli({"rise", "--low", "10", "--ratios", "\"\""}).out, blank.out);
}

TEST(RunCli, EmptyRatioTextMeansTheDefaultList) {
  const CliResult result = RunCli({"resistance", "--low", "10", "--high", "20", "--ratios", ""});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 16);
  EXPECT_EQ(result.out.rfind("0.191\t11.91\n", 0), 0u);
}

TEST(RunCli, UsageErrorGoesToStderrWithStatusTwo) {
  const CliResult result = RunCli({"rise", "--bogus"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "tavimo-cli: unknown option '--bogus'\n\n" + UsageText());
}

TEST(RunCli, HelpGoesToStdoutWithStatusZero) {
  const CliResult result = RunCli({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, UsageText());
  EXPECT_EQ(result.err, "");
}

TEST(RunCli, CommaDecimalSeparatorsApplyToPricesAndMarksButNotToRatioEntries) {
  const NumberFormatSettings saved = GlobalNumberFormatSettings();
  SetGlobalNumberFormatSettings({",", "."});
  const CliResult good = RunCli({"resistance", "--low", "1000", "--high", "2000,5", "--ratios", "1/3,0.5"});
  const CliResult stored = RunCli({"rise", "--low", "10", "--ratios", "0.618"});
  const CliResult csv = RunCli({"rise", "--low", "1,5", "--ratios", "1/2", "--format", "csv"});
  SetGlobalNumberFormatSettings(saved);
  EXPECT_EQ(good.out, "1/3\t1.333,5\n0.5\t1.500,25\n");
  EXPECT_EQ(stored.out, "0.618\t16,18\n") << stored.err;
  EXPECT_EQ(csv.out, "ratio,level,mark\r\n1/2,2.25,\"2,25\"\r\n");
}

TEST(RunCli, NeverRaisesOnOddArguments) {
  const std::vector<std::vector<std::string>> odd = {
      {"rise", "--low", std::string(100000, '9')},
      {"rise", "--low", "1", "--ratios", std::string(50000, ',')},
      {"resistance", "--low", std::string("1\0", 2), "--high", "\xff\xfe"},
      {"support", "--low", "1e4932", "--high", "-1e4932"},
      {std::string(1, '\0')},
      {"--=", "--", "-"},
  };
  for (const auto& arguments : odd) {
    const CliResult result = RunCli(arguments);
    EXPECT_TRUE(result.exitStatus == 1 || result.exitStatus == 2) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
}  // namespace tavimo::cli
