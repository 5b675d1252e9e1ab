#pragma once
// Reading numbers from text: decimal text to an extended value, and text to
// a 32-bit integer.

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// Scans decimal text: optional blanks (spaces only) around an optional sign,
// digits with the settings' decimal separator and an optional exponent; the
// text ends at its first NUL. False when the text is not a number or leaves
// the extended range (nothing is raised, `value` is untouched).
bool ScanFloatText(std::string_view text, long double& value,
                   const NumberFormatSettings& settings = GlobalNumberFormatSettings());
// ScanFloatText's value rounded to a double, exactly as a cast of the
// extended value rounds it (nearest, ties to even); false also where that
// double is not finite. Plain decimals of up to 18 digits are rounded in
// integer arithmetic, without the floating-point unit: the price files'
// bulk of numbers.
bool ScanDoubleText(std::string_view text, double& value, const NumberFormatSettings& settings);
// A number text's decimal value as written, for the readers that need it
// exactly: value = digits x 10^exponent, negative for a leading "-".
struct WrittenDecimal {
  bool negative = false;
  std::string digits;  // no leading or trailing zero; empty for zero
  int exponent = 0;
};
// ScanFloatText, and for a text it accepts the digits themselves instead of
// their rounding. False (out untouched) when ScanFloatText refuses the text.
bool ScanWrittenDecimal(std::string_view text, long double& value, WrittenDecimal& out,
                        const NumberFormatSettings& settings);
namespace detail {
// ScanFloatText without its one-pass reading of plain decimals: the
// reference the faster path is checked against.
bool ScanFloatTextGeneral(std::string_view text, long double& value, const NumberFormatSettings& settings);
}  // namespace detail
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
