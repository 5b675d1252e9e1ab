#include "settings/SettingsStore.h"

#include <filesystem>
#include <system_error>

#include "platform/ProfileFile.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

namespace {

[[noreturn]] void RaiseUnableToWrite(const std::string& settingsPath) {
  throw EIniFileException(messages::FormatMessage(messages::kUnableToWrite, settingsPath));
}

// The per-user folder does not exist before the first save; a failure here
// shows up as the failed write that follows.
void CreateFolderOf(const std::string& settingsPath) {
  const std::filesystem::path directory = std::filesystem::path(settingsPath).parent_path();
  if (directory.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(directory, error);
}

}  // namespace

bool IsStorableRatioText(std::string_view text) { return text.size() <= kMaxRatioTextBytes; }

void RequireStorableRatioText(std::string_view text) {
  if (!IsStorableRatioText(text)) throw EConvertError(std::string(kRatioTextTooLongMessage));
}

void StoreSetting(const std::string& settingsPath, std::string_view section, std::string_view key,
                  std::string_view value) {
  CreateFolderOf(settingsPath);
  if (!platform::WriteProfileString(settingsPath, section, key, value)) RaiseUnableToWrite(settingsPath);
}

void RemoveSetting(const std::string& settingsPath, std::string_view section, std::string_view key) {
  if (!platform::DeleteProfileKey(settingsPath, section, key)) RaiseUnableToWrite(settingsPath);
}

}  // namespace tavimo
