#pragma once
// Conversion between numbers and text: decimal text to an extended value,
// text to a 32-bit integer, and extended values to text by a pattern such as
// "#,##0.###" or with a number of significant digits.

#include <cfloat>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

static_assert(sizeof(long double) >= 10, "long double must be the x87 extended format");
static_assert(LDBL_MANT_DIG == 64, "long double must have the x87 64-bit significand");

// The decimal form every formatter shares: magnitude = 0.d1d2d3... x 10^exponent.
struct DecimalDigits {
  static constexpr std::int16_t kInfinity = 0x7FFF;
  static constexpr std::int16_t kNaN = static_cast<std::int16_t>(0x8000);
  std::int16_t exponent = 0;
  bool negative = false;
  char digits[19] = {};  // at most 18 ASCII digits, NUL-terminated; empty for zero
};

// precision: significant digits (at most 18); decimals: digits after the point (9999: unlimited).
DecimalDigits ToDecimalDigits(long double value, int precision, int decimals);

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

// Raises EConvertError "Format string too long" for a pattern over 224 characters.
std::string FormatFloatPattern(std::string_view pattern, long double value,
                               const NumberFormatSettings& settings = GlobalNumberFormatSettings());
std::string FormatFloatGeneral(long double value, int precision,
                               const NumberFormatSettings& settings = GlobalNumberFormatSettings());

}  // namespace tavimo
