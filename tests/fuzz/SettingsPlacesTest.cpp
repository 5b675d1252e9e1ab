// The settings file in odd places: a directory named data.ini, a dangling
// symbolic link, a pipe, a file the user may not read, a folder the user may
// not write, a path with blanks and non-ASCII characters. Reading gives the
// default list where nothing can be read; a save that cannot be done raises
// "Unable to write to <path>" and leaves what was there.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "RobustnessSupport.h"
#include "UnprivilegedUser.h"
#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;
using privileges::AsUnprivilegedUser;

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
  // The message names the path, its control characters escaped.
  EXPECT_EQ(SaveOutcome("1", path), "Unable to write to " + directory.File("黄金 分割 ratios\\x09/data.ini"));
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

// A read-only file is how a user protects a list; the superuser, whom the
// permission bits do not bind, must respect it too.
TEST(SettingsOddPlaces, ReadOnlyFileIsRefusedAndKept) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  const std::string old = "[tvmo]\nnum=0.5\n";
  WriteBytes(path, old);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(SaveOutcome("0.618", path), "Unable to write to " + path);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

// Replacing a writable file of another owner in a folder everyone may write
// would hand the file to the saving user: refused instead.
TEST(SettingsOddPlaces, FileOfAnotherOwnerIsRefusedAndKeepsItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file to another owner";
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  const std::string old = "[tvmo]\nnum=0.5\n";
  WriteBytes(path, old);
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(chmod(directory.Path().c_str(), 0777), 0);
  const std::optional<std::string> saved = AsUnprivilegedUser([&] { return SaveOutcome("0.618", path); });
  if (!saved) GTEST_SKIP() << "unable to switch to an unprivileged user";
  EXPECT_EQ(*saved, "Unable to write to " + path);
  struct stat status {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 0u);
  EXPECT_EQ(ReadBytes(path), old);
}

// Temporary files of saves killed before their rename: this version's names,
// and an earlier version's, numbered under a process id that a sandbox gave
// every run (after 100 of them every save failed).
TEST(SettingsOddPlaces, LeftoversOfKilledSavesAreRemoved) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=0.5\n");
  WriteBytes(directory.File(".data.ini.tmp-00000000deadbeef"), "[tvmo]\nnum=0.");
  for (int n = 0; n < 100; ++n)
    WriteBytes(directory.File(".data.ini.tmp" + std::to_string(getpid()) + "-" + std::to_string(n)), "[tvm");
  EXPECT_EQ(SaveOutcome("0.618", path), "ok");
  EXPECT_EQ(ReadRatioList(path), RatioList{"0.618"});
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

}  // namespace
}  // namespace tavimo
