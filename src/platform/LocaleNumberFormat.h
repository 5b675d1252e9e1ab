#pragma once
// The number separators of the environment's locale.

#include "runtime/NumberFormatSettings.h"

namespace tavimo::platform {

// The separators of a named locale (LC_NUMERIC data, first character of
// each); "" names the environment's choice. The defaults for the C/POSIX
// locales, an unknown locale or an empty decimal separator.
NumberFormatSettings QueryLocaleNumberFormat(const char* localeName);

// Fills the process-wide settings from the environment's LC_NUMERIC locale.
void LoadNumberFormatSettings();

}  // namespace tavimo::platform
