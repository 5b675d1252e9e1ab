// Batch levels: the CSV read and written around the levels, bad rows, and
// agreement with the single command.

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <charconv>
#include <istream>
#include <ostream>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "batch/BatchLevels.h"
#include "calc/ComputeCommand.h"
#include "platform/DescriptorBuffer.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;

struct BatchRun {
  std::string out;
  std::vector<std::string> errors;
  BatchSummary summary;
};

BatchRun RunOn(const std::string& input, const BatchOptions& options, const RatioList& ratios = {"0.5", "1/3"}) {
  std::istringstream in(input);
  std::ostringstream out;
  BatchRun run;
  run.summary = RunBatch(in, out, ratios, options, [&](const std::string& line) { run.errors.push_back(line); });
  run.out = out.str();
  return run;
}

TEST(BatchLevels, QuotedFieldsBadRowsAndByteOrderMark) {
  const std::string input =
      "\xEF\xBB\xBFname,Low,HIGH,note\r\n"          // line 1
      "\"Acme, Inc.\",10,20\r\n"                    // 2: short row, padded
      "\"two\r\nlines \"\"q\"\"\",12,18,\"x,y\"\n"  // 3-4, LF only
      "gap,,20,\r\n"                                // 5: empty low
      "\r\n"                                        // 6: empty line
      "word,abc,20,\r\n"                            // 7: not a number
      "wide,1,2,3,4\r\n"                            // 8: a field too many
      "big,1000,3000,";                             // 9: no line end
  const BatchRun run = RunOn(input, {{ComputeMode::Resistance, ComputeMode::Support}, LevelScale::Linear, {}, {}});
  EXPECT_EQ(run.out,
            "name,Low,HIGH,note,mode,ratio,level,text\r\n"
            "\"Acme, Inc.\",10,20,,resistance,0.5,15,15\r\n"
            "\"Acme, Inc.\",10,20,,resistance,1/3,13.333333333333334,13.333\r\n"
            "\"Acme, Inc.\",10,20,,support,0.5,15,15\r\n"
            "\"Acme, Inc.\",10,20,,support,1/3,16.666666666666668,16.667\r\n"
            "\"two\r\nlines \"\"q\"\"\",12,18,\"x,y\",resistance,0.5,15,15\r\n"
            "\"two\r\nlines \"\"q\"\"\",12,18,\"x,y\",resistance,1/3,14,14\r\n"
            "\"two\r\nlines \"\"q\"\"\",12,18,\"x,y\",support,0.5,15,15\r\n"
            "\"two\r\nlines \"\"q\"\"\",12,18,\"x,y\",support,1/3,16,16\r\n"
            "big,1000,3000,,resistance,0.5,2000,\"2,000\"\r\n"
            "big,1000,3000,,resistance,1/3,1666.6666666666667,\"1,666.667\"\r\n"
            "big,1000,3000,,support,0.5,2000,\"2,000\"\r\n"
            "big,1000,3000,,support,1/3,2333.3333333333335,\"2,333.333\"\r\n");
  EXPECT_EQ(run.errors, (std::vector<std::string>{"line 5: 请输入低点和高点数据！",
                                                  "line 7: 'abc' is not a valid floating point value.",
                                                  "line 8: The row has more fields than the header."}));
  EXPECT_EQ(run.summary.rows, 6u);
  EXPECT_EQ(run.summary.badRows, 3u);
  EXPECT_EQ(run.summary.levels, 12u);
}

TEST(BatchLevels, RiseWritesZeroForSkippedRatiosAndTickTexts) {
  BatchOptions options{{ComputeMode::Rise}, LevelScale::Linear, PriceTick("0.05"), TickRounding::Up};
  EXPECT_EQ(RunOn("low\n10.01\n", options, {"0.191", "1"}).out,
            "low,mode,ratio,level,text\r\n"
            "10.01,rise,0.191,11.95,11.95\r\n"
            "10.01,rise,1,0,0.00\r\n");
  // The tick's own limit makes a bad row like any other.
  options.tick = PriceTick("1e-17");
  const BatchRun run = RunOn("low\n1\n10\n", options, {"0"});
  EXPECT_EQ(run.out, "low,mode,ratio,level,text\r\n1,rise,0,1,1.00000000000000000\r\n");
  EXPECT_EQ(run.errors, (std::vector<std::string>{"line 3: Level too large for tick 1e-17."}));
}

TEST(BatchLevels, LevelsMatchTheSingleCommand) {
  const RatioList ratios = SplitRatioText(DefaultRatioText);
  const std::vector<ComputeMode> modes(kAllComputeModes.begin(), kAllComputeModes.end());
  const std::vector<std::array<const char*, 3>> rows = {
      {"10", "20", "12"}, {"0.3", "7.77", "5.5"}, {"123.45", "99.9", "101"}};
  std::string input = "FROM,high,low\n";
  for (const auto& row : rows) input += std::string(row[2]) + "," + row[1] + "," + row[0] + "\n";
  const BatchRun run = RunOn(input, {modes, LevelScale::Linear, {}, {}}, ratios);
  ASSERT_TRUE(run.errors.empty());
  std::istringstream out(run.out);
  std::string line;
  std::getline(out, line);
  for (const auto& row : rows) {
    for (ComputeMode mode : modes) {
      const LevelTable levels = RunCompute({mode, row[0], row[1], row[2], LevelScale::Linear}, ratios).levels;
      for (std::size_t i = 0; i < ratios.size(); ++i) {
        ASSERT_TRUE(std::getline(out, line));
        // from,high,low,mode,ratio,level,text: the level is the sixth field.
        std::size_t at = 0;
        for (int field = 0; field < 5; ++field) at = line.find(',', at) + 1;
        double level = 0.0;
        std::from_chars(line.data() + at, line.data() + line.size(), level);
        EXPECT_EQ(level, levels[i]) << line;
      }
    }
  }
  EXPECT_FALSE(std::getline(out, line));
}

TEST(BatchLevels, RefusesBeforeWritingAnything) {
  const auto refuses = [](const std::string& input, const BatchOptions& options, const std::string& message) {
    std::istringstream in(input);
    std::ostringstream out;
    const bool raised =
        Raises<EConvertError>([&] { RunBatch(in, out, {"0.5"}, options, [](const std::string&) {}); }, message);
    return raised && out.str().empty();
  };
  const BatchOptions projection{{ComputeMode::ProjectionUp}, LevelScale::Linear, {}, {}};
  EXPECT_TRUE(refuses("low,high\n1,2\n", projection, "The input has no column 'from'."));
  EXPECT_TRUE(refuses("", projection, "The input has no header line."));
  EXPECT_TRUE(refuses("\xEF\xBB\xBF\r\n", projection, "The input has no header line."));
}

TEST(BatchLevels, EachModeTakesTheLogScaleWhereItApplies) {
  // Rise beside resistance stays linear; resistance keeps the log scale it would have alone.
  const BatchRun run = RunOn("low,high\n10,40\n", {{ComputeMode::Resistance, ComputeMode::Rise}, LevelScale::Log, {}, {}},
                             {"0.5"});
  EXPECT_EQ(run.out, "low,high,mode,ratio,level,text\r\n10,40,resistance,0.5,20,20\r\n10,40,rise,0.5,15,15\r\n");
}

// Rows fed through a pipe one at a time must come out while the input is
// still open, not when it ends.
TEST(BatchLevels, ARowReadFromAPipeIsWrittenBeforeTheNextArrives) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  std::thread batch([&] {
    platform::DescriptorBuffer readBuffer(in[0], platform::DescriptorBuffer::Direction::Read);
    platform::DescriptorBuffer writeBuffer(out[1], platform::DescriptorBuffer::Direction::Write);
    std::istream input(&readBuffer);
    std::ostream output(&writeBuffer);
    BatchOptions options;
    options.modes = {ComputeMode::Resistance};
    RunBatch(input, output, {"0.5"}, options, [](const std::string&) {});
    output.flush();
    close(out[1]);
  });
  const std::string rows = "low,high\n10,20\n";
  ASSERT_EQ(write(in[1], rows.data(), rows.size()), static_cast<ssize_t>(rows.size()));
  std::string seen;
  const std::string expected = "low,high,mode,ratio,level,text\r\n10,20,resistance,0.5,15,15\r\n";
  pollfd ready{out[0], POLLIN, 0};
  while (seen.size() < expected.size() && poll(&ready, 1, 20000) == 1) {
    char chunk[256];
    const ssize_t got = read(out[0], chunk, sizeof chunk);
    if (got <= 0) break;
    seen.append(chunk, static_cast<std::size_t>(got));
  }
  close(in[1]);
  batch.join();
  close(in[0]);
  close(out[0]);
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace tavimo
