// tavimo-cli on price files in-process: swings, MODE --input and auto,
// stats and scan, with bad rows and files that cannot be read.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/CliRun.h"

namespace tavimo::cli {
namespace {

std::string WriteFile(const std::string& name, const std::string& content) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// Integer prices with P = 5: 100 up to 110, down to 99, up to 105; the 5%
// turn from 110 is reached exactly at 104.5, and the bar of 99 reaches 105,
// confirming its own low.
const std::string kBars =
    "Date,Open,High,Low,Close,Volume\n"
    "2024-01-01,100,101,100,101,1\n"
    "2024-01-02,101,110,101,109,1\n"
    "2024-01-03,109,109,104.5,105,1\n"
    "2024-01-04,105,105,99,100,1\n"
    "2024-01-05,100,105,100,104,1\n"
    "2024-01-06,x,1,1,1,1\n";

TEST(CliHistory, SwingsListEachPointWithTheBarThatConfirmedIt) {
  const std::string path = WriteFile("cli_swings.csv", kBars);
  const CliResult text = RunCli({"swings", "--input", path});
  EXPECT_EQ(text.exitStatus, 1);  // the bad row
  EXPECT_EQ(text.err, "line 7: 'x' is not a valid price\n");
  EXPECT_EQ(text.out,
            "2024-01-01\tlow\t100\t2024-01-02\n"
            "2024-01-02\thigh\t110\t2024-01-03\n"
            "2024-01-04\tlow\t99\t2024-01-04\n"
            "2024-01-05\thigh\t105\t\n");
  EXPECT_EQ(RunCli({"swings", "--input", path, "--format", "json"}).out,
            "{\"change\": 5, \"points\": [\n  {\"time\": \"2024-01-01\", \"kind\": \"low\", \"price\": 100, "
            "\"confirmed\": \"2024-01-02\"},\n  {\"time\": \"2024-01-02\", \"kind\": \"high\", \"price\": 110, "
            "\"confirmed\": \"2024-01-03\"},\n  {\"time\": \"2024-01-04\", \"kind\": \"low\", \"price\": 99, "
            "\"confirmed\": \"2024-01-04\"},\n  {\"time\": \"2024-01-05\", \"kind\": \"high\", \"price\": 105, "
            "\"confirmed\": null}\n]}\n");
  EXPECT_EQ(RunCli({"swings", "--input", path, "--change", "100"}).err, "Invalid change '100'.\n");
}

TEST(CliHistory, ModeInputTakesTheLegsPricesAndAutoItsMode) {
  const std::string path = WriteFile("cli_legs.csv", kBars);
  // Leg 1 runs up from 99 to 105: auto is support, as support --low 99 --high 105 prints it.
  const CliResult automatic = RunCli({"auto", "--input", path, "--ratios", "0.5,1/3"});
  EXPECT_EQ(automatic.out, RunCli({"support", "--low", "99", "--high", "105", "--ratios", "0.5,1/3"}).out);
  EXPECT_EQ(automatic.out, "0.5\t102\n1/3\t103\n");
  EXPECT_EQ(RunCli({"resistance", "--input", path, "--leg", "2", "--ratios", "0.5"}).out, "0.5\t104.5\n");
  const CliResult missing = RunCli({"auto", "--input", path, "--leg", "4"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_NE(missing.err.find("No leg 4 in '" + path + "'.\n"), std::string::npos) << missing.err;
  EXPECT_EQ(RunCli({"support", "--input", path, "--low", "1"}).exitStatus, kExitUsage);
}

TEST(CliHistory, StatsAddUpOverFilesAndScanKeepsTheOrderGiven) {
  const std::string path = WriteFile("cli_stats.csv", kBars.substr(0, kBars.rfind("2024-01-06")));
  // One depth: 11 / 10 = 1.1 from 99 after the rise of 10.
  EXPECT_EQ(RunCli({"stats", "--input", path, "--ratios", "1,1.1", "--tolerance", "0.1", "--format", "csv"}).out,
            "ratio,hits,legs,share,resumed,decided,resumed_share\r\n"
            "1,1,1,100.0,0,0,-\r\n1.1,1,1,100.0,0,0,-\r\n");
  EXPECT_EQ(RunCli({"stats", "--input", path, "--input", path, "--ratios", "1"}).out, "1\t0\t2\t0.0\t0\t0\t-\n");
  EXPECT_EQ(RunCli({"stats", "--input", path, "--tolerance", "-1"}).err, "Invalid tolerance '-1'.\n");

  const std::string missing = ::testing::TempDir() + "cli_missing.csv";
  const CliResult scan = RunCli({"scan", path, missing, path, "--ratios", "0.5,1/3"});
  EXPECT_EQ(scan.exitStatus, 1);
  const std::string line = path + "\t5\t2024-01-05\t104\tup\t99\t105\tsupport\t1/3\t103\t0.96\n";
  EXPECT_EQ(scan.out, line + line);
  EXPECT_EQ(scan.err, "tavimo-cli: cannot read '" + missing + "': No such file or directory\n");
}

}  // namespace
}  // namespace tavimo::cli

namespace tavimo::cli {
namespace {

TEST(CliHistory, StatsDrawTheDepthsHistogramAsAPicture) {
  const std::string path = WriteFile("cli_histogram.csv", kBars.substr(0, kBars.rfind("2024-01-06")));
  const CliResult picture = RunCli({"stats", "--input", path, "--png", "-", "--size", "300x200"});
  ASSERT_EQ(picture.exitStatus, 0) << picture.err;
  EXPECT_EQ(picture.out.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(RunCli({"stats", "--input", path, "--layout"}).exitStatus, kExitUsage);
}

}  // namespace
}  // namespace tavimo::cli

namespace tavimo::cli {
namespace {

TEST(CliHistory, ChartDrawsThePriceFileAsAPictureOfTheSizeAsked) {
  const std::string path = WriteFile("cli_chart.csv", kBars.substr(0, kBars.rfind("2024-01-06")));
  const CliResult picture = RunCli({"chart", "--input", path, "--png", "-", "--size", "320x200", "--scale", "2"});
  ASSERT_EQ(picture.exitStatus, 0) << picture.err;
  ASSERT_GT(picture.out.size(), 24u);
  EXPECT_EQ(picture.out.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // The header's width and height, big-endian: twice the size asked.
  const auto word = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(picture.out[at + i]);
    return value;
  };
  EXPECT_EQ(word(16), 640u);
  EXPECT_EQ(word(20), 400u);
  EXPECT_EQ(RunCli({"chart", "--input", path}).exitStatus, kExitUsage);
}

}  // namespace
}  // namespace tavimo::cli
