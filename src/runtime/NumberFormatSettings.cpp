#include "runtime/NumberFormatSettings.h"

#include "runtime/ProcessWide.h"

namespace tavimo {

namespace {
struct GlobalSettingsTag;
}  // namespace

const NumberFormatSettings& GlobalNumberFormatSettings() {
  return ProcessWide<NumberFormatSettings, GlobalSettingsTag>();
}

void SetGlobalNumberFormatSettings(const NumberFormatSettings& settings) {
  ProcessWide<NumberFormatSettings, GlobalSettingsTag>() = settings;
}

}  // namespace tavimo
