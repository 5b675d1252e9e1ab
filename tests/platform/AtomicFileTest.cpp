// Replacing a whole file: what is refused, what a replaced file keeps, and
// which temporary files of earlier writes are cleared away.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "UnprivilegedUser.h"
#include "platform/AtomicFile.h"
#include "platform/FileOps.h"

namespace tavimo::platform {
namespace {

using privileges::AsUnprivilegedUser;
using privileges::kNobody;
using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

std::string Outcome(const std::optional<std::string>& error) { return error ? *error : "ok"; }

TEST(AtomicFile, WritesTheBytesAndLeavesNothingElse) {
  ScratchDirectory directory;
  const std::string path = directory.File("chart.png");
  EXPECT_EQ(Outcome(WriteFileAtomically(path, "first")), "ok");
  EXPECT_EQ(Outcome(WriteFileAtomically(path, std::string(200000, 'x'))), "ok");
  EXPECT_EQ(ReadBytes(path), std::string(200000, 'x'));
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"chart.png"});
}

TEST(AtomicFile, RefusesTargetsThatAreNotRegularFiles) {
  ScratchDirectory directory;
  ASSERT_EQ(mkdir(directory.File("folder").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(directory.File("pipe").c_str(), 0666), 0);  // no reader: an open for writing would block
  for (const std::string& path : {directory.File("folder"), directory.File("pipe"), std::string("/dev/full")})
    EXPECT_EQ(Outcome(WriteFileAtomically(path, "bytes")), "not a regular file") << path;
  EXPECT_EQ(directory.Entries(), (std::vector<std::string>{"folder", "pipe"}));
}

TEST(AtomicFile, ReplacedFileKeepsItsOwnerGroupAndMode) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "old");
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
  }
  ASSERT_EQ(chmod(path.c_str(), 0604), 0);
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  ASSERT_EQ(Outcome(WriteFileAtomically(path, "new")), "ok");
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "replaced, not written in place";
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_mode & 07777, 0604u);
}

// After the user's folder was handed to the user with its group left as it
// was: the user saves their own file, and it goes to their group.
TEST(AtomicFile, AnOwnerOutsideTheFilesGroupSavesItInTheirOwnGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "needs a file in a group its owner is not in";
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "old");
  ASSERT_EQ(chown(directory.Path().c_str(), kNobody, 0), 0);
  ASSERT_EQ(chown(path.c_str(), kNobody, 0), 0);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  const auto outcome = AsUnprivilegedUser([&] { return Outcome(WriteFileAtomically(path, "new")); });
  if (!outcome) GTEST_SKIP() << "unable to switch to an unprivileged user";
  EXPECT_EQ(*outcome, "ok");
  EXPECT_EQ(ReadBytes(path), "new");
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, kNobody);
  EXPECT_EQ(after.st_gid, kNobody);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
}

// (A read-only file and one of another owner are refused as well;
// the settings file's tests check both through a save.)
TEST(AtomicFile, RefusesAFileTheCallerMayNotWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "needs a file of another owner";
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "kept");
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_EQ(chmod(directory.Path().c_str(), 0777), 0);
  const auto outcome = AsUnprivilegedUser([&] { return Outcome(WriteFileAtomically(path, "new")); });
  if (!outcome) GTEST_SKIP() << "unable to switch to an unprivileged user";
  EXPECT_EQ(*outcome, "Permission denied");
  EXPECT_EQ(ReadBytes(path), "kept");
}

TEST(AtomicFile, AFailedWriteNamesTheReasonAndKeepsTheOldFile) {
  ScratchDirectory directory;
  const std::string path = directory.File("chart.png");
  WriteBytes(path, "old picture");
  const FileOps full{SystemFileOps().open, [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; },
                     SystemFileOps().fsync, SystemFileOps().close, SystemFileOps().rename, SystemFileOps().unlink};
  SetFileOps(&full);
  const std::optional<std::string> error = WriteFileAtomically(path, "new picture");
  SetFileOps(nullptr);
  EXPECT_EQ(Outcome(error), "No space left on device");
  EXPECT_EQ(ReadBytes(path), "old picture");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"chart.png"});
}

// A process that exits right away: its id is, for the moment, no running process's.
pid_t IdOfAnEndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(AtomicFile, RemovesTheTemporaryFilesOfEndedWritesOnly) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "old");
  const std::vector<std::string> leftovers = {
      ".data.ini.tmp-0123456789abcdef",                                  // nobody holds its lock
      ".data.ini.tmp" + std::to_string(IdOfAnEndedProcess()) + "-3",  // an earlier version's, its process gone
  };
  std::vector<std::string> kept = {
      ".data.ini.tmp-fedcba9876543210",                         // locked: a running write
      ".data.ini.tmp" + std::to_string(getppid()) + "-0",   // an earlier version's, its process running
      ".data.ini.tmpx", ".other.ini.tmp-0123456789abcdef", "data.ini.tmp-0123456789abcdef",
  };
  // Earlier versions counted names under the process id; a sandbox that
  // always gives the same id ran out of them after 100 leftovers.
  std::vector<std::string> ownIdNames;
  for (int n = 0; n < 100; ++n) ownIdNames.push_back(".data.ini.tmp" + std::to_string(getpid()) + "-" + std::to_string(n));
  for (const auto& names : {leftovers, kept, ownIdNames})
    for (const std::string& name : names) WriteBytes(directory.File(name), "partial");
  const int running = open(directory.File(kept[0]).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(running, 0);
  ASSERT_EQ(flock(running, LOCK_EX), 0);

  EXPECT_EQ(Outcome(WriteFileAtomically(path, "new")), "ok");
  close(running);
  EXPECT_EQ(ReadBytes(path), "new");
  kept.push_back("data.ini");
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(directory.Entries(), kept);
}

// Two processes: one holds its write open while the other replaces the same
// file; the first one's temporary file survives and its write then succeeds.
TEST(AtomicFile, ARunningWriteOfAnotherProcessIsLeftAlone) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  int ready[2];
  int go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFileWriter writer(path);
    const bool written = writer.Write("slow writer");
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) _exit(3);
    _exit(written && !writer.Commit() ? 0 : 1);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(Outcome(WriteFileAtomically(path, "quick writer")), "ok");
  EXPECT_EQ(directory.Entries().size(), 2u) << "the slow writer's temporary file is still there";
  ASSERT_EQ(write(go[1], &byte, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadBytes(path), "slow writer");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
  for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
}

TEST(AtomicFile, AWriterDestroyedWithoutCommitLeavesTheOldFile) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "old");
  {
    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Write("half"));
    EXPECT_EQ(directory.Entries().size(), 2u);
  }
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

}  // namespace
}  // namespace tavimo::platform
