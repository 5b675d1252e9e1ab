// Faults the fuzz harnesses found, kept as plain tests.

#include <gtest/gtest.h>

#include "RobustnessSupport.h"
#include "platform/ProfileFile.h"

namespace tavimo {
namespace {

using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;

// A value with blanks in front used to gain one more blank after "=" with
// every save of it.
TEST(FuzzFindings, SavingAValueWithLeadingBlanksAgainChangesNothing) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[other]\nx=1");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", " \"q\" "));
  const std::string once = ReadBytes(path);
  EXPECT_EQ(once, "[other]\nx=1\n[tvmo]\nnum= \"q\" \n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", " \"q\" "));
  EXPECT_EQ(ReadBytes(path), once);
  EXPECT_EQ(platform::ReadProfileString(path, "tvmo", "num", ""), "q");
}

TEST(FuzzFindings, BlanksAfterTheEqualsSignStayForAPlainValue) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum =  0.5\n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", "1/3"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum =  1/3\n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", "\t2/3"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum =\t2/3\n");
}

}  // namespace
}  // namespace tavimo
