// The built program, run as a user runs it: output, exit status, stderr, and
// where it finds data.ini.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ProcessResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tavimo-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Runs `program` in `workingDirectory` with a fixed environment (C.UTF-8
// separators, a scratch per-user folder), stdout and stderr captured; with
// `asNobody`, as user nobody when the tests run as root.
ProcessResult RunProcess(const fs::path& program, const std::vector<std::string>& arguments,
                         const fs::path& workingDirectory, bool asNobody = false) {
  const fs::path outPath = workingDirectory / ".stdout";
  const fs::path errPath = workingDirectory / ".stderr";
  std::vector<std::string> words = {program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::string home = "HOME=" + workingDirectory.string();
  std::string config = "XDG_CONFIG_HOME=" + (workingDirectory / "config").string();
  std::string locale = "LC_ALL=C.UTF-8";
  char* envp[] = {home.data(), config.data(), locale.data(), nullptr};

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    constexpr uid_t kNobody = 65534;
    if (asNobody && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
         setresuid(kNobody, kNobody, kNobody) != 0))
      _exit(126);
    if (out < 0 || err < 0 || chdir(workingDirectory.c_str()) != 0) _exit(127);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execve(argv[0], argv.data(), envp);
    _exit(127);
  }
  ProcessResult result;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

// A copy of the program in a folder of its own, so the data.ini beside it
// is under the test's control.
class CliProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(scratch_.Path() / "bin");
    fs::create_directory(scratch_.Path() / "work");
    program_ = scratch_.Path() / "bin" / "tavimo-cli";
    fs::copy_file(TAVIMO_CLI_PATH, program_);
  }
  ProcessResult RunProgram(const std::vector<std::string>& arguments, bool asNobody = false) {
    return RunProcess(program_, arguments, scratch_.Path() / "work", asNobody);
  }
  std::string Beside(const std::string& name) const { return (scratch_.Path() / "bin" / name).string(); }
  void WriteBeside(const std::string& name, const std::string& content) {
    std::ofstream(scratch_.Path() / "bin" / name, std::ios::binary) << content;
  }
  void WriteInWorkingDirectory(const std::string& name, const std::string& content) {
    std::ofstream(scratch_.Path() / "work" / name, std::ios::binary) << content;
  }

  Scratch scratch_;
  fs::path program_;
};

TEST_F(CliProgramTest, ResistanceWithDefaultListPrintsSixteenLevels) {
  const ProcessResult result = RunProgram({"resistance", "--low", "10", "--high", "20"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "0.191\t11.91\n0.236\t12.36\n1/3\t13.333\n0.382\t13.82\n0.5\t15\n0.618\t16.18\n2/3\t16.667\n"
            "0.809\t18.09\n1\t20\n1.191\t21.91\n1.236\t22.36\n1.382\t23.82\n1.5\t25\n1.618\t26.18\n"
            "1.809\t28.09\n2\t30\n");
}

TEST_F(CliProgramTest, ReadsTheDataIniBesideTheProgramNotInTheWorkingDirectory) {
  WriteInWorkingDirectory("data.ini", "[tvmo]\nnum=0.25\n");
  EXPECT_EQ(RunProgram({"rise", "--low", "10"}).out.substr(0, 13), "0.191\t11.91\n0");
  WriteBeside("data.ini", "[tvmo]\nnum=0.5,1/4\n");
  EXPECT_EQ(RunProgram({"rise", "--low", "10"}).out, "0.5\t15\n1/4\t12.5\n");
  EXPECT_EQ(RunProgram({"rise", "--low", "10", "--ratios", "2/5"}).out, "2/5\t14\n");
}

TEST_F(CliProgramTest, FailuresPrintTheMessageOnStderrWithStatusOne) {
  WriteBeside("data.ini", "[tvmo]\nnum=0.5,abc\n");
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{"rise", "--high", "20"}, "请输入低点数据！\n"},
      {{"support", "--low", "abc", "--high", "20"}, "'abc' is not a valid floating point value.\n"},
      {{"decline", "--high", "10"}, "'abc' is not a valid floating point value.\n"},  // from data.ini
  };
  for (const auto& c : cases) {
    const ProcessResult result = RunProgram(c.arguments);
    EXPECT_EQ(result.exitStatus, 1) << c.arguments[0];
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
}

TEST_F(CliProgramTest, UsageErrorIsStatusTwoWithUsageOnStderr) {
  const ProcessResult result = RunProgram({"sideways"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("tavimo-cli: unknown mode 'sideways'", 0), 0u);
  EXPECT_NE(result.err.find("usage: tavimo-cli MODE"), std::string::npos);
  EXPECT_EQ(RunProgram({}).exitStatus, 2);
}

TEST_F(CliProgramTest, HelpIsStatusZeroWithUsageOnStdout) {
  const ProcessResult result = RunProgram({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.rfind("usage: tavimo-cli MODE", 0), 0u);
}

constexpr const char* kResistanceOnTick =
    "0.191\t11.90\n0.236\t12.35\n1/3\t13.35\n0.382\t13.80\n0.5\t15.00\n0.618\t16.20\n2/3\t16.65\n"
    "0.809\t18.10\n1\t20.00\n1.191\t21.90\n1.236\t22.35\n1.382\t23.80\n1.5\t25.00\n1.618\t26.20\n"
    "1.809\t28.10\n2\t30.00\n";

TEST_F(CliProgramTest, ResistanceOnATickPrintsTheTicksTexts) {
  const ProcessResult result = RunProgram({"resistance", "--low", "10", "--high", "20", "--tick", "0.05"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, kResistanceOnTick);
}

// The window's Ctrl+C copies what tavimo-cli prints, so the stored tick and
// scale apply unless the command line says otherwise.
TEST_F(CliProgramTest, StoredTickAndScaleApplyAsTheWindowShowsThem) {
  const std::vector<std::string> resistance = {"resistance", "--low", "10", "--high", "20"};
  const std::string plain = RunProgram(resistance).out;
  const std::string rise = RunProgram({"rise", "--low", "10"}).out;
  const auto with = [&](std::vector<std::string> arguments, std::initializer_list<std::string> more) {
    arguments.insert(arguments.end(), more);
    return RunProgram(arguments);
  };

  WriteBeside("data.ini", "[tvmo]\ntick=0.05\n");
  EXPECT_EQ(RunProgram(resistance).out, kResistanceOnTick);
  EXPECT_EQ(with(resistance, {"--tick", ""}).out, plain);
  EXPECT_EQ(with(resistance, {"--tick=1", "--ratios=0.5,1/3"}).out, "0.5\t15\n1/3\t13\n");

  WriteBeside("data.ini", "[tvmo]\nscale=log\n");
  EXPECT_EQ(with(resistance, {"--ratios", "0.5"}).out, "0.5\t14.142\n");
  EXPECT_EQ(with(resistance, {"--ratios", "0.5", "--scale-levels", "linear"}).out, "0.5\t15\n");
  const ProcessResult storedLogRise = RunProgram({"rise", "--low", "10"});
  EXPECT_EQ(storedLogRise.exitStatus, 0);
  EXPECT_EQ(storedLogRise.out, rise) << "a stored log scale leaves rise linear";
  EXPECT_EQ(RunProgram({"rise", "--low", "10", "--scale-levels", "log"}).exitStatus, 2);

  WriteBeside("data.ini", "[tvmo]\ntick=0.0.5\n");
  const ProcessResult badTick = RunProgram(resistance);
  EXPECT_EQ(badTick.exitStatus, 1);
  EXPECT_EQ(badTick.err, "Invalid tick '0.0.5'.\n");
  EXPECT_EQ(with(resistance, {"--tick="}).out, plain);
}

TEST_F(CliProgramTest, BatchStreamsAFileAndReportsBadRows) {
  WriteInWorkingDirectory("waves.csv", "name,low,high\nA,10,20\nB,,20\nC,1,2\n");
  const ProcessResult result =
      RunProgram({"batch", "support", "--input", "waves.csv", "--ratios", "0.5", "--tick", "0.1"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out,
            "name,low,high,mode,ratio,level,text\r\nA,10,20,support,0.5,15,15.0\r\n"
            "C,1,2,support,0.5,1.5,1.5\r\n");
  EXPECT_EQ(result.err, "line 3: 请输入低点和高点数据！\n");

  const ProcessResult missing = RunProgram({"batch", "rise", "--input", "absent.csv"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "tavimo-cli: cannot read 'absent.csv': No such file or directory\n");
}

constexpr const char* kDefaultText = "0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2";

TEST_F(CliProgramTest, RatiosPrintsStoresAndResetsTheListBesideTheProgram) {
  EXPECT_EQ(RunProgram({"ratios"}).out, std::string(kDefaultText) + "\n");
  const ProcessResult set = RunProgram({"ratios", "--set", "0.5,1/3"});
  EXPECT_EQ(set.exitStatus, 0);
  EXPECT_EQ(set.out + set.err, "");
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=0.5,1/3\n");
  EXPECT_EQ(RunProgram({"ratios"}).out, "0.5,1/3\n");
  EXPECT_EQ(RunProgram({"rise", "--low", "10"}).out, "0.5\t15\n1/3\t13.333\n");

  // Refused as the settings button refuses it: the message, nothing stored.
  for (const char* refused : {"0.5, 1", "0.5,-1", "1e3", "0.5\xEF\xBC\x8C" "1"}) {
    const ProcessResult result = RunProgram({"ratios", "--set", refused});
    EXPECT_EQ(result.exitStatus, 1) << refused;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "所输数据有错误，请重新设置\n");
  }
  // The default text replaces another stored list, as the dialog's answer does.
  EXPECT_EQ(RunProgram({"ratios", "--set", kDefaultText}).exitStatus, 0);
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=" + std::string(kDefaultText) + "\n");
  // A text a read would cut is refused, and nothing is stored.
  const ProcessResult tooLong = RunProgram({"ratios", "--set", "0.5," + std::string(2044, '1')});
  EXPECT_EQ(tooLong.exitStatus, 1);
  EXPECT_EQ(tooLong.err, "Ratio list text longer than 2047 bytes.\n");
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=" + std::string(kDefaultText) + "\n");
  // An empty text is stored; loading then falls back to the default list.
  EXPECT_EQ(RunProgram({"ratios", "--set", ""}).exitStatus, 0);
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=\n");
  EXPECT_EQ(RunProgram({"ratios"}).out, std::string(kDefaultText) + "\n");
  EXPECT_EQ(RunProgram({"ratios", "--set", "2^,1//2"}).exitStatus, 0) << "the caret and an empty entry pass";
  EXPECT_EQ(RunProgram({"ratios", "--reset"}).exitStatus, 0);
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=" + std::string(kDefaultText) + "\n");
}

TEST_F(CliProgramTest, ASettingsFileThatCannotBeReadIsNamedAndNotWrittenOver) {
  fs::create_directory(Beside("data.ini"));
  const ProcessResult levels = RunProgram({"resistance", "--low", "10", "--high", "20"});
  EXPECT_EQ(levels.exitStatus, 0);
  EXPECT_EQ(levels.err, "tavimo-cli: cannot read '" + Beside("data.ini") + "': Is a directory; using the default ratio list\n");
  EXPECT_EQ(std::count(levels.out.begin(), levels.out.end(), '\n'), 16);
  // An explicit list needs nothing of the file.
  EXPECT_EQ(RunProgram({"resistance", "--low", "10", "--high", "20", "--ratios", "0.5"}).err, "");
  const ProcessResult set = RunProgram({"ratios", "--set", "0.5"});
  EXPECT_EQ(set.exitStatus, 1);
  EXPECT_TRUE(fs::is_directory(Beside("data.ini")));
}

TEST_F(CliProgramTest, RatiosOnAReadOnlyFileFailWithTheErrorBoxText) {
  WriteBeside("data.ini", "[tvmo]\nnum=0.5\n");
  ASSERT_EQ(chmod(Beside("data.ini").c_str(), 0444), 0);
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"ratios", "--set", "0.618"},
                                                    std::vector<std::string>{"ratios", "--reset"}}) {
    const ProcessResult result = RunProgram(arguments);
    EXPECT_EQ(result.exitStatus, 1) << arguments.back();
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Unable to write to " + Beside("data.ini") + ".\n");
  }
  EXPECT_EQ(ReadFile(Beside("data.ini")), "[tvmo]\nnum=0.5\n");
  EXPECT_EQ(RunProgram({"ratios"}).out, "0.5\n");
}

// An installed copy: its folder is not writable for the user and holds no
// data.ini, so the list lives in the per-user file, as the window keeps it.
TEST_F(CliProgramTest, AnInstalledCopyKeepsItsRatiosInThePerUserFile) {
  const fs::path config = scratch_.Path() / "work" / "config";
  fs::create_directory(config);
  ASSERT_EQ(chmod(config.c_str(), 0777), 0);
  for (const fs::path& folder : {scratch_.Path(), scratch_.Path() / "work"}) ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
  ASSERT_EQ(chmod((scratch_.Path() / "bin").c_str(), 0555), 0);
  const ProcessResult set = RunProgram({"ratios", "--set", "0.5,2/3"}, true);
  ASSERT_NE(set.exitStatus, 126) << "could not switch to an unprivileged user";
  EXPECT_EQ(set.exitStatus, 0) << set.err;
  EXPECT_EQ(ReadFile(config / "tavimo" / "data.ini"), "[tvmo]\nnum=0.5,2/3\n");
  EXPECT_FALSE(fs::exists(Beside("data.ini")));
  EXPECT_EQ(RunProgram({"ratios"}, true).out, "0.5,2/3\n");
  ASSERT_EQ(chmod((scratch_.Path() / "bin").c_str(), 0755), 0);
}

}  // namespace
