#include "settings/RatioPresets.h"

#include "calc/RatioList.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsStore.h"

namespace tavimo {

namespace {
constexpr std::string_view kSection = "presets";

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
  if (name.empty() || platform::IsProfileBlank(name.front()) || platform::IsProfileBlank(name.back())) return false;
  if (name.front() == ';' || name.front() == '[') return false;
  return name.find_first_of(std::string_view("=\n\r\0", 4)) == std::string_view::npos;
}

void SaveUserPreset(std::string_view name, std::string_view text, const std::string& settingsPath) {
  // A read drops blanks around a value and one pair of quotes; a text that
  // would lose something is stored inside quotes of its own.
  RequireStorableRatioText(text);
  std::string value(text);
  if (platform::ProfileValueText(value) != text) value = "\"" + value + "\"";
  StoreSetting(settingsPath, kSection, name, value);
}

void DeleteUserPreset(std::string_view name, const std::string& settingsPath) {
  RemoveSetting(settingsPath, kSection, name);
}

}  // namespace tavimo
