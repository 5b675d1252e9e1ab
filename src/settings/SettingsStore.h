#pragma once
// What every writer of data.ini shares: the one "Unable to write" failure,
// the folder created before the first save, and the longest list text a
// value can hold and read back whole.

#include <string>
#include <string_view>

namespace tavimo {

inline constexpr std::size_t kMaxRatioTextBytes = 2047;
inline constexpr std::string_view kRatioTextTooLongMessage = "Ratio list text longer than 2047 bytes.";

// False for a text a read of data.ini would cut.
bool IsStorableRatioText(std::string_view text);
// Raises EConvertError kRatioTextTooLongMessage for a text that is not storable.
void RequireStorableRatioText(std::string_view text);

// Sets key of section, creating the file's folder first; raises
// EIniFileException "Unable to write to <path>" on failure, the file then
// keeping its old content.
void StoreSetting(const std::string& settingsPath, std::string_view section, std::string_view key,
                  std::string_view value);
// Removes key of section; the same failure as StoreSetting.
void RemoveSetting(const std::string& settingsPath, std::string_view section, std::string_view key);

}  // namespace tavimo
