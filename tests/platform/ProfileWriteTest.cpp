// Writing one key: what is created, what is replaced and what stays as it was.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFiles.h"
#include "ParamText.h"
#include "UnprivilegedUser.h"
#include "platform/ProfileFile.h"

namespace tavimo::platform {
namespace {

using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

struct WriteCase {
  const char* name;
  std::string before;
  std::string value;
  std::string after;
};

void PrintTo(const WriteCase& row, std::ostream* os) {
  *os << "{" << row.name << ": " << param_text::Quoted(row.value) << " into " << param_text::Quoted(row.before)
      << " -> " << param_text::Quoted(row.after) << "}";
}

class ProfileWriteRules : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteRules, ProducesExpectedBytes) {
  const WriteCase& row = GetParam();
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, row.before);
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", row.value));
  EXPECT_EQ(ReadBytes(path), row.after);
}

using namespace std::string_literals;

const WriteCase kWriteCases[] = {
    {"ReplacesValueInPlace", "; top\n[a]\nx=1\n\n[tvmo]\nnum=0.5\nden=2\n\n[b]\ny=3\n", "1,2",
     "; top\n[a]\nx=1\n\n[tvmo]\nnum=1,2\nden=2\n\n[b]\ny=3\n"},
    {"KeepsKeySpellingAndSpacing", "[TVMO]\n  Num = 0.5   \n", "2", "[TVMO]\n  Num = 2\n"},
    {"CrLfFileKeepsCrLf", "[tvmo]\r\nnum=0.5\r\nden=2\r\n", "1", "[tvmo]\r\nnum=1\r\nden=2\r\n"},
    {"MixedLineEndsKeptPerLine", "[a]\r\nx=1\n[tvmo]\r\nnum=0\n", "9", "[a]\r\nx=1\n[tvmo]\r\nnum=9\n"},
    {"KeyAddedToExistingSection", "[tvmo]\nden=2\n\n[b]\ny=3\n", "1", "[tvmo]\nden=2\nnum=1\n\n[b]\ny=3\n"},
    {"KeyAddedToLastSectionWithoutNewline", "[tvmo]\nden=2", "1", "[tvmo]\nden=2\nnum=1\n"},
    {"KeyAddedWithDominantCrLf", "[tvmo]\r\nden=2\r\n[b]\n", "1", "[tvmo]\r\nden=2\r\nnum=1\r\n[b]\n"},
    {"KeyAddedUnderEmptySection", "[tvmo]\n[b]\n", "1", "[tvmo]\nnum=1\n[b]\n"},
    {"SectionAppended", "[a]\nx=1\n", "1", "[a]\nx=1\n[tvmo]\nnum=1\n"},
    {"SectionAppendedAfterMissingNewline", "[a]\nx=1", "1", "[a]\nx=1\n[tvmo]\nnum=1\n"},
    {"SectionAppendedWithCrLf", "[a]\r\nx=1\r\n", "1", "[a]\r\nx=1\r\n[tvmo]\r\nnum=1\r\n"},
    {"SectionCreatedInEmptyFile", "", "0.5", "[tvmo]\nnum=0.5\n"},
    {"FirstRepeatedKeyReplaced", "[tvmo]\nnum=1\nnum=2\n", "3", "[tvmo]\nnum=3\nnum=2\n"},
    {"FirstRepeatedSectionUsed", "[tvmo]\nden=1\n[tvmo]\nnum=2\n", "3", "[tvmo]\nden=1\nnum=3\n[tvmo]\nnum=2\n"},
    {"CommentedKeyLeftAlone", "[tvmo]\n;num=1\n", "2", "[tvmo]\n;num=1\nnum=2\n"},
    {"ByteOrderMarkKept", "\xEF\xBB\xBF[tvmo]\r\nnum=1\r\n", "2", "\xEF\xBB\xBF[tvmo]\r\nnum=2\r\n"},
    {"BinaryBytesElsewhereKept", "\x01\xFF\0x\n[tvmo]\nnum=1\n\xFE\n"s, "2", "\x01\xFF\0x\n[tvmo]\nnum=2\n\xFE\n"s},
    {"ValueWrittenUnchanged", "", " \"0.5\" , 1/3 ", "[tvmo]\nnum= \"0.5\" , 1/3 \n"},
    {"EmptyValueWritten", "[tvmo]\nnum=1\n", "", "[tvmo]\nnum=\n"},
    {"SameValueRewritten", "[tvmo]\nnum=1\n", "1", "[tvmo]\nnum=1\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileWriteRules, ::testing::ValuesIn(kWriteCases),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(ProfileWrite, CreatesMissingFile) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", "0.5,1"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=0.5,1\n");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(ProfileWrite, ValueReadsBack) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  std::string value = "0.191,0.236,1/3,\xEF\xBC\x8C,2";
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", value));
  EXPECT_EQ(ReadProfileString(path, "tvmo", "num", "x"), value);
}

TEST(ProfileWrite, KeepsFilePermissions) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", "2"));
  struct stat status {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(ProfileWrite, WritesThroughSymbolicLink) {
  ScratchDirectory directory;
  ASSERT_EQ(mkdir(directory.File("store").c_str(), 0755), 0);
  WriteBytes(directory.File("store/real.ini"), "[tvmo]\nnum=1\n");
  ASSERT_EQ(symlink("store/real.ini", directory.File("data.ini").c_str()), 0);
  ASSERT_TRUE(WriteProfileString(directory.File("data.ini"), "tvmo", "num", "2"));
  struct stat status {};
  ASSERT_EQ(lstat(directory.File("data.ini").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(ReadBytes(directory.File("store/real.ini")), "[tvmo]\nnum=2\n");
  EXPECT_EQ(directory.Entries(), (std::vector<std::string>{"data.ini", "store"}));
}

TEST(ProfileWrite, DanglingLinkCreatesItsTarget) {
  ScratchDirectory directory;
  ASSERT_EQ(symlink("real.ini", directory.File("data.ini").c_str()), 0);
  ASSERT_TRUE(WriteProfileString(directory.File("data.ini"), "tvmo", "num", "2"));
  EXPECT_EQ(ReadBytes(directory.File("real.ini")), "[tvmo]\nnum=2\n");
}

TEST(ProfileWrite, LinkLoopFails) {
  ScratchDirectory directory;
  ASSERT_EQ(symlink("b.ini", directory.File("a.ini").c_str()), 0);
  ASSERT_EQ(symlink("a.ini", directory.File("b.ini").c_str()), 0);
  EXPECT_FALSE(WriteProfileString(directory.File("a.ini"), "tvmo", "num", "2"));
}

TEST(ProfileWrite, DirectoryPathFails) {
  ScratchDirectory directory;
  ASSERT_EQ(mkdir(directory.File("data.ini").c_str(), 0755), 0);
  EXPECT_FALSE(WriteProfileString(directory.File("data.ini"), "tvmo", "num", "1"));
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(ProfileWrite, MissingDirectoryFails) {
  ScratchDirectory directory;
  EXPECT_FALSE(WriteProfileString(directory.File("absent/data.ini"), "tvmo", "num", "1"));
}

TEST(ProfileWrite, UnreadableFileIsNotOverwritten) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=1\n");
  ASSERT_EQ(chmod(directory.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(path.c_str(), 0222), 0);  // anyone may write it, nobody may read it
  const auto written = privileges::AsUnprivilegedUser(
      [&] { return std::string(WriteProfileString(path, "tvmo", "num", "2") ? "written" : "refused"); });
  if (!written) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*written, "refused");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=1\n");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(ProfileWrite, ReadOnlyDirectoryFails) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);  // the file itself is writable; its folder is not
  ASSERT_EQ(chmod(directory.Path().c_str(), 0555), 0);
  const auto written = privileges::AsUnprivilegedUser(
      [&] { return std::string(WriteProfileString(path, "tvmo", "num", "2") ? "written" : "refused"); });
  if (!written) GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
  EXPECT_EQ(*written, "refused");
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=1\n");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

TEST(ProfileWrite, RefusesTextThatWouldBreakTheLine) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum=1\n");
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", "1\n[evil]"));
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", "1\r2"));
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "num", std::string("1\0002", 3)));
  EXPECT_FALSE(WriteProfileString(path, "tv]mo", "num", "1"));
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "n=m", "1"));
  EXPECT_FALSE(WriteProfileString(path, "tvmo", "", "1"));
  EXPECT_FALSE(WriteProfileString(path, "", "num", "1"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=1\n");
}

TEST(ProfileWrite, PathWithNonAsciiAndBlanks) {
  ScratchDirectory directory;
  std::string folder = directory.File("\xE8\x82\xA1 \xE7\xA5\xA8 dir/");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  std::string path = folder + "my data.ini";
  ASSERT_TRUE(WriteProfileString(path, "tvmo", "num", "1/3"));
  EXPECT_EQ(ReadProfileString(path, "tvmo", "num", "x"), "1/3");
}

struct DeleteCase {
  const char* name;
  std::string before;
  std::string after;
};

void PrintTo(const DeleteCase& row, std::ostream* os) {
  *os << "{" << row.name << ": " << param_text::Quoted(row.before) << " -> " << param_text::Quoted(row.after) << "}";
}

class ProfileDeleteRules : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(ProfileDeleteRules, RemovesTheKeysLinesOnly) {
  const DeleteCase& row = GetParam();
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, row.before);
  ASSERT_TRUE(DeleteProfileKey(path, "tvmo", "preset"));
  EXPECT_EQ(ReadBytes(path), row.after);
  EXPECT_EQ(ReadProfileString(path, "tvmo", "preset", "gone"), "gone");
  EXPECT_EQ(directory.Entries(), std::vector<std::string>{"data.ini"});
}

const DeleteCase kDeleteCases[] = {
    {"OneLine", "[tvmo]\nnum=1\npreset=0.5\nden=2\n", "[tvmo]\nnum=1\nden=2\n"},
    {"EveryLineOfTheKeyInTheSection", "[tvmo]\n PRESET = 1\r\nnum=1\r\npreset=2\r\n\r\n[b]\r\npreset=3",
     "[tvmo]\nnum=1\r\n\r\n[b]\r\npreset=3"},
    {"LastLineWithoutEnd", "[tvmo]\nnum=1\npreset=2", "[tvmo]\nnum=1\n"},
    {"CommentsAndOtherSectionsStay", "; preset=0\n[a]\npreset=1\n[tvmo]\n;preset=2\npreset=3\n",
     "; preset=0\n[a]\npreset=1\n[tvmo]\n;preset=2\n"},
    {"OnlyTheFirstSectionOfTheName", "[tvmo]\npreset=1\n[tvmo]\npreset=2\n", "[tvmo]\n[tvmo]\npreset=2\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDeleteRules, ::testing::ValuesIn(kDeleteCases),
                         [](const ::testing::TestParamInfo<DeleteCase>& info) { return info.param.name; });

TEST(ProfileDelete, AnAbsentKeyOrFileIsNotWritten) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  EXPECT_TRUE(DeleteProfileKey(path, "tvmo", "preset"));
  EXPECT_TRUE(directory.Entries().empty());
  WriteBytes(path, "[tvmo]\nnum=1\n[b]\npreset=2\n");
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  EXPECT_TRUE(DeleteProfileKey(path, "tvmo", "preset"));
  EXPECT_TRUE(DeleteProfileKey(path, "absent", "num"));
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum=1\n[b]\npreset=2\n");
}

TEST(ProfileDelete, FailsWhereTheFileCannotBeReadOrReplaced) {
  ScratchDirectory directory;
  std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\npreset=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(DeleteProfileKey(path, "tvmo", "preset"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\npreset=1\n");
  ASSERT_EQ(mkdir(directory.File("folder.ini").c_str(), 0755), 0);
  EXPECT_FALSE(DeleteProfileKey(directory.File("folder.ini"), "tvmo", "preset"));
}

}  // namespace
}  // namespace tavimo::platform
