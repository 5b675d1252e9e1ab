#pragma once
// Reading numbers from text: decimal text to an extended value, and text to
// a 32-bit integer.

#include <cstdint>
#include <string_view>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// Scans decimal text: optional blanks (spaces only) around an optional sign,
// digits with the settings' decimal separator and an optional exponent; the
// text ends at its first NUL. False when the text is not a number or leaves
// the extended range (nothing is raised, `value` is untouched).
bool ScanFloatText(std::string_view text, long double& value,
                   const NumberFormatSettings& settings = GlobalNumberFormatSettings());
// Raises EConvertError "'%s' is not a valid floating point value".
long double ParseFloatText(std::string_view text,
                           const NumberFormatSettings& settings = GlobalNumberFormatSettings());
// Decimal, or hexadecimal after "$", "x", "X" or "0x" (eight digits at most,
// the full 32-bit pattern). Raises EConvertError "'%s' is not a valid integer value".
std::int32_t ParseIntegerText(std::string_view text);
// Plain decimal digits and nothing else (no sign, blank or separator), of a
// value at most limit. False otherwise, `value` then untouched.
bool ScanDigits(std::string_view text, std::uint64_t limit, std::uint64_t& value);

}  // namespace tavimo
