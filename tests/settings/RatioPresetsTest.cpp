// Ratio presets: the built-in lists, and the user's own in data.ini's
// section "presets", beside the stored list and never in its way.

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The ratios a preset's text gives, entry by entry.
std::vector<double> RatiosOf(BuiltInPreset preset) {
  std::vector<double> ratios;
  for (const std::string& entry : SplitRatioText(BuiltInPresetText(preset))) ratios.push_back(ParseRatio(entry));
  return ratios;
}

TEST(BuiltInPresets, EachTextGivesItsRatiosInOrder) {
  EXPECT_EQ(BuiltInPresetText(BuiltInPreset::Default), DefaultRatioText);
  EXPECT_EQ(RatiosOf(BuiltInPreset::Default),
            (std::vector<double>{0.191, 0.236, 1.0 / 3, 0.382, 0.5, 0.618, 2.0 / 3, 0.809, 1, 1.191, 1.236, 1.382, 1.5,
                                 1.618, 1.809, 2}));
  EXPECT_EQ(RatiosOf(BuiltInPreset::Retracements), (std::vector<double>{0.236, 0.382, 0.5, 0.618, 0.786}));
  EXPECT_EQ(RatiosOf(BuiltInPreset::Extensions), (std::vector<double>{1.272, 1.414, 1.618, 2, 2.618}));
  EXPECT_EQ(RatiosOf(BuiltInPreset::Thirds), (std::vector<double>{1.0 / 3, 0.5, 2.0 / 3}));
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
