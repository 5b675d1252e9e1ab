// A write that fails at any step leaves the old file untouched, leaves no
// temporary file behind and reports failure.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "TestFiles.h"
#include "platform/FileOps.h"
#include "platform/ProfileFile.h"

namespace tavimo::platform {
namespace {

using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

enum class Step { kOpen, kWrite, kFsync, kClose, kRename };

// One planned fault: the nth call (1-based) of a step fails with an errno.
struct Fault {
  Step step = Step::kOpen;
  int nth = 0;
  int error = 0;
  size_t shortWriteBytes = 0;  // nonzero: the faulty write writes this much
};

// Keeps test listings readable (and stable: no padding bytes printed).
void PrintTo(const Fault& fault, std::ostream* os) {
  *os << "step " << static_cast<int>(fault.step) << ", call " << fault.nth << ", errno " << fault.error
      << ", short write " << fault.shortWriteBytes;
}

Fault plannedFault;
int callCounts[5];

bool Strikes(Step step) {
  int& count = callCounts[static_cast<int>(step)];
  ++count;
  return plannedFault.step == step && plannedFault.nth == count;
}

int FaultyOpen(const char* path, int flags, mode_t mode) {
  if (Strikes(Step::kOpen)) return errno = plannedFault.error, -1;
  return SystemFileOps().open(path, flags, mode);
}
ssize_t FaultyWrite(int fd, const void* data, size_t size) {
  if (Strikes(Step::kWrite)) {
    if (plannedFault.shortWriteBytes > 0)
      return SystemFileOps().write(fd, data, std::min(size, plannedFault.shortWriteBytes));
    return errno = plannedFault.error, -1;
  }
  // Small pieces, so that a file of a few lines takes several writes.
  return SystemFileOps().write(fd, data, std::min<size_t>(size, 8));
}
int FaultyFsync(int fd) {
  if (Strikes(Step::kFsync)) return errno = plannedFault.error, -1;
  return SystemFileOps().fsync(fd);
}
int FaultyClose(int fd) {
  if (Strikes(Step::kClose)) {
    SystemFileOps().close(fd);  // Linux releases the descriptor even when close fails
    return errno = plannedFault.error, -1;
  }
  return SystemFileOps().close(fd);
}
int FaultyRename(const char* from, const char* to) {
  if (Strikes(Step::kRename)) return errno = plannedFault.error, -1;
  return SystemFileOps().rename(from, to);
}

const FileOps kFaultyOps{FaultyOpen, FaultyWrite, FaultyFsync, FaultyClose, FaultyRename,
                         SystemFileOps().unlink};

class ProfileWriteFaults : public ::testing::TestWithParam<Fault> {
 protected:
  void SetUp() override {
    plannedFault = GetParam();
    std::memset(callCounts, 0, sizeof callCounts);
    SetFileOps(&kFaultyOps);
  }
  void TearDown() override { SetFileOps(nullptr); }
};

std::string FaultName(const ::testing::TestParamInfo<Fault>& info) {
  static const char* const kSteps[] = {"Open", "Write", "Fsync", "Close", "Rename"};
  return std::string(kSteps[static_cast<int>(info.param.step)]) + std::to_string(info.param.nth) + "_" +
         strerrorname_np(info.param.error);
}

const std::string kOldContent = "; settings\r\n[tvmo]\r\nnum=0.5,0.618\r\nden=2\r\n\r\n[other]\r\nx=1\r\n";

TEST_P(ProfileWriteFaults, OldFileSurvivesFailedWrite) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, kOldContent);
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", "0.191,0.236,1/3,0.382,0.5"));
  EXPECT_EQ(ReadBytes(path), kOldContent);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST_P(ProfileWriteFaults, NoFileCreatedByFailedFirstWrite) {
  ScratchDirectory directory;
  EXPECT_FALSE(WriteProfileString(directory.File("data.ini"), "tvmo", "num", "0.191,0.236,1/3,0.382,0.5"));
  EXPECT_TRUE(directory.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ProfileWriteFaults,
    ::testing::Values(Fault{Step::kOpen, 1, EACCES}, Fault{Step::kOpen, 1, ENOSPC}, Fault{Step::kWrite, 1, ENOSPC},
                      Fault{Step::kWrite, 2, EIO}, Fault{Step::kWrite, 3, ENOSPC}, Fault{Step::kFsync, 1, EIO},
                      Fault{Step::kFsync, 1, ENOSPC}, Fault{Step::kClose, 1, EIO}, Fault{Step::kRename, 1, EACCES},
                      Fault{Step::kRename, 1, EIO}),
    FaultName);

class ProfileWriteShortWrites : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(callCounts, 0, sizeof callCounts);
    SetFileOps(&kFaultyOps);
  }
  void TearDown() override { SetFileOps(nullptr); }
};

TEST_F(ProfileWriteShortWrites, ShortWriteIsContinued) {
  plannedFault = Fault{Step::kWrite, 2, 0, 1};
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, kOldContent);
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", "1"));
  EXPECT_EQ(ReadBytes(path), "; settings\r\n[tvmo]\r\nnum=1\r\nden=2\r\n\r\n[other]\r\nx=1\r\n");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST_F(ProfileWriteShortWrites, ShortWriteThenFullDiskFails) {
  // The disk fills up part way: the first write stores a byte, the next fails.
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, kOldContent);
  const FileOps fullAfterOneByte{FaultyOpen,
                                 [](int fd, const void* data, size_t size) -> ssize_t {
                                   if (++callCounts[1] == 1) return SystemFileOps().write(fd, data, std::min<size_t>(size, 1));
                                   return errno = ENOSPC, -1;
                                 },
                                 FaultyFsync, FaultyClose, FaultyRename, SystemFileOps().unlink};
  SetFileOps(&fullAfterOneByte);
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", "1"));
  EXPECT_EQ(ReadBytes(path), kOldContent);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST_F(ProfileWriteShortWrites, WriteOfNothingIsAFailure) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, kOldContent);
  const FileOps writesNothing{FaultyOpen, [](int, const void*, size_t) -> ssize_t { return 0; }, FaultyFsync,
                              FaultyClose, FaultyRename, SystemFileOps().unlink};
  SetFileOps(&writesNothing);
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", "1"));
  EXPECT_EQ(ReadBytes(path), kOldContent);
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST_F(ProfileWriteShortWrites, InterruptedWriteIsRetried) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  const FileOps interruptedOnce{FaultyOpen,
                                [](int fd, const void* data, size_t size) -> ssize_t {
                                  if (++callCounts[1] == 1) return errno = EINTR, -1;
                                  return SystemFileOps().write(fd, data, size);
                                },
                                FaultyFsync, FaultyClose, FaultyRename, SystemFileOps().unlink};
  plannedFault = Fault{};
  SetFileOps(&interruptedOnce);
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", "1"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=1\n");
}

}  // namespace
}  // namespace tavimo::platform
