#pragma once
// Writing extended values as text, by a pattern such as "#,##0.###" or with
// a number of significant digits.

#include <string>
#include <string_view>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// Raises EConvertError "Format string too long" for a pattern over 224 characters.
std::string FormatFloatPattern(std::string_view pattern, long double value,
                               const NumberFormatSettings& settings = GlobalNumberFormatSettings());
std::string FormatFloatGeneral(long double value, int precision,
                               const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
