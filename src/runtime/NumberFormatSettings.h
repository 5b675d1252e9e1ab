#pragma once
// The decimal and thousands separators numbers are read and written with.

#include <string>

namespace tavimo {

struct NumberFormatSettings {
  std::string decimalSeparator = ".";    // one UTF-8 character, never empty
  std::string thousandsSeparator = ",";  // one UTF-8 character; empty means no grouping
};

// The process-wide settings, read by the conversions when no settings are
// passed; platform/LocaleNumberFormat.h fills them from the environment.
const NumberFormatSettings& GlobalNumberFormatSettings();
void SetGlobalNumberFormatSettings(const NumberFormatSettings& settings);

}  // namespace tavimo
