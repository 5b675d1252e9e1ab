#include "runtime/NumberFormatSettings.h"

namespace tavimo {

namespace {
NumberFormatSettings& ProcessSettings() {
  static NumberFormatSettings settings;
  return settings;
}
}  // namespace

const NumberFormatSettings& GlobalNumberFormatSettings() { return ProcessSettings(); }

void SetGlobalNumberFormatSettings(const NumberFormatSettings& settings) { ProcessSettings() = settings; }

}  // namespace tavimo
