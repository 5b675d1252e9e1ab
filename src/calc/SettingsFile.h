#pragma once
// The settings file: where it lives, and the ratio list stored in it as key
// "num" of section "tvmo".

#include <string>
#include <string_view>

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
// missing. Raises EIniFileException "Unable to write to <path>" on failure;
// the file then keeps its old content.
void SaveRatioText(std::string_view text);
void SaveRatioText(std::string_view text, const std::string& settingsPath);

}  // namespace tavimo
