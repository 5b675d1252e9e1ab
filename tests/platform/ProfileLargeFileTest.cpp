// A file of millions of lines is read and rewritten in memory that does not
// grow with its number of lines: a child process runs both under an address
// space limit of twice the file's size above what it had.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>

#include "TestFiles.h"
#include "platform/ProfileFile.h"

namespace tavimo::platform {
namespace {

using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

long AddressSpaceBytes() {
  long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * sysconf(_SC_PAGESIZE);
}

TEST(ProfileLargeFile, EightMillionEmptyLinesAreReadAndRewrittenInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves address space of its own";
#endif
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  const std::string emptyLines(8 << 20, '\n');
  WriteBytes(path, emptyLines + "[tvmo]\nnum=0.5\n");

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const long limit = AddressSpaceBytes() + 2 * static_cast<long>(emptyLines.size()) + (32 << 20);
    const rlimit bound{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    if (setrlimit(RLIMIT_AS, &bound) != 0) _exit(3);
    try {
      const bool read = ReadProfileString(path, "tvmo", "num", "") == "0.5";
      const bool written = WriteProfileString(path, "tvmo", "num", "0.618");
      _exit(read && written ? 0 : 1);
    } catch (const std::bad_alloc&) {
      _exit(2);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong result, 2: out of memory, 3: no limit set";
  EXPECT_TRUE(ReadBytes(path) == emptyLines + "[tvmo]\nnum=0.618\n");
}

}  // namespace
}  // namespace tavimo::platform
