// Reading one key: matching, blanks, quotes, length and malformed files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "ParamText.h"
#include "UnprivilegedUser.h"
#include "platform/ProfileFile.h"

namespace tavimo::platform {
namespace {

using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

constexpr std::string_view kDefault = "DEFAULT";

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;
};

void PrintTo(const ReadCase& row, std::ostream* os) {
  *os << "{" << row.name << ": [" << row.section << "] " << row.key << " in " << param_text::Quoted(row.content)
      << " -> " << param_text::Quoted(row.expected) << "}";
}

class ProfileReadRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadRules, YieldsExpectedValue) {
  const ReadCase& row = GetParam();
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, row.content);
  EXPECT_EQ(ReadProfileString(path, row.section, row.key, kDefault), row.expected);
}

using namespace std::string_literals;

const ReadCase kReadCases[] = {
    {"PlainValue", "[tvmo]\nnum=0.5,1\n", "tvmo", "num", "0.5,1"},
    {"SectionCaseIgnored", "[TvMo]\nnum=1\n", "tvmo", "num", "1"},
    {"KeyCaseIgnored", "[tvmo]\nNUM=1\n", "tvmo", "num", "1"},
    {"RequestedCaseIgnored", "[tvmo]\nnum=1\n", "TVMO", "Num", "1"},
    {"NonAsciiBytesNotFolded", "[t\xC3\x89]\nnum=1\n", "t\xC3\xA9", "num", "DEFAULT"},
    {"BlanksAroundValueDropped", "[tvmo]\nnum= \t 0.5 , 1 \t \n", "tvmo", "num", "0.5 , 1"},
    {"BlanksAroundKeyAndEquals", "[tvmo]\n  num  =  1\n", "tvmo", "num", "1"},
    {"BlanksAroundSectionName", "  [  tvmo  ]  \nnum=1\n", "tvmo", "num", "1"},
    {"DoubleQuotesDropped", "[tvmo]\nnum=\"0.5, 1\"\n", "tvmo", "num", "0.5, 1"},
    {"SingleQuotesDropped", "[tvmo]\nnum='0.5'\n", "tvmo", "num", "0.5"},
    {"QuotesAfterBlanksDropped", "[tvmo]\nnum=  \" a \"  \n", "tvmo", "num", " a "},
    {"OnlyOnePairDropped", "[tvmo]\nnum=\"\"1\"\"\n", "tvmo", "num", "\"1\""},
    {"MismatchedQuotesKept", "[tvmo]\nnum=\"1'\n", "tvmo", "num", "\"1'"},
    {"LoneQuoteKept", "[tvmo]\nnum=\"\n", "tvmo", "num", "\""},
    {"EmptyQuotesGiveEmpty", "[tvmo]\nnum=\"\"\n", "tvmo", "num", ""},
    {"EmptyValueIsNotTheDefault", "[tvmo]\nnum=\n", "tvmo", "num", ""},
    {"MissingSection", "[other]\nnum=1\n", "tvmo", "num", "DEFAULT"},
    {"MissingKey", "[tvmo]\nden=1\n", "tvmo", "num", "DEFAULT"},
    {"KeyOfAnotherSection", "[other]\nnum=1\n[tvmo]\nden=2\n", "tvmo", "num", "DEFAULT"},
    {"KeyBeforeAnySection", "num=1\n[tvmo]\n", "tvmo", "num", "DEFAULT"},
    {"EmptyFile", "", "tvmo", "num", "DEFAULT"},
    {"CrLfLineEnds", "[tvmo]\r\nnum=0.5\r\nx=1\r\n", "tvmo", "num", "0.5"},
    {"ByteOrderMark", "\xEF\xBB\xBF[tvmo]\nnum=1\n", "tvmo", "num", "1"},
    {"NoFinalNewline", "[tvmo]\nnum=1", "tvmo", "num", "1"},
    {"RepeatedKeyFirstCounts", "[tvmo]\nnum=1\nnum=2\n", "tvmo", "num", "1"},
    {"RepeatedSectionFirstCounts", "[tvmo]\nnum=1\n[tvmo]\nnum=2\n", "tvmo", "num", "1"},
    {"CommentIsNotAKey", "[tvmo]\n;num=1\nnum=2\n", "tvmo", "num", "2"},
    {"IndentedCommentIsNotAKey", "[tvmo]\n  ;num=1\n", "tvmo", "num", "DEFAULT"},
    {"LineWithoutEqualsIsNotAKey", "[tvmo]\nnum\nnum=3\n", "tvmo", "num", "3"},
    {"EqualsInsideValueKept", "[tvmo]\nnum=a=b\n", "tvmo", "num", "a=b"},
    {"UnclosedSectionHeaderIgnored", "[tvmo\nnum=1\n", "tvmo", "num", "DEFAULT"},
    {"StrayBinaryBytes", "\x01\xFF\xFE garbage\n[tvmo]\n\x7F\x80=x\nnum=\xC3\xA9\n", "tvmo", "num", "\xC3\xA9"},
    {"NulEndsTheValue", "[tvmo]\nnum=1,2\0,3\n"s, "tvmo", "num", "1,2"},
    {"NulInOtherLines", "\0\0\n[tvmo]\nn\0m=1\nnum=4\n"s, "tvmo", "num", "4"},
    {"LoneCarriageReturnsAreBlanks", "[tvmo]\r\r\nnum=5\r\r\n", "tvmo", "num", "5"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileReadRules, ::testing::ValuesIn(kReadCases),
                         [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(ProfileRead, CutsLongValueToFirst2047Bytes) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  std::string value;
  for (int i = 0; i < 3000; ++i) value += static_cast<char>('0' + i % 10);
  WriteBytes(path, "[tvmo]\nnum=" + value + "\n");
  std::string read = ReadProfileString(path, "tvmo", "num", kDefault);
  EXPECT_EQ(read, value.substr(0, 2047));
}

TEST(ProfileRead, KeepsValueOfExactly2047Bytes) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  std::string value(2047, '7');
  WriteBytes(path, "[tvmo]\nnum=" + value + "\n");
  EXPECT_EQ(ReadProfileString(path, "tvmo", "num", kDefault), value);
}

TEST(ProfileRead, ReadsKeyAfterVeryLongLines) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  std::string longLine(1 << 20, 'x');
  WriteBytes(path, longLine + "\n[tvmo]\nother=" + longLine + "\nnum=9\n");
  EXPECT_EQ(ReadProfileString(path, "tvmo", "num", kDefault), "9");
}

TEST(ProfileRead, MissingFileGivesDefault) {
  ScratchDirectory directory;
  EXPECT_EQ(ReadProfileString(directory.File("absent.ini"), "tvmo", "num", kDefault), kDefault);
  EXPECT_EQ(ReadProfileString(directory.File("no/such/dir/data.ini"), "tvmo", "num", kDefault), kDefault);
}

// The reason a file that exists was not read; empty for one that was read or is missing.
std::string ReadError(const std::string& path) { return ReadProfileValues(path, "tvmo", {"num"}).readError; }

TEST(ProfileRead, DirectoryGivesDefaultAndSaysWhy) {
  ScratchDirectory directory;
  ASSERT_EQ(mkdir(directory.File("data.ini").c_str(), 0755), 0);
  EXPECT_EQ(ReadProfileString(directory.File("data.ini"), "tvmo", "num", kDefault), kDefault);
  EXPECT_EQ(ReadError(directory.File("data.ini")), "Is a directory");
  EXPECT_EQ(ReadError(directory.File("absent.ini")), "");
  EXPECT_EQ(ReadError(directory.File("absent/data.ini")), "");
}

TEST(ProfileRead, DanglingLinkGivesDefault) {
  ScratchDirectory directory;
  ASSERT_EQ(symlink("nowhere.ini", directory.File("data.ini").c_str()), 0);
  EXPECT_EQ(ReadProfileString(directory.File("data.ini"), "tvmo", "num", kDefault), kDefault);
}

TEST(ProfileRead, PipeGivesDefaultWithoutBlocking) {
  ScratchDirectory directory;
  ASSERT_EQ(mkfifo(directory.File("data.ini").c_str(), 0644), 0);
  EXPECT_EQ(ReadProfileString(directory.File("data.ini"), "tvmo", "num", kDefault), kDefault);
  EXPECT_EQ(ReadError(directory.File("data.ini")), "not a regular file");
}

TEST(ProfileRead, UnreadableFileGivesDefault) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=1\n");
  ASSERT_EQ(chmod(directory.Path().c_str(), 0755), 0);
  const auto read = [&] {
    return privileges::AsUnprivilegedUser([&] { return ReadProfileString(path, "tvmo", "num", kDefault); });
  };
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  const std::optional<std::string> readable = read();
  if (!readable) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*readable, "1");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  EXPECT_EQ(read(), std::string(kDefault));
  EXPECT_EQ(privileges::AsUnprivilegedUser([&] { return ReadError(path); }), std::string("Permission denied"));
}

TEST(ProfileRead, FollowsLinkToFile) {
  ScratchDirectory directory;
  WriteBytes(directory.File("real.ini"), "[tvmo]\nnum=6\n");
  ASSERT_EQ(symlink("real.ini", directory.File("data.ini").c_str()), 0);
  EXPECT_EQ(ReadProfileString(directory.File("data.ini"), "tvmo", "num", kDefault), "6");
}

TEST(ProfileRead, PathWithNonAsciiAndBlanks) {
  ScratchDirectory directory;
  std::string folder = directory.File("\xE8\x82\xA1 \xE7\xA5\xA8 dir/");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  WriteBytes(folder + "data.ini", "[tvmo]\nnum=1/3\n");
  EXPECT_EQ(ReadProfileString(folder + "data.ini", "tvmo", "num", kDefault), "1/3");
}

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST(ProfileReadSection, GivesTheFirstSectionsKeysInFileOrderAsReadsSeeThem) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  const std::string longValue(3000, '7');
  WriteBytes(path, "[a]\nx=1\n[TVMO]\r\n Preset 1 = \"0.5,1\" \r\nnum=2\n;c=3\nplain\nPRESET 1=4\nlong=" + longValue +
                       "\nempty=\n[tvmo]\nlater=5\n");
  EXPECT_EQ(ReadProfileSection(path, "tvmo"),
            (Entries{{"Preset 1", "0.5,1"}, {"num", "2"}, {"long", longValue.substr(0, 2047)}, {"empty", ""}}));
  EXPECT_EQ(ReadProfileSection(path, "a"), (Entries{{"x", "1"}}));
}

TEST(ProfileReadSection, NothingWithoutTheFileOrTheSection) {
  ScratchDirectory directory;
  WriteBytes(directory.File("data.ini"), "[tvmo]\nnum=1\n[empty]\n");
  EXPECT_TRUE(ReadProfileSection(directory.File("data.ini"), "other").empty());
  EXPECT_TRUE(ReadProfileSection(directory.File("data.ini"), "empty").empty());
  EXPECT_TRUE(ReadProfileSection(directory.File("absent.ini"), "tvmo").empty());
  ASSERT_EQ(mkdir(directory.File("folder.ini").c_str(), 0755), 0);
  EXPECT_TRUE(ReadProfileSection(directory.File("folder.ini"), "tvmo").empty());
}

TEST(ProfileReadStrings, OnePassGivesEachKeyItsFirstLineWhateverTheOrder) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nSCALE=log\nnum=1\nscale=linear\n[other]\ntick=9\n");
  EXPECT_EQ(ReadProfileStrings(path, "tvmo", {"num", "tick", "scale"}),
            (std::vector<std::optional<std::string>>{"1", std::nullopt, "log"}));
  EXPECT_EQ(ReadProfileStrings(directory.File("absent.ini"), "tvmo", {"num"}),
            (std::vector<std::optional<std::string>>{std::nullopt}));
}

}  // namespace
}  // namespace tavimo::platform
