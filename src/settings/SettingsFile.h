#pragma once
// The settings file: where it lives, and the ratio list stored in it as key
// "num" of section "tvmo".

#include <string>
#include <string_view>

#include "calc/LevelScale.h"
#include "calc/RatioList.h"

namespace tavimo {

// data.ini beside the executable; for an installed copy
// (its directory not writable and holding no data.ini) the per-user
// <config>/tavimo/data.ini. The path names the file actually used.
std::string SettingsFilePath();
std::string ChooseSettingsFilePath(const std::string& executableDirectory, bool executableDirectoryWritable,
                                   const std::string& userConfigDirectory);

// Reads the stored list (the default list when the file, the section or the
// key is missing, or the value is empty). A missing or unreadable file is no
// error. Nothing is validated; bad entries fail only when a level is computed.
RatioList ReadRatioList(const std::string& settingsPath);
// The text that list is made from: the stored value, or DefaultRatioText
// where ReadRatioList falls back to the default list.
std::string ReadRatioText(const std::string& settingsPath);
// ReadRatioList into the process-wide list; returns ReadRatioText's text.
std::string LoadRatioList();
std::string LoadRatioList(const std::string& settingsPath);

// Stores the text unchanged, creating the file's directory when it is
// missing. Raises EConvertError "Ratio list text longer than 2047 bytes."
// for a text a read would cut, and EIniFileException "Unable to write to
// <path>" on failure; the file then keeps its old content.
void SaveRatioText(std::string_view text);
void SaveRatioText(std::string_view text, const std::string& settingsPath);

// How levels are shown beyond the ratio list: the price tick (key "tick")
// and the level scale (key "scale", "log" or absent) of section "tvmo".
// Both keys are written only while set, so a file that never had them reads
// as it always did.
struct LevelSettings {
  std::string tickText;  // empty: no tick, levels as computed
  LevelScale scale = LevelScale::Linear;
  bool operator==(const LevelSettings&) const = default;
};

// Missing keys, and a scale value other than "log", read as unset.
LevelSettings ReadLevelSettings(const std::string& settingsPath);

// Everything the window reads at start, in one pass over the file: the
// ratio list text (as ReadRatioText gives it) and the level settings.
struct StoredSettings {
  std::string ratioText;
  LevelSettings level;
  // Why a file that exists could not be read (the defaults are used then),
  // as ReadProfileValues gives it; empty when it was read or is missing.
  std::string readError;
};
// For a settings file that exists but could not be read, "cannot read
// '<path>': <reason>; using the default ratio list"; else empty.
std::string UnreadableSettingsWarning(const std::string& settingsPath, const StoredSettings& stored);
StoredSettings ReadStoredSettings(const std::string& settingsPath);
// ReadStoredSettings, with its list made the process-wide list.
StoredSettings LoadSettings(const std::string& settingsPath);
// An empty text removes the key. Raise EIniFileException "Unable to write to
// <path>" as SaveRatioText does; the file then keeps its old content.
void SaveTickText(std::string_view text, const std::string& settingsPath);
void SaveLevelScale(LevelScale scale, const std::string& settingsPath);

}  // namespace tavimo
