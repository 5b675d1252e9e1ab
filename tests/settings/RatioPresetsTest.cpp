// Ratio presets: the built-in lists, and the user's own in data.ini's
// section "presets", beside the stored list and never in its way.

#include <gtest/gtest.h>

#include <string>

#include "CalcTestSupport.h"
#include "calc/RatioList.h"
#include "settings/RatioPresets.h"
#include "settings/SettingsFile.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

using testing::Raises;
using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;

TEST(BuiltInPresets, EveryEntryIsARatio) {
  for (BuiltInPreset preset : kBuiltInPresets) {
    const RatioList list = SplitRatioText(BuiltInPresetText(preset));
    ASSERT_FALSE(list.empty());
    for (const std::string& entry : list) EXPECT_NO_THROW(ParseRatio(entry)) << entry;
  }
  EXPECT_EQ(BuiltInPresetText(BuiltInPreset::Default), DefaultRatioText);
}

TEST(IsValidPresetName, RefusesWhatWouldNotReadBackAsTheSameKey) {
  for (const char* name : {"a", "经典", "my list 2", "x;y", "a[b]"}) EXPECT_TRUE(IsValidPresetName(name)) << name;
  for (const char* name : {"", " a", "a ", "a=b", ";a", "[a]", "a\nb", "a\rb"})
    EXPECT_FALSE(IsValidPresetName(name)) << name;
  EXPECT_FALSE(IsValidPresetName(std::string("a\0b", 3)));
}

TEST(UserPresets, AreStoredBesideTheListAndReadBackExactlyInOrder) {
  const ScratchDirectory dir;
  const std::string path = dir.File("data.ini");
  WriteFile(path, "[tvmo]\nnum=0.5,1\n");
  EXPECT_TRUE(ReadUserPresets(path).empty());
  SaveUserPreset("fibs", "0.382,0.618", path);
  SaveUserPreset("quoted", "\"1,2\",3", path);
  SaveUserPreset("blank", " 0.5 ", path);
  SaveUserPreset("FIBS", "0.5", path);  // the same key: replaced in place
  EXPECT_EQ(ReadUserPresets(path), (std::vector<RatioPreset>{{"fibs", "0.5"}, {"quoted", "\"1,2\",3"},
                                                             {"blank", " 0.5 "}}));
  // The stored list and its section stay byte for byte.
  EXPECT_EQ(ReadFile(path).rfind("[tvmo]\nnum=0.5,1\n[presets]\n", 0), 0u) << ReadFile(path);
  EXPECT_EQ(ReadRatioText(path), "0.5,1");

  DeleteUserPreset("quoted", path);
  DeleteUserPreset("never saved", path);
  EXPECT_EQ(ReadUserPresets(path), (std::vector<RatioPreset>{{"fibs", "0.5"}, {"blank", " 0.5 "}}));
}

TEST(UserPresets, AFailedWriteRaisesWithThePath) {
  const ScratchDirectory dir;
  WriteFile(dir.File("file"), "not a folder");
  const std::string path = dir.Path() + "file/data.ini";
  EXPECT_TRUE(ReadUserPresets(path).empty());
  EXPECT_TRUE(Raises<EIniFileException>([&] { SaveUserPreset("a", "1", path); }, "Unable to write to " + path));
}

}  // namespace
}  // namespace tavimo
