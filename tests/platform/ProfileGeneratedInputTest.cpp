// Generated files of INI fragments and stray bytes: reading never fails, and
// a written value always reads back.

#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "platform/ProfileFile.h"

namespace tavimo::platform {
namespace {

using namespace std::string_literals;

std::string GeneratedContent(std::mt19937& random) {
  static const std::string kFragments[] = {
      "[tvmo]", "[TVMO]", "[ tvmo ]", "[other]", "[tvmo", "num", "NUM", " num ", "=", "==", "0.5,1/3", "\"", "'",
      ";",      "\n",     "\r\n",     "\r",      " ",     "\t",   "\0"s, "\xEF\xBB\xBF", "\xFF\xFE", "\xE4\xB8\x80",
  };
  std::uniform_int_distribution<size_t> pick(0, std::size(kFragments) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::string content;
  for (int i = length(random); i > 0; --i) content += kFragments[pick(random)];
  return content;
}

TEST(ProfileGeneratedInput, WrittenValueReadsBackAndRewriteIsStable) {
  testing::ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  std::mt19937 random(20261208);
  for (int round = 0; round < 500; ++round) {
    std::string content = GeneratedContent(random);
    testing::WriteBytes(path, content);
    ReadProfileString(path, "tvmo", "num", "x");  // must simply not fail
    std::string value = "v" + std::to_string(round);
    ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", value)) << ::testing::PrintToString(content);
    ASSERT_EQ(ReadProfileString(path, "tvmo", "num", "x"), value) << ::testing::PrintToString(content);
    std::string written = testing::ReadBytes(path);
    ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", value));
    ASSERT_EQ(testing::ReadBytes(path), written) << ::testing::PrintToString(content);
  }
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

}  // namespace
}  // namespace tavimo::platform
