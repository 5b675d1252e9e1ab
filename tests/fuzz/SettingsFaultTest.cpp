// The settings file when the system refuses a step of the save: a full disk,
// a refused permission or an I/O error at the nth write, the flush, the
// close or the rename. Whatever fails, the old data.ini stays byte for byte,
// no temporary file is left and the save raises "Unable to write to <path>".

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "RobustnessSupport.h"
#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "platform/FileOps.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using platform::FileOps;
using platform::SystemFileOps;
using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;

enum class Step { kOpen, kWrite, kFsync, kClose, kRename };

struct FailurePoint {
  Step step;
  int nth;  // 1-based call of that step that fails
  int error;
};

const char* const kStepNames[] = {"Open", "Write", "Fsync", "Close", "Rename"};

void PrintTo(const FailurePoint& point, std::ostream* os) {
  *os << kStepNames[static_cast<int>(point.step)] << " call " << point.nth << " fails with "
      << strerrorname_np(point.error);
}

FailurePoint planned{};
int calls[5] = {};
int strikes = 0;

bool Strikes(Step step) {
  const bool strike = ++calls[static_cast<int>(step)] == planned.nth && planned.step == step;
  strikes += strike;
  return strike;
}

int Open(const char* path, int flags, mode_t mode) {
  if (Strikes(Step::kOpen)) return errno = planned.error, -1;
  return SystemFileOps().open(path, flags, mode);
}
// Writes at most 16 bytes a call, so that one save takes many writes and a
// failure can strike after part of the file is already out.
ssize_t Write(int fd, const void* data, size_t size) {
  if (Strikes(Step::kWrite)) return errno = planned.error, -1;
  return SystemFileOps().write(fd, data, size < 16 ? size : 16);
}
int Fsync(int fd) {
  if (Strikes(Step::kFsync)) return errno = planned.error, -1;
  return SystemFileOps().fsync(fd);
}
int Close(int fd) {
  const int result = SystemFileOps().close(fd);  // Linux frees the descriptor even when close reports an error
  if (Strikes(Step::kClose)) return errno = planned.error, -1;
  return result;
}
int Rename(const char* from, const char* to) {
  if (Strikes(Step::kRename)) return errno = planned.error, -1;
  return SystemFileOps().rename(from, to);
}

const FileOps kFaultyOps{Open, Write, Fsync, Close, Rename, [](const char* path) { return SystemFileOps().unlink(path); }};

const std::string kOldFile =
    "; ratio list\r\n[tvmo]\r\nnum=0.191,0.236,1/3\r\nnote=kept\r\n\r\n[other]\r\nnum=9\r\n";
// Longer than the old file, so that a torn write would show.
const std::string kNewText = "0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2,2.618,3,4.236";

class SettingsSaveFailure : public ::testing::TestWithParam<FailurePoint> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(directory_.Valid());
    planned = GetParam();
    std::memset(calls, 0, sizeof calls);
    strikes = 0;
    platform::SetFileOps(&kFaultyOps);
  }
  void TearDown() override { platform::SetFileOps(nullptr); }

  // Saves and expects the failure with its message.
  void ExpectSaveFails(const std::string& path) {
    try {
      SaveRatioText(kNewText, path);
      ADD_FAILURE() << "the save reported success";
    } catch (const EIniFileException& error) {
      EXPECT_EQ(error.Message(), "Unable to write to " + path);
    }
    EXPECT_EQ(strikes, 1) << "the planned failure never came";
  }

  ScratchDirectory directory_;
};

TEST_P(SettingsSaveFailure, OldFileStaysAndNothingIsLeft) {
  const std::string path = directory_.File("data.ini");
  WriteBytes(path, kOldFile);
  ExpectSaveFails(path);
  EXPECT_EQ(ReadBytes(path), kOldFile);
  EXPECT_EQ(directory_.Entries(), std::vector<std::string>{"data.ini"});
  EXPECT_EQ(ReadRatioList(path), (RatioList{"0.191", "0.236", "1/3"}));
}

TEST_P(SettingsSaveFailure, FirstSaveLeavesNoFile) {
  const std::string path = directory_.File("data.ini");
  ExpectSaveFails(path);
  EXPECT_TRUE(directory_.Entries().empty());
  EXPECT_EQ(ReadRatioList(path), SplitRatioText(DefaultRatioText));
}

TEST_P(SettingsSaveFailure, NextSaveSucceedsOnceTheFaultIsGone) {
  const std::string path = directory_.File("data.ini");
  WriteBytes(path, kOldFile);
  ExpectSaveFails(path);
  platform::SetFileOps(nullptr);
  SaveRatioText(kNewText, path);
  EXPECT_EQ(ReadBytes(path),
            "; ratio list\r\n[tvmo]\r\nnum=" + kNewText + "\r\nnote=kept\r\n\r\n[other]\r\nnum=9\r\n");
  EXPECT_EQ(directory_.Entries(), std::vector<std::string>{"data.ini"});
}

std::string PointName(const ::testing::TestParamInfo<FailurePoint>& info) {
  return std::string(kStepNames[static_cast<int>(info.param.step)]) + std::to_string(info.param.nth) + "_" +
         strerrorname_np(info.param.error);
}

// In 16-byte pieces the rewritten file takes 8 writes and a first file 6:
// write 1 is the first piece, 6 the last of a first file.
INSTANTIATE_TEST_SUITE_P(
    EveryStep, SettingsSaveFailure,
    ::testing::Values(FailurePoint{Step::kOpen, 1, EACCES}, FailurePoint{Step::kOpen, 1, ENOSPC},
                      FailurePoint{Step::kWrite, 1, ENOSPC}, FailurePoint{Step::kWrite, 1, EIO},
                      FailurePoint{Step::kWrite, 2, ENOSPC}, FailurePoint{Step::kWrite, 4, EIO},
                      FailurePoint{Step::kWrite, 6, ENOSPC}, FailurePoint{Step::kWrite, 6, EACCES},
                      FailurePoint{Step::kFsync, 1, EIO}, FailurePoint{Step::kFsync, 1, ENOSPC},
                      FailurePoint{Step::kClose, 1, EIO}, FailurePoint{Step::kClose, 1, ENOSPC},
                      FailurePoint{Step::kRename, 1, EACCES}, FailurePoint{Step::kRename, 1, EIO},
                      FailurePoint{Step::kRename, 1, ENOSPC}),
    PointName);

}  // namespace
}  // namespace tavimo
