// Loading the ratio list from data.ini and storing its text there.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "CalcTestSupport.h"
#include "ParamText.h"
#include "calc/ComputeCommand.h"
#include "calc/RatioList.h"
#include "settings/SettingsFile.h"
#include "platform/ExecutablePath.h"
#include "platform/FileOps.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;
using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;

RatioList DefaultList() { return SplitRatioText(DefaultRatioText); }

TEST(LoadRatioList, MissingFileGivesTheSixteenDefaults) {
  const ScratchDirectory dir;
  LoadRatioList(dir.File("data.ini"));
  ASSERT_EQ(CurrentRatioList().size(), 16u);
  EXPECT_EQ(CurrentRatioList(), DefaultList());
}

TEST(LoadRatioList, ReplacesTheProcessListAndGivesTheStoredText) {
  const ScratchDirectory dir;
  WriteFile(dir.File("data.ini"), "[tvmo]\nnum=0.5,2/3\n");
  ReplaceRatioList({"a", "b"});
  EXPECT_EQ(LoadRatioList(dir.File("data.ini")), "0.5,2/3");
  EXPECT_EQ(CurrentRatioList(), (RatioList{"0.5", "2/3"}));
}

struct StoredCase {
  const char* name;
  std::string file;
  RatioList entries;
};

void PrintTo(const StoredCase& c, std::ostream* out) {
  *out << c.name << ": " << param_text::Quoted(c.file) << " -> " << param_text::QuotedList(c.entries);
}

class ReadRatioListTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(ReadRatioListTest, GivesTheStoredOrDefaultList) {
  const ScratchDirectory dir;
  WriteFile(dir.File("data.ini"), GetParam().file);
  EXPECT_EQ(ReadRatioList(dir.File("data.ini")), GetParam().entries);
  // The text in effect is the one that list is split from.
  EXPECT_EQ(SplitRatioText(ReadRatioText(dir.File("data.ini"))), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadRatioListTest,
    ::testing::Values(
        StoredCase{"EmptyValue", "[tvmo]\nnum=\n", DefaultList()},
        StoredCase{"NoKey", "[tvmo]\nother=1\n", DefaultList()},
        StoredCase{"NoSection", "[other]\nnum=0.5\n", DefaultList()},
        StoredCase{"EmptyFile", "", DefaultList()},
        StoredCase{"OneRatio", "[tvmo]\nnum=0.5\n", {"0.5"}},
        StoredCase{"SectionAndKeyIgnoreCase", "[TVMO]\nNUM=1/3,2\n", {"1/3", "2"}},
        StoredCase{"BlanksOnlyValueIsEmptyValue", "[tvmo]\nnum=   \n", DefaultList()},
        StoredCase{"QuotedValueLosesQuotes", "[tvmo]\nnum=\"0.5, 1\"\n", {"0.5", "1"}},
        StoredCase{"NotValidatedOnLoad", "[tvmo]\nnum=0.5,abc,1/0\n", {"0.5", "abc", "1/0"}}),
    param_text::NameField());

TEST(ReadRatioList, UnreadableFileGivesDefaults) {
  const ScratchDirectory dir;
  std::filesystem::create_directory(dir.File("data.ini"));  // a folder cannot be read as a file
  EXPECT_EQ(ReadRatioList(dir.File("data.ini")), DefaultList());
}

TEST(ReadRatioList, LongValueIsCutTo2047Bytes) {
  const ScratchDirectory dir;
  WriteFile(dir.File("data.ini"), "[tvmo]\nnum=" + std::string(3000, '7') + "\n");
  const RatioList list = ReadRatioList(dir.File("data.ini"));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], std::string(2047, '7'));
}

TEST(ReadRatioList, BadEntriesFailOnlyWhenComputed) {
  const ScratchDirectory dir;
  WriteFile(dir.File("data.ini"), "[tvmo]\nnum=0.5,abc\n");
  const RatioList list = ReadRatioList(dir.File("data.ini"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(Raises<EConvertError>([&] { RunCompute(ComputeMode::Resistance, "10", "20", list); },
                                    "'abc' is not a valid floating point value"));

  WriteFile(dir.File("data.ini"), "[tvmo]\nnum=1/0\n");
  const RatioList divides = ReadRatioList(dir.File("data.ini"));
  EXPECT_TRUE(Raises<EZeroDivide>([&] { RunCompute(ComputeMode::Rise, "10", "", divides); },
                                  "Floating point division by zero"));
}

TEST(RatioListFromStoredText, EmptyTextMeansDefaults) {
  EXPECT_EQ(RatioListFromStoredText(""), DefaultList());
  EXPECT_TRUE(RatioListFromStoredText(" ").empty());
  EXPECT_EQ(RatioListFromStoredText("1,2"), (RatioList{"1", "2"}));
}

TEST(SaveRatioText, WritesTheTextUnchangedAndReadsItBack) {
  const ScratchDirectory dir;
  const std::string path = dir.File("data.ini");
  SaveRatioText(" 0.5 ,, 1/3", path);
  EXPECT_EQ(ReadFile(path).find("num= 0.5 ,, 1/3") != std::string::npos, true) << ReadFile(path);
  EXPECT_EQ(ReadRatioList(path), (RatioList{"0.5", "", "1/3"}));
}

TEST(SaveRatioText, SavingTheSameTextAgainSucceedsAndChangesNothing) {
  const ScratchDirectory dir;
  const std::string path = dir.File("data.ini");
  WriteFile(path, "; kept\n[tvmo]\nnum=0.5,1\n[other]\nx=1\n");
  SaveRatioText("0.5,1", path);
  const std::string first = ReadFile(path);
  SaveRatioText("0.5,1", path);
  EXPECT_EQ(ReadFile(path), first);
  EXPECT_EQ(first, "; kept\n[tvmo]\nnum=0.5,1\n[other]\nx=1\n");
}

TEST(SaveRatioText, CreatesAMissingFolder) {
  const ScratchDirectory dir;
  const std::string path = dir.Path() + "config/tavimo/data.ini";
  SaveRatioText("0.5", path);
  EXPECT_EQ(ReadRatioList(path), (RatioList{"0.5"}));
}

TEST(SaveRatioText, FailedWriteRaisesWithThePath) {
  const ScratchDirectory dir;
  WriteFile(dir.File("file"), "not a folder");
  const std::string path = dir.Path() + "file/data.ini";
  EXPECT_TRUE(Raises<EIniFileException>([&] { SaveRatioText("0.5", path); }, "Unable to write to " + path));
}

// Every rename is refused, as on a full or read-only disk.
int RefuseRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST(SaveRatioText, FailedWriteLeavesTheOldFile) {
  const ScratchDirectory dir;
  const std::string path = dir.File("data.ini");
  const std::string old = "[tvmo]\nnum=0.5,1\n";
  WriteFile(path, old);
  platform::FileOps refusing = platform::SystemFileOps();
  refusing.rename = RefuseRename;
  platform::SetFileOps(&refusing);
  const bool raised = Raises<EIniFileException>([&] { SaveRatioText("2,3", path); }, "Unable to write to " + path);
  platform::SetFileOps(nullptr);
  EXPECT_TRUE(raised);
  EXPECT_EQ(ReadFile(path), old);
}

// The tick and the scale are written only while set: clearing them gives the
// file back byte for byte, so older copies read it as they always did.
TEST(LevelSettings, AreWrittenOnlyWhileSetAndClearingRestoresTheFile) {
  const ScratchDirectory dir;
  const std::string path = dir.File("data.ini");
  const std::string original = "[tvmo]\r\nnum=0.5,2/3\r\n";
  WriteFile(path, original);
  EXPECT_EQ(ReadLevelSettings(path), LevelSettings{});
  SaveTickText("0.05", path);
  SaveLevelScale(LevelScale::Log, path);
  EXPECT_EQ(ReadLevelSettings(path), (LevelSettings{"0.05", LevelScale::Log}));
  EXPECT_EQ(ReadRatioText(path), "0.5,2/3");
  SaveTickText("", path);
  SaveLevelScale(LevelScale::Linear, path);
  EXPECT_EQ(ReadFile(path), original);
  WriteFile(path, "[tvmo]\nscale=LOGARITHMIC\n");
  EXPECT_EQ(ReadLevelSettings(path).scale, LevelScale::Linear);
}

TEST(SettingsFilePath, InstalledCopyUsesThePerUserFile) {
  const ScratchDirectory dir;
  const std::string user = "/home/u/.config/";
  EXPECT_EQ(ChooseSettingsFilePath(dir.Path(), true, user), dir.File("data.ini"));
  EXPECT_EQ(ChooseSettingsFilePath(dir.Path(), false, user), user + "tavimo/data.ini");
  // An unknown executable folder must not become the working directory.
  EXPECT_EQ(ChooseSettingsFilePath("", false, user), user + "tavimo/data.ini");
  // Without a per-user folder the file stays beside the executable (and a write fails there).
  EXPECT_EQ(ChooseSettingsFilePath(dir.Path(), false, ""), dir.File("data.ini"));
  // A read-only folder that holds data.ini keeps using it.
  WriteFile(dir.File("data.ini"), "[tvmo]\nnum=1\n");
  EXPECT_EQ(ChooseSettingsFilePath(dir.Path(), false, user), dir.File("data.ini"));
}

TEST(SettingsFilePath, FollowsTheExecutableNotTheWorkingDirectory) {
  const ScratchDirectory dir;
  const std::string before = SettingsFilePath();
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const std::string inside = SettingsFilePath();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(inside, before);
  // The test program's build folder is writable, so the file is beside it.
  EXPECT_EQ(before, platform::ExecutableDirectory() + "data.ini");
}

}  // namespace
}  // namespace tavimo
