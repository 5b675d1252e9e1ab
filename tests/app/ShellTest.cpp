// Finding and starting the desktop calculator: the first of the known
// calculators on PATH, started without a shell; nothing found, nothing done.

#include <gtest/gtest.h>

#include <QThread>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppTestSupport.h"
#include "app/Shell.h"

namespace tavimo::app::test {
namespace {

// Sets PATH for one test and puts it back afterwards.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& path) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~ScopedPath() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

void MakeProgram(const std::filesystem::path& path, const std::string& script) {
  WriteFile(path, "#!/bin/sh\n" + script + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(ShellTest, FirstKnownCalculatorOnThePathWins) {
  TTempDir first, second;
  MakeProgram(first.Path() / "xcalc", "exit 0");
  MakeProgram(second.Path() / "kcalc", "exit 0");
  MakeProgram(second.Path() / "gnome-calculator", "exit 0");
  ScopedPath path(first.Path().string() + ":" + second.Path().string());
  // gnome-calculator comes first in the preference order, wherever it is on PATH.
  EXPECT_EQ(FindCalculator(), (second.Path() / "gnome-calculator").string());
  std::filesystem::remove(second.Path() / "gnome-calculator");
  EXPECT_EQ(FindCalculator(), (second.Path() / "kcalc").string());
}

TEST(ShellTest, NoCalculatorMeansNothingHappens) {
  TTempDir empty;
  ScopedPath path(empty.Path().string());
  EXPECT_EQ(FindCalculator(), "");
  TDesktopShell shell;
  shell.StartCalculator();  // silent
}

TEST(ShellTest, CalculatorIsStartedDetachedWithoutArguments) {
  // A folder name a shell would split; an argument list passes it whole.
  TTempDir temp;
  const std::filesystem::path folder = temp.Path() / "my tools; echo";
  std::filesystem::create_directory(folder);
  const std::filesystem::path marker = temp.Path() / "started";
  MakeProgram(folder / "mate-calc", "echo \"$#\" > '" + marker.string() + "'");
  ScopedPath path(folder.string());
  TDesktopShell().StartCalculator();
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) QThread::msleep(20);
  ASSERT_TRUE(std::filesystem::exists(marker));
  for (int i = 0; i < 50 && ReadFile(marker).empty(); ++i) QThread::msleep(20);
  EXPECT_EQ(ReadFile(marker), "0\n");
}

}  // namespace
}  // namespace tavimo::app::test
