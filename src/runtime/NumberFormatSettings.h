#pragma once
// The decimal and thousands separators numbers are read and written with.

#include <string>

namespace tavimo {

struct NumberFormatSettings {
  std::string decimalSeparator = ".";    // one UTF-8 character, never empty
  std::string thousandsSeparator = ",";  // one UTF-8 character; empty means no grouping
};

// The process-wide settings, read by the conversions when no settings are passed.
const NumberFormatSettings& GlobalNumberFormatSettings();
void SetGlobalNumberFormatSettings(const NumberFormatSettings& settings);

// The separators of a named locale (LC_NUMERIC data, first character of each);
// the defaults for the C/POSIX locales, an unknown locale or an empty decimal separator.
NumberFormatSettings QueryLocaleNumberFormat(const char* localeName);

// Fills the process-wide settings from the environment's LC_NUMERIC locale.
void LoadNumberFormatSettings();

}  // namespace tavimo
