// The settings file in odd places: a directory named data.ini, a dangling
// symbolic link, a pipe, a file the user may not read, a folder the user may
// not write, a path with blanks and non-ASCII characters. Reading gives the
// default list where nothing can be read; a save that cannot be done raises
// "Unable to write to <path>" and leaves what was there.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "RobustnessSupport.h"
#include "calc/RatioList.h"
#include "calc/SettingsFile.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;

const RatioList& DefaultList() {
  static const RatioList list = SplitRatioText(DefaultRatioText);
  return list;
}

// "ok", or the message of the failed save.
std::string SaveOutcome(const std::string& text, const std::string& path) {
  try {
    SaveRatioText(text, path);
    return "ok";
  } catch (const EIniFileException& error) {
    return error.Message();
  }
}

TEST(SettingsOddPlaces, DirectoryNamedDataIni) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  EXPECT_EQ(ReadRatioList(path), DefaultList());
  EXPECT_EQ(SaveOutcome("0.5", path), "Unable to write to " + path);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_TRUE(directory.Entries("data.ini").empty());
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(SettingsOddPlaces, PipeNamedDataIni) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
  EXPECT_EQ(ReadRatioList(path), DefaultList());  // must not block waiting for a writer
  EXPECT_EQ(SaveOutcome("0.5", path), "Unable to write to " + path);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(SettingsOddPlaces, DanglingLinkGivesDefaultsAndASaveCreatesItsTarget) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  ASSERT_EQ(symlink("stored.ini", path.c_str()), 0);
  EXPECT_EQ(ReadRatioList(path), DefaultList());
  EXPECT_EQ(SaveOutcome("0.5,1/3", path), "ok");
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadBytes(directory.File("stored.ini")), "[tvmo]\nnum=0.5,1/3\n");
  EXPECT_EQ(ReadRatioList(path), (RatioList{"0.5", "1/3"}));
}

TEST(SettingsOddPlaces, LinkIntoAMissingFolderFailsAndStays) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  ASSERT_EQ(symlink("missing/stored.ini", path.c_str()), 0);
  EXPECT_EQ(SaveOutcome("0.5", path), "Unable to write to " + path);
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(SettingsOddPlaces, BlanksAndNonAsciiInThePath) {
  ScratchDirectory directory;
  const std::string folder = directory.File("黄金 分割 ratios\t/");
  const std::string path = folder + "data.ini";
  EXPECT_EQ(ReadRatioList(path), DefaultList());
  EXPECT_EQ(SaveOutcome("0.5,2/3", path), "ok");  // the folder is made on the first save
  EXPECT_EQ(ReadRatioList(path), (RatioList{"0.5", "2/3"}));
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  std::filesystem::remove(path);
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  EXPECT_EQ(SaveOutcome("1", path), "Unable to write to " + path);  // the message names the path byte for byte
}

// Runs `check` as a user without privileges: in a child that gives up root
// when the tests run as root (root reads and writes whatever the permission
// bits say), else in this process. Its result comes back as text; nullopt
// when the child could not give up root.
std::optional<std::string> AsUnprivilegedUser(const std::function<std::string()>& check) {
  if (geteuid() != 0) return check();
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    close(channel[0]);
    constexpr uid_t kNobody = 65534;
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0)
      _exit(2);
    const std::string result = check();
    const bool sent = write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  std::string result;
  char buffer[512];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
  return result;
}

std::string Joined(const RatioList& list) {
  std::string text;
  for (const std::string& entry : list) text += (text.empty() ? "" : "|") + entry;
  return text;
}

TEST(SettingsOddPlaces, UnreadableFileGivesTheDefaultList) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=0.5\n");
  ASSERT_EQ(chmod(directory.Path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  const std::optional<std::string> read = AsUnprivilegedUser([&] { return Joined(ReadRatioList(path)); });
  if (!read) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*read, Joined(DefaultList()));
}

TEST(SettingsOddPlaces, FolderWithoutWritePermissionFailsAndKeepsTheFile) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  const std::string old = "[tvmo]\nnum=0.5\n";
  WriteBytes(path, old);
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);  // the file itself is writable; its folder is not
  ASSERT_EQ(chmod(directory.Path().c_str(), 0555), 0);
  const std::optional<std::string> saved =
      AsUnprivilegedUser([&] { return SaveOutcome("0.618", path) + "|" + Joined(ReadRatioList(path)); });
  if (!saved) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*saved, "Unable to write to " + path + "|0.5");
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

}  // namespace
}  // namespace tavimo
