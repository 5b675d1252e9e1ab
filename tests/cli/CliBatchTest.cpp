// tavimo-cli batch in-process: rows in from a stream, rows and bad-row lines
// out to streams, and the exit status.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

namespace tavimo::cli {
namespace {

struct BatchRun {
  CliResult result;
  std::string out;
  std::string err;
};

BatchRun RunBatchOn(const std::string& input, std::vector<std::string> arguments) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  arguments.insert(arguments.begin(), "batch");
  BatchRun run;
  run.result = RunCli(arguments, {&in, &out, &err});
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(CliBatch, QuotedFieldsAndAByteOrderMarkPassThrough) {
  const BatchRun run = RunBatchOn(
      "\xEF\xBB\xBF\"name, full\",\" LOW \",high,From\r\n\"a \"\"b\"\"\",10,20,15\r\n\"c\nd\",\"1\",2,3\r\n",
      {"resistance,projection-down", "--ratios", "0.5", "--tick", ""});
  EXPECT_EQ(run.result.exitStatus, 0);
  EXPECT_EQ(run.result.err + run.err, "");
  EXPECT_EQ(run.out,
            "\"name, full\",\" LOW \",high,From,mode,ratio,level,text\r\n"
            "\"a \"\"b\"\"\",10,20,15,resistance,0.5,15,15\r\n"
            "\"a \"\"b\"\"\",10,20,15,projection-down,0.5,10,10\r\n"
            "\"c\nd\",\"1\",2,3,resistance,0.5,1.5,1.5\r\n"
            "\"c\nd\",\"1\",2,3,projection-down,0.5,2.5,2.5\r\n");
}

TEST(CliBatch, BadRowsAreReportedByLineAndTheOthersWritten) {
  const BatchRun run = RunBatchOn("low,high\n1,2\nx,2\n\"3\n\",4\n5,6,7\n8,9\n10,\"20\r\"\n",
                                  {"support", "--ratios", "1/2", "--tick", "0.5", "--round", "up"});
  EXPECT_EQ(run.result.exitStatus, 1);
  EXPECT_EQ(run.out,
            "low,high,mode,ratio,level,text\r\n1,2,support,1/2,1.5,1.5\r\n8,9,support,1/2,8.5,8.5\r\n");
  EXPECT_EQ(run.err,
            "line 3: 'x' is not a valid floating point value.\n"
            "line 4: '3\\n' is not a valid floating point value.\n"
            "line 6: The row has more fields than the header.\n"
            "line 8: '20\\r' is not a valid floating point value.\n");
}

TEST(CliBatch, ANulInANeededCellMakesTheRowBad) {
  const BatchRun run = RunBatchOn(std::string("low,high,note\n10\0007,20,x\n1,2,\0\n", 30), {"resistance", "--ratios", "0.5"});
  EXPECT_EQ(run.result.exitStatus, 1);
  EXPECT_EQ(run.out, "low,high,note,mode,ratio,level,text\r\n" + std::string("1,2,\0", 5) + ",resistance,0.5,1.5,1.5\r\n");
  EXPECT_NE(run.err.find("line 2: "), std::string::npos) << run.err;
}

TEST(CliBatch, ARecordBeyondItsCapIsABadRowAndReadingGoesOnAtTheNextLine) {
  const std::string huge = "1," + std::string((16u << 20) + 1, '7') + "\n";
  const BatchRun run = RunBatchOn("low,high\n1,2\n" + huge + "3,4\n", {"resistance", "--ratios", "0.5"});
  EXPECT_EQ(run.result.exitStatus, 1);
  EXPECT_EQ(run.out, "low,high,mode,ratio,level,text\r\n1,2,resistance,0.5,1.5,1.5\r\n3,4,resistance,0.5,3.5,3.5\r\n");
  EXPECT_EQ(run.err, "line 3: record longer than 16 MiB\n");
}

TEST(CliBatch, AnInputThatCannotBeReadIsAnErrorNotAnEmptyInput) {
  const BatchRun run = RunBatchOn("", {"resistance", "--ratios", "0.5", "--input", "/"});
  EXPECT_EQ(run.result.exitStatus, 1);
  EXPECT_EQ(run.result.err, "tavimo-cli: cannot read '/': Is a directory\n");
  EXPECT_EQ(run.out, "");
}

TEST(CliBatch, InputWithoutItsColumnsFailsBeforeAnyRow) {
  const struct {
    std::string input;
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {"", {"rise"}, "The input has no header line.\n"},
      {"low,high\n1,2\n", {"projection-up"}, "The input has no column 'from'.\n"},
      {"low,high\n1,2\n", {"rise", "--tick", "0"}, "Invalid tick '0'.\n"},
      {"low,high\n0,2\n", {"resistance", "--scale-levels", "log", "--ratios", "0.5"}, ""},
  };
  for (const auto& c : cases) {
    const BatchRun run = RunBatchOn(c.input, c.arguments);
    EXPECT_EQ(run.result.exitStatus, 1) << c.input;
    EXPECT_EQ(run.result.err, c.err) << c.input;
  }
  // A price at or below zero on the log scale is a bad row, not a failed run.
  EXPECT_EQ(RunBatchOn("low,high\n0,2\n", {"resistance", "--scale-levels", "log", "--ratios", "0.5"}).err,
            "line 2: Log scale needs prices above zero.\n");
}

}  // namespace
}  // namespace tavimo::cli
