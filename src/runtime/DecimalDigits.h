#pragma once
// The decimal digits of an extended value, which every formatter starts
// from, and the decimal digits of an integer.

#include <cstdint>

namespace tavimo {

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

// Writes the decimal digits of `value`, padded with leading zeros to at least
// `minDigits`, so that they end just before `end`; returns where they begin.
// At most max(10, minDigits) bytes are written.
char* WriteIntegerDigits(std::uint32_t value, int minDigits, char* end);

}  // namespace tavimo
