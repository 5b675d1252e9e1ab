// tavimo-cli's chart output: the PNG with the caption over it, its size, the
// start-up chart without a mode, the layout report, and failures.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliRun.h"
#include "platform/FileOps.h"

namespace tavimo::cli {
namespace {

namespace fs = std::filesystem;

class ChartOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavimo-chart-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  std::string File(const char* name) const { return (dir / name).string(); }
  fs::path dir;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int CountReddish(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80) ++n;
    }
  return n;
}

const std::vector<std::string> kResistance = {"resistance", "--low", "10", "--high", "20", "--ratios",
                                              "0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2"};

TEST_F(ChartOutput, PngHoldsTheChartWithTheCaptionAndTheLevelsStillPrint) {
  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--png", File("chart.png")});
  const CliResult result = RunCli(args);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out.rfind("0.191\t11.91\n", 0), 0u);
  const QImage image(QString::fromStdString(File("chart.png")));
  ASSERT_EQ(image.size(), QSize(597, 504));
  EXPECT_EQ(image.pixel(590, 1) & 0xFFFFFF, 0xFFFF00u) << "yellow at the top";
  // The red caption stands at (16, 128), left of the axis labels.
  EXPECT_GT(CountReddish(image, QRect(16, 128, 28, 243)), 300);
  EXPECT_EQ(CountReddish(image, QRect(16, 20, 28, 100)), 0);
}

TEST_F(ChartOutput, SizeOptionSetsThePictureSize) {
  for (const auto& [size, w, h] : {std::tuple{"300x200", 300, 200}, std::tuple{"3000x2000", 3000, 2000}}) {
    std::vector<std::string> args = kResistance;
    args.insert(args.end(), {"--png", File("sized.png"), "--size", size});
    const CliResult result = RunCli(args);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(QImage(QString::fromStdString(File("sized.png"))).size(), QSize(w, h)) << size;
  }
}

TEST_F(ChartOutput, ScaleDrawsTheChartForThatPixelRatioAndScaleOneChangesNothing) {
  const auto png = [&](const char* name, std::vector<std::string> extra) {
    std::vector<std::string> args = kResistance;
    args.insert(args.end(), {"--png", File(name)});
    args.insert(args.end(), extra.begin(), extra.end());
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return ReadBytes(File(name));
  };
  const std::string plain = png("plain.png", {});
  EXPECT_EQ(png("one.png", {"--scale", "1"}), plain);
  png("two.png", {"--scale=2"});
  const QImage two(QString::fromStdString(File("two.png")));
  EXPECT_EQ(two.size(), QSize(1194, 1008));
  // The caption is drawn for the ratio too: at twice its place and size.
  EXPECT_GT(CountReddish(two, QRect(32, 256, 56, 486)), 4 * 300);
  EXPECT_EQ(CountReddish(two, QRect(32, 40, 56, 200)), 0);
  png("odd.png", {"--scale", "1.5", "--size", "599x300"});
  EXPECT_EQ(QImage(QString::fromStdString(File("odd.png"))).size(), QSize(899, 450)) << "898.5 rounds up";

  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--layout", "--scale", "2"});
  const CliResult layout = RunCli(args);
  ASSERT_EQ(layout.exitStatus, 0) << layout.err;
  EXPECT_NE(layout.out.find("\"size\":[1194,1008]"), std::string::npos);
  EXPECT_NE(layout.out.find("\"plotRect\":[216,152,1134,856]"), std::string::npos) << layout.out.substr(0, 200);
}

TEST_F(ChartOutput, WithoutAModeTheChartIsTheStartUpOne) {
  const CliResult png = RunCli({"--png", File("start.png"), "--ratios", "0.5,1"});
  ASSERT_EQ(png.exitStatus, 0) << png.err;
  EXPECT_EQ(png.out, "");
  EXPECT_TRUE(fs::exists(File("start.png")));

  const CliResult layout = RunCli({"--layout", "--ratios", "0.5,1"});
  ASSERT_EQ(layout.exitStatus, 0) << layout.err;
  EXPECT_EQ(layout.out.front(), '{');
  EXPECT_NE(layout.out.find("\"text\":\"0\""), std::string::npos);
  EXPECT_EQ(layout.out.find("\"polygon\":[["), std::string::npos) << "no bar has a length";
}

TEST_F(ChartOutput, LayoutReplacesTheLevelLines) {
  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--layout", "--size", "800x600"});
  const CliResult result = RunCli(args);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out.find("0.191\t"), std::string::npos);
  EXPECT_NE(result.out.find("\"size\":[800,600]"), std::string::npos);
  EXPECT_NE(result.out.find("\"text\":\"13.333\""), std::string::npos);
  EXPECT_EQ(result.out.back(), '\n');
}

// On a tick the marks show the tick's texts, as the printed levels do.
TEST_F(ChartOutput, MarksOnATickShowTheTicksTexts) {
  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--layout", "--tick", "0.05"});
  const CliResult result = RunCli(args);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  for (const char* mark : {"\"text\":\"11.90\"", "\"text\":\"13.35\"", "\"text\":\"30.00\""})
    EXPECT_NE(result.out.find(mark), std::string::npos) << mark;
  EXPECT_EQ(result.out.find("\"text\":\"13.333\""), std::string::npos);
}

TEST_F(ChartOutput, UnwritableFileIsAFailureWithItsName) {
  const std::string target = File("missing/dir/chart.png");
  const CliResult result = RunCli({"--png", target});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("tavimo-cli: cannot write the chart to '" + target + "'", 0), 0u) << result.err;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A disk that fills up while the picture is written: the command fails with
// the reason, and the picture that was there stays byte for byte.
TEST_F(ChartOutput, AFailedWriteFailsAndKeepsTheOldPicture) {
  const std::string target = File("chart.png");
  ASSERT_EQ(RunCli({"--png", target, "--size", "300x200"}).exitStatus, 0);
  const std::string old = ReadAll(target);
  const platform::FileOps full{platform::SystemFileOps().open,
                               [](int fd, const void* data, size_t size) -> ssize_t {
                                 // A little fits, then the disk is full.
                                 static size_t room = 4096;
                                 if (room == 0) return errno = ENOSPC, -1;
                                 const ssize_t n = platform::SystemFileOps().write(fd, data, std::min(size, room));
                                 if (n > 0) room -= static_cast<size_t>(n);
                                 return n;
                               },
                               platform::SystemFileOps().fsync, platform::SystemFileOps().close,
                               platform::SystemFileOps().rename, platform::SystemFileOps().unlink};
  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--png", target});
  platform::SetFileOps(&full);
  const CliResult result = RunCli(args);
  platform::SetFileOps(nullptr);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "tavimo-cli: cannot write the chart to '" + target + "': No space left on device\n");
  EXPECT_TRUE(ReadAll(target) == old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A device or a pipe is no picture file: refused at once, without blocking
// on a pipe and without writing into it.
TEST_F(ChartOutput, TargetsThatAreNotRegularFilesAreRefused) {
  const std::string pipe = File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  for (const std::string& target : {pipe, std::string("/dev/full"), std::string("/dev/null")}) {
    const CliResult result = RunCli({"--png", target});
    EXPECT_EQ(result.exitStatus, 1) << target;
    EXPECT_EQ(result.err, "tavimo-cli: cannot write the chart to '" + target + "': not a regular file\n");
  }
  char byte = 0;
  EXPECT_LE(read(reader, &byte, 1), 0) << "nothing was written into the pipe";
  close(reader);
}

TEST_F(ChartOutput, DashWritesThePictureAloneToStandardOutput) {
  std::vector<std::string> args = kResistance;
  args.insert(args.end(), {"--png", "-", "--size", "300x200"});
  const CliResult result = RunCli(args);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  ASSERT_EQ(result.out.rfind("\x89PNG\r\n\x1a\n", 0), 0u);
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(result.out.data()),
                                 static_cast<int>(result.out.size()), "PNG"));
  EXPECT_EQ(image.size(), QSize(300, 200));
  EXPECT_FALSE(fs::exists("-"));
  EXPECT_EQ(RunCli({"--png", "-", "--layout"}).exitStatus, 2);
}

// The levels of a wave from 0 to 8e307 fit a double, but the chart's value
// range widened for the marks does not: the paint raises EOverflow, which the
// command reports as the window would, and no picture is written.
TEST_F(ChartOutput, AnOverflowingChartFailsWithTheOverflowMessage) {
  const CliResult result = RunCli({"resistance", "--low", "0", "--high", "8e307", "--png", File("big.png")});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Floating point overflow.\n");
  EXPECT_FALSE(fs::exists(File("big.png")));
}

TEST_F(ChartOutput, FailedCommandWritesNoPicture) {
  const CliResult result = RunCli({"resistance", "--low", "10", "--png", File("none.png")});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_FALSE(fs::exists(File("none.png")));
}

TEST(ChartOutputOptions, BadScalesAreUsageErrors) {
  for (const char* scale : {"0", "0.0", "-1", "abc", "1.", ".5", "1e2", "1,5", "", "10.5", "11", "1.2.3", "2 ", "1234567"}) {
    const CliResult result = RunCli({"--layout", "--scale", scale});
    EXPECT_EQ(result.exitStatus, 2) << scale;
    EXPECT_NE(result.err.find("invalid scale '" + std::string(scale) + "'"), std::string::npos) << result.err;
  }
  for (const char* scale : {"10", "0.25", "1.75", "3"}) EXPECT_EQ(RunCli({"--layout", "--scale", scale}).exitStatus, 0) << scale;
  // The picture's size counts: --size times --scale, at most 10000 a side.
  const CliResult big = RunCli({"--layout", "--size", "6000x100", "--scale", "2"});
  EXPECT_EQ(big.exitStatus, 2);
  EXPECT_EQ(big.err.rfind("tavimo-cli: the picture would be 12000x200 pixels (--size times --scale); each side is at most 10000\n", 0), 0u) << big.err;
}

TEST(ChartOutputOptions, BadSizesAreUsageErrors) {
  for (const char* size : {"0x10", "10", "10x", "x10", "ax5", "10001x5", "5x-3", "10X10"}) {
    const CliResult result = RunCli({"--layout", "--size", size});
    EXPECT_EQ(result.exitStatus, 2) << size;
    EXPECT_NE(result.err.find("invalid size '" + std::string(size) + "'"), std::string::npos) << result.err;
  }
  EXPECT_EQ(RunCli({"--size", "10x10"}).exitStatus, 2) << "a size alone still needs a mode";
}

}  // namespace
}  // namespace tavimo::cli

namespace tavimo::cli {
namespace {

// Three rising bars, then three falling ones.
constexpr const char* kRiseThenFall =
    "Date,Open,High,Low,Close\n"
    "2024-01-01,100,103,99,102\n2024-01-02,102,106,101,105\n2024-01-03,105,110,104,109\n"
    "2024-01-04,109,110,100,101\n2024-01-05,101,102,95,96\n2024-01-06,96,97,90,91\n";

struct CandlePixels {
  int red = 0, green = 0;
};

CandlePixels CountCandlePixels(const CliResult& result) {
  QImage image;
  EXPECT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(result.out.data()), static_cast<int>(result.out.size()), "PNG"));
  CandlePixels count;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y) & 0xFFFFFF;
      count.red += p == 0xE02020;
      count.green += p == 0x10A040;
    }
  return count;
}

// Sets the locale variables for one test and puts them back after.
class LocaleScope {
 public:
  LocaleScope(const char* lcAll, const char* lang) {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
    if (lcAll) setenv("LC_ALL", lcAll, 1);
    if (lang) setenv("LANG", lang, 1);
  }
  ~LocaleScope() {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name, value->c_str(), 1);
      else unsetenv(name);
    }
  }

 private:
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(ChartOutput, PriceChartCandlesFollowTheLocalesConventionAndTheSpanAsked) {
  const std::string path = File("bars.csv");
  std::ofstream(path) << kRiseThenFall;
  const auto run = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"chart", "--input", path, "--png", "-", "--size", "300x200"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args);
  };
  struct Case {
    const char *lcAll, *lang;
    std::vector<std::string> span;
    bool red, green;  // which candle colours show
  };
  for (const Case& c : std::vector<Case>{{"C", "en_US.UTF-8", {"--to", "2024-01-03"}, true, false},
                                        {nullptr, "en_US.UTF-8", {"--to", "2024-01-03"}, false, true},
                                        {nullptr, "en_US.UTF-8", {"--from", "2024-01-04"}, true, false},
                                        {nullptr, "zh_CN.UTF-8", {"--from", "2024-01-04 00:00"}, false, true},
                                        {nullptr, nullptr, {}, true, true}}) {
    const LocaleScope locale(c.lcAll, c.lang);
    const CliResult result = run(c.span);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const CandlePixels pixels = CountCandlePixels(result);
    EXPECT_EQ(pixels.red > 0, c.red) << (c.lang ? c.lang : "-") << " " << (c.span.empty() ? "" : c.span[1]);
    EXPECT_EQ(pixels.green > 0, c.green) << (c.lang ? c.lang : "-") << " " << (c.span.empty() ? "" : c.span[1]);
  }
  EXPECT_EQ(run({"--from", "2024-02-30"}).err, "Invalid time '2024-02-30'.\n");
  EXPECT_EQ(run({"--from", "2024-02-01"}).err, "No price bars from 2024-02-01 to the last in '" + path + "'.\n");
}

}  // namespace
}  // namespace tavimo::cli
