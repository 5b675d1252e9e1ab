#pragma once
// Named ratio lists: four built in, and the user's own, stored in the
// settings file's section "presets" as name=ratio list text. The section is
// one of its own, so the stored list (tvmo/num) stays as it always was.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavimo {

enum class BuiltInPreset { Default, Retracements, Extensions, Thirds };

inline constexpr std::array<BuiltInPreset, 4> kBuiltInPresets = {BuiltInPreset::Default, BuiltInPreset::Retracements,
                                                                 BuiltInPreset::Extensions, BuiltInPreset::Thirds};

// The preset's ratio list text; Default is DefaultRatioText.
std::string_view BuiltInPresetText(BuiltInPreset preset);

struct RatioPreset {
  std::string name;
  std::string text;
  bool operator==(const RatioPreset&) const = default;
};

// The user's presets in file order (a name stored twice counts once, the
// first time); none when the file or the section is missing.
std::vector<RatioPreset> ReadUserPresets(const std::string& settingsPath);

// Whether a name can be stored as a key and read back as itself: not empty,
// no blanks around it, no '=', line break or NUL, not starting with ';' or
// '['. Names match without regard to ASCII case, as keys do.
bool IsValidPresetName(std::string_view name);

// Stores text under name (a valid name), replacing a preset of that name;
// the text reads back exactly. Raises EIniFileException "Unable to write to
// <path>" when the file cannot be written; it then keeps its old content.
void SaveUserPreset(std::string_view name, std::string_view text, const std::string& settingsPath);
// Removes the preset; nothing happens when there is none of that name.
// Raises EIniFileException as SaveUserPreset does.
void DeleteUserPreset(std::string_view name, const std::string& settingsPath);

}  // namespace tavimo
