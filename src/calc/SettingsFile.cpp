#include "calc/SettingsFile.h"

#include <filesystem>
#include <system_error>

#include "platform/ExecutablePath.h"
#include "platform/ProfileFile.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

namespace {

constexpr std::string_view kSection = "tvmo";
constexpr std::string_view kKey = "num";
constexpr std::string_view kFileName = "data.ini";
constexpr std::string_view kUserSubdirectory = "tavimo/";

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

RatioList ReadRatioList(const std::string& settingsPath) { return RatioListFromStoredText(ReadRatioText(settingsPath)); }

std::string ReadRatioText(const std::string& settingsPath) {
  std::string text = platform::ReadProfileString(settingsPath, kSection, kKey, DefaultRatioText);
  return text.empty() ? std::string(DefaultRatioText) : text;
}

std::string LoadRatioList() { return LoadRatioList(SettingsFilePath()); }

std::string LoadRatioList(const std::string& settingsPath) {
  std::string text = ReadRatioText(settingsPath);
  ReplaceRatioList(RatioListFromStoredText(text));
  return text;
}

void SaveRatioText(std::string_view text) { SaveRatioText(text, SettingsFilePath()); }

void SaveRatioText(std::string_view text, const std::string& settingsPath) {
  // The per-user folder does not exist before the first save; a failure here
  // shows up as the failed write below.
  const std::filesystem::path directory = std::filesystem::path(settingsPath).parent_path();
  if (!directory.empty()) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
  }
  if (!platform::WriteProfileString(settingsPath, kSection, kKey, text))
    throw EIniFileException(messages::FormatMessage(messages::kUnableToWrite, settingsPath));
}

}  // namespace tavimo
