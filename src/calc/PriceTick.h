#pragma once
// Rounding levels to an instrument's price tick, so that they land on prices
// that can actually trade. The tick is read from its text as an exact
// decimal T; a level L becomes n x T, n the integer nearest to the exact
// quotient L / T (ties away from zero), or its ceiling or floor.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/EnumNames.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo {

enum class TickRounding { Nearest, Up, Down };

inline constexpr std::array<NamedValue<TickRounding>, 3> kTickRoundingNames = {
    {{TickRounding::Nearest, "nearest"}, {TickRounding::Up, "up"}, {TickRounding::Down, "down"}}};
constexpr std::string_view TickRoundingName(TickRounding rounding) { return NameOf(kTickRoundingNames, rounding); }
constexpr std::optional<TickRounding> TickRoundingFromName(std::string_view name) {
  return ValueNamed(kTickRoundingNames, name);
}

// "%s" is the tick text as given.
inline constexpr std::string_view kInvalidTickMessage = "Invalid tick '%s'.";
inline constexpr std::string_view kTickTooLargeMessage = "Level too large for tick %s.";

// A level on the tick: the double nearest to n x T and its mark text.
struct TickedLevel {
  double level = 0.0;
  std::string text;
};

class PriceTick {
 public:
  // The text is read by the rules of a price (ScanFloatText in these
  // separators); its exact decimal value must be above zero. Raises
  // EConvertError kInvalidTickMessage otherwise.
  explicit PriceTick(std::string_view text, const NumberFormatSettings& settings = GlobalNumberFormatSettings());

  // The text as given.
  const std::string& Text() const { return text_; }
  // The digits after the decimal separator in the tick's shortest exact
  // decimal form: "0.010" has 2, "5" and "5e2" have 0.
  int Decimals() const { return exponent_ < 0 ? -exponent_ : 0; }

  // n for a (finite) level. Raises EConvertError kTickTooLargeMessage when |n| >= 10^18.
  std::int64_t Multiple(double level, TickRounding rounding) const;
  // The double nearest to the exact n x T (ties to even). Raises EOverflow
  // beyond the double range; a result below it becomes 0 or a denormal.
  double MultipleValue(std::int64_t n) const;
  // n x T with exactly Decimals() decimals and the thousands separator
  // every three integer digits, as "#,##0.00" would write it: "16.20", "-1,234.50".
  void AppendMultipleText(std::int64_t n, std::string& out,
                          const NumberFormatSettings& settings = GlobalNumberFormatSettings()) const;

  // Multiple, MultipleValue and the text together.
  TickedLevel Round(double level, TickRounding rounding,
                    const NumberFormatSettings& settings = GlobalNumberFormatSettings()) const;

 private:
  struct Quotient;
  Quotient DivideExactly(double magnitude) const;
  // The decimal digits of |n| x t, without leading zeros ("0" for n = 0).
  std::string ProductDigits(std::uint64_t n) const;

  std::string text_;
  std::string digits_;  // t: the significant digits, no leading or trailing zero
  int exponent_ = 0;    // T = t x 10^exponent_
  // T = smallMantissa_ / 10^smallScale_ when that fits (the usual tick),
  // which lets the quotient be formed in 128-bit integers.
  bool small_ = false;
  std::uint64_t smallMantissa_ = 0;
  int smallScale_ = 0;
};

}  // namespace tavimo
