#pragma once
// Exact arithmetic on doubles and decimal texts, for the few comparisons that
// a floating-point result cannot decide (a price exactly on a threshold). A
// value is an integer of any size times a power of two; every sum, difference
// and product of such values is exact.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

class ExactNumber {
 public:
  ExactNumber() = default;
  // A finite double, exactly.
  static ExactNumber FromDouble(double value);
  static ExactNumber FromInteger(std::int64_t value);
  // 10^power, power >= 0.
  static ExactNumber PowerOfTen(int power);

  friend ExactNumber operator+(const ExactNumber& a, const ExactNumber& b);
  friend ExactNumber operator-(const ExactNumber& a, const ExactNumber& b);
  friend ExactNumber operator*(const ExactNumber& a, const ExactNumber& b);
  ExactNumber Negated() const;
  ExactNumber Abs() const;
  // -1, 0 or 1.
  int Sign() const;
  friend int Compare(const ExactNumber& a, const ExactNumber& b) { return (a - b).Sign(); }

 private:
  bool negative_ = false;
  std::vector<std::uint32_t> magnitude_;  // little-endian words, no high zero word
  int exponent_ = 0;                      // value = magnitude x 2^exponent
};

// A decimal text read exactly: the text is first checked by the number rules
// (ScanFloatText in the separators given), then its digits are kept instead
// of their rounding. value = digits x 10^exponent.
struct ExactDecimal {
  ExactNumber digits;
  int exponent = 0;
  bool negative = false;
  bool zero = true;
  // The double the number rules give the same text.
  double rounded = 0.0;
};

// False when the text is not a number by the number rules.
bool ReadExactDecimal(std::string_view text, ExactDecimal& out, const NumberFormatSettings& settings);

// A parameter the user gives as decimal text (a percent change, a
// tolerance), kept as typed, as its double and as its exact decimal.
class ExactTextParameter {
 public:
  const std::string& Text() const { return text_; }
  // The double of the text, as the number rules give it.
  double Value() const { return exact_.rounded; }
  const ExactDecimal& Exact() const { return exact_; }

 protected:
  // Raises EConvertError with invalidMessage ("%s": the text) for a text
  // that is not a number, and where accept says no.
  ExactTextParameter(std::string_view text, const NumberFormatSettings& settings, std::string_view invalidMessage,
                     bool (*accept)(const ExactDecimal&));

 private:
  std::string text_;
  ExactDecimal exact_;
};

}  // namespace tavimo
