#include "settings/RatioPresets.h"

#include <filesystem>
#include <system_error>

#include "calc/RatioList.h"
#include "platform/ProfileFile.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

namespace {
constexpr std::string_view kSection = "presets";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

[[noreturn]] void RaiseUnableToWrite(const std::string& settingsPath) {
  throw EIniFileException(messages::FormatMessage(messages::kUnableToWrite, settingsPath));
}
}  // namespace

std::string_view BuiltInPresetText(BuiltInPreset preset) {
  switch (preset) {
    case BuiltInPreset::Default: return DefaultRatioText;
    case BuiltInPreset::Retracements: return "0.236,0.382,0.5,0.618,0.786";
    case BuiltInPreset::Extensions: return "1.272,1.414,1.618,2,2.618";
    case BuiltInPreset::Thirds: return "1/3,1/2,2/3";
  }
  return DefaultRatioText;
}

std::vector<RatioPreset> ReadUserPresets(const std::string& settingsPath) {
  std::vector<RatioPreset> presets;
  for (auto& [name, text] : platform::ReadProfileSection(settingsPath, kSection))
    presets.push_back({std::move(name), std::move(text)});
  return presets;
}

bool IsValidPresetName(std::string_view name) {
  if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
  if (name.front() == ';' || name.front() == '[') return false;
  return name.find_first_of(std::string_view("=\n\r\0", 4)) == std::string_view::npos;
}

void SaveUserPreset(std::string_view name, std::string_view text, const std::string& settingsPath) {
  // A read drops blanks around a value and one pair of quotes; a text that
  // would lose something is stored inside quotes of its own.
  std::string value(text);
  if (platform::ProfileValueText(value) != text) value = "\"" + value + "\"";
  const std::filesystem::path directory = std::filesystem::path(settingsPath).parent_path();
  if (!directory.empty()) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
  }
  if (!platform::WriteProfileString(settingsPath, kSection, name, value)) RaiseUnableToWrite(settingsPath);
}

void DeleteUserPreset(std::string_view name, const std::string& settingsPath) {
  if (!platform::DeleteProfileKey(settingsPath, kSection, name)) RaiseUnableToWrite(settingsPath);
}

}  // namespace tavimo
