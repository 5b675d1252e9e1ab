// Where the program lives and where the per-user configuration goes.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "TestFiles.h"
#include "UnprivilegedUser.h"
#include "platform/ExecutablePath.h"

namespace tavimo::platform {
namespace {

// Sets or clears an environment variable for one test and restores it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ExecutablePath, NamesThisTestProgram) {
  std::string path = ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(path.ends_with("/tavimo_platform_tests")) << path;
  EXPECT_EQ(access(path.c_str(), X_OK), 0);
}

TEST(ExecutablePath, DirectoryEndsWithSlashAndPrefixesThePath) {
  std::string path = ExecutablePath();
  std::string directory = ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_EQ(path, directory + "tavimo_platform_tests");
}

TEST(ExecutablePath, DirectoryDoesNotFollowWorkingDirectory) {
  std::string before = ExecutableDirectory();
  char* cwd = getcwd(nullptr, 0);
  ASSERT_EQ(chdir("/"), 0);
  EXPECT_EQ(ExecutableDirectory(), before);
  ASSERT_EQ(chdir(cwd), 0);
  free(cwd);
}

TEST(UserConfigDirectory, UsesAbsoluteXdgConfigHome) {
  ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/xdg conf");
  EXPECT_EQ(UserConfigDirectory(), "/tmp/xdg conf/");
}

TEST(UserConfigDirectory, KeepsSingleTrailingSlash) {
  ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/xdg/");
  EXPECT_EQ(UserConfigDirectory(), "/tmp/xdg/");
}

TEST(UserConfigDirectory, IgnoresRelativeXdgConfigHome) {
  ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/conf");
  ScopedEnvironment home("HOME", "/home/someone");
  EXPECT_EQ(UserConfigDirectory(), "/home/someone/.config/");
}

TEST(UserConfigDirectory, FallsBackToHome) {
  ScopedEnvironment xdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnvironment home("HOME", "/home/someone/");
  EXPECT_EQ(UserConfigDirectory(), "/home/someone/.config/");
}

TEST(UserConfigDirectory, FallsBackToPasswordDatabaseWithoutHome) {
  ScopedEnvironment xdg("XDG_CONFIG_HOME", "");
  ScopedEnvironment home("HOME", nullptr);
  std::string directory = UserConfigDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.front(), '/');
  EXPECT_TRUE(directory.ends_with("/.config/")) << directory;
}

TEST(IsDirectoryWritable, TellsWritableFromMissingAndFiles) {
  testing::ScratchDirectory scratch;
  EXPECT_TRUE(IsDirectoryWritable(scratch.Path()));
  EXPECT_FALSE(IsDirectoryWritable(scratch.File("absent")));
  testing::WriteBytes(scratch.File("file"), "x");
  EXPECT_FALSE(IsDirectoryWritable(scratch.File("file")));
  EXPECT_FALSE(IsDirectoryWritable(""));
}

TEST(IsDirectoryWritable, ReadOnlyDirectoryIsNotWritable) {
  testing::ScratchDirectory readOnly;
  testing::ScratchDirectory writable;
  ASSERT_EQ(chmod(readOnly.Path().c_str(), 0555), 0);
  ASSERT_EQ(chmod(writable.Path().c_str(), 0777), 0);
  const auto seen = privileges::AsUnprivilegedUser([&] {
    return std::string(IsDirectoryWritable(readOnly.Path()) ? "yes" : "no") + "," +
           (IsDirectoryWritable(writable.Path()) ? "yes" : "no");
  });
  if (!seen) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*seen, "no,yes");
}

}  // namespace
}  // namespace tavimo::platform
