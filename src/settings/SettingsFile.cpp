#include "settings/SettingsFile.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "runtime/Messages.h"
#include "platform/ExecutablePath.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsStore.h"

namespace tavimo {

namespace {

constexpr std::string_view kSection = "tvmo";
constexpr std::string_view kKey = "num";
constexpr std::string_view kTickKey = "tick";
constexpr std::string_view kScaleKey = "scale";
constexpr std::string_view kFileName = "data.ini";
constexpr std::string_view kUserSubdirectory = "tavimo/";

// Writes a key of section tvmo, or removes it for an empty value.
void SaveOptionalKey(std::string_view key, std::string_view value, const std::string& settingsPath) {
  if (value.empty()) RemoveSetting(settingsPath, kSection, key);
  else StoreSetting(settingsPath, kSection, key, value);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

std::string ChooseSettingsFilePath(const std::string& executableDirectory, bool executableDirectoryWritable,
                                   const std::string& userConfigDirectory) {
  const std::string beside = executableDirectory + std::string(kFileName);
  // An unknown executable directory must not turn into the working directory.
  const bool installed =
      executableDirectory.empty() || (!executableDirectoryWritable && !FileExists(beside));
  if (installed && !userConfigDirectory.empty())
    return userConfigDirectory + std::string(kUserSubdirectory) + std::string(kFileName);
  return beside;
}

std::string SettingsFilePath() {
  const std::string directory = platform::ExecutableDirectory();
  return ChooseSettingsFilePath(directory, platform::IsDirectoryWritable(directory),
                                platform::UserConfigDirectory());
}

StoredSettings ReadStoredSettings(const std::string& settingsPath) {
  platform::ProfileValues read = platform::ReadProfileValues(settingsPath, kSection, {kKey, kTickKey, kScaleKey});
  std::vector<std::optional<std::string>>& values = read.values;
  StoredSettings stored;
  stored.readError = std::move(read.readError);
  stored.ratioText = values[0] && !values[0]->empty() ? std::move(*values[0]) : std::string(DefaultRatioText);
  stored.level.tickText = values[1].value_or("");
  if (values[2] && LevelScaleFromName(*values[2]) == LevelScale::Log) stored.level.scale = LevelScale::Log;
  return stored;
}

RatioList ReadRatioList(const std::string& settingsPath) { return RatioListFromStoredText(ReadRatioText(settingsPath)); }

std::string ReadRatioText(const std::string& settingsPath) { return ReadStoredSettings(settingsPath).ratioText; }

std::string LoadRatioList() { return LoadRatioList(SettingsFilePath()); }

std::string LoadRatioList(const std::string& settingsPath) { return LoadSettings(settingsPath).ratioText; }

StoredSettings LoadSettings(const std::string& settingsPath) {
  StoredSettings stored = ReadStoredSettings(settingsPath);
  ReplaceRatioList(RatioListFromStoredText(stored.ratioText));
  return stored;
}

void SaveRatioText(std::string_view text) { SaveRatioText(text, SettingsFilePath()); }

void SaveRatioText(std::string_view text, const std::string& settingsPath) {
  RequireStorableRatioText(text);
  StoreSetting(settingsPath, kSection, kKey, text);
}

std::string UnreadableSettingsWarning(const std::string& settingsPath, const StoredSettings& stored) {
  if (stored.readError.empty()) return {};
  return "cannot read " + messages::QuotedText(settingsPath) + ": " + stored.readError + "; using the default ratio list";
}

LevelSettings ReadLevelSettings(const std::string& settingsPath) { return ReadStoredSettings(settingsPath).level; }

void SaveTickText(std::string_view text, const std::string& settingsPath) {
  SaveOptionalKey(kTickKey, text, settingsPath);
}

void SaveLevelScale(LevelScale scale, const std::string& settingsPath) {
  SaveOptionalKey(kScaleKey, scale == LevelScale::Log ? LevelScaleName(LevelScale::Log) : std::string_view(),
                  settingsPath);
}

}  // namespace tavimo
