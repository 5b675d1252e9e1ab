#include "calc/PriceTick.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/NumberParse.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {

namespace {

using Uint128 = unsigned __int128;

constexpr std::uint64_t kMultipleLimit = kIntegerPowersOfTen[18];  // |n| must stay below 10^18

int BitLength(Uint128 x) {
  const auto high = static_cast<std::uint64_t>(x >> 64);
  if (high != 0) return 128 - std::countl_zero(high);
  return 64 - std::countl_zero(static_cast<std::uint64_t>(x));
}

int Compare(Uint128 a, Uint128 b) { return a < b ? -1 : a > b ? 1 : 0; }

// The decimal digits of x, without leading zeros ("0" for zero).
std::string DecimalText(Uint128 x) {
  char buffer[40];
  char* end = buffer + sizeof buffer;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + static_cast<int>(x % 10));
    x /= 10;
  } while (x != 0);
  return std::string(p, end);
}

// A natural number of any size, for ticks whose digits or exponent leave the
// 128-bit range: only the few operations an exact division needs.
class BigNatural {
 public:
  BigNatural() = default;
  explicit BigNatural(Uint128 value) {
    for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
  }
  static BigNatural FromDigits(std::string_view digits) {
    BigNatural n;
    for (std::size_t at = 0; at < digits.size();) {
      const std::size_t length = std::min<std::size_t>(9, digits.size() - at);
      std::uint32_t chunk = 0;
      for (std::size_t i = 0; i < length; ++i) chunk = chunk * 10 + static_cast<std::uint32_t>(digits[at + i] - '0');
      n.MultiplyAdd(static_cast<std::uint32_t>(kIntegerPowersOfTen[length]), chunk);
      at += length;
    }
    return n;
  }

  bool IsZero() const { return limbs_.empty(); }

  void MultiplyAdd(std::uint64_t factor, std::uint64_t addend) {
    Uint128 carry = addend;
    for (std::uint32_t& limb : limbs_) {
      const Uint128 product = static_cast<Uint128>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    for (; carry != 0; carry >>= 32) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  void MultiplyByPowerOfTen(int n) {
    for (; n >= 19; n -= 19) MultiplyAdd(kIntegerPowersOfTen[19], 0);
    if (n > 0) MultiplyAdd(kIntegerPowersOfTen[n], 0);
  }

  void ShiftLeft(int bits) {
    if (IsZero() || bits == 0) return;
    const int words = bits / 32;
    const int rest = bits % 32;
    if (rest != 0) {
      std::uint32_t carry = 0;
      for (std::uint32_t& limb : limbs_) {
        const std::uint32_t next = limb >> (32 - rest);
        limb = (limb << rest) | carry;
        carry = next;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), static_cast<std::size_t>(words), 0u);
  }

  // *this -= other, for other <= *this.
  void Subtract(const BigNatural& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t value = static_cast<std::int64_t>(limbs_[i]) - borrow -
                           (i < other.limbs_.size() ? static_cast<std::int64_t>(other.limbs_[i]) : 0);
      borrow = value < 0 ? 1 : 0;
      if (value < 0) value += std::int64_t(1) << 32;
      limbs_[i] = static_cast<std::uint32_t>(value);
    }
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  friend int Compare(const BigNatural& a, const BigNatural& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
  }

  std::string DecimalText() const {
    if (IsZero()) return "0";
    std::vector<std::uint32_t> rest = limbs_;
    std::vector<std::uint32_t> chunks;  // base 10^9, least significant first
    while (!rest.empty()) {
      std::uint64_t remainder = 0;
      for (std::size_t i = rest.size(); i-- > 0;) {
        const std::uint64_t value = (remainder << 32) | rest[i];
        rest[i] = static_cast<std::uint32_t>(value / 1000000000u);
        remainder = value % 1000000000u;
      }
      chunks.push_back(static_cast<std::uint32_t>(remainder));
      while (!rest.empty() && rest.back() == 0) rest.pop_back();
    }
    std::string text = std::to_string(chunks.back());
    for (std::size_t i = chunks.size() - 1; i-- > 0;) {
      const std::string chunk = std::to_string(chunks[i]);
      text.append(9 - chunk.size(), '0');
      text += chunk;
    }
    return text;
  }

 private:
  std::vector<std::uint32_t> limbs_;  // least significant first, no zero limb at the top
};

// A finite non-zero double's magnitude as m x 2^e with an integer m < 2^53.
void SplitBinary(double magnitude, std::uint64_t& m, int& e) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int field = static_cast<int>((bits >> 52) & 0x7FF);
  m = bits & ((std::uint64_t(1) << 52) - 1);
  if (field == 0) {
    e = -1074;
  } else {
    m |= std::uint64_t(1) << 52;
    e = field - 1075;
  }
}

}  // namespace

PriceTick::PriceTick(std::string_view text, const NumberFormatSettings& settings) : text_(text) {
  const auto invalid = [&] { return EConvertError(messages::FormatMessage(kInvalidTickMessage, text_)); };
  long double value;
  WrittenDecimal written;
  if (!ScanWrittenDecimal(text, value, written, settings) || written.digits.empty() || written.negative) throw invalid();
  digits_ = std::move(written.digits);
  exponent_ = written.exponent;

  if (digits_.size() <= 18) {
    std::uint64_t t = 0;
    for (char c : digits_) t = t * 10 + static_cast<std::uint64_t>(c - '0');
    if (exponent_ <= 0 && exponent_ >= -19) {
      small_ = true;
      smallMantissa_ = t;
      smallScale_ = -exponent_;
    } else if (exponent_ > 0 && digits_.size() + static_cast<std::size_t>(exponent_) <= 18) {
      small_ = true;
      smallMantissa_ = t * kIntegerPowersOfTen[exponent_];
      smallScale_ = 0;
    }
  }
}

// floor(|L| / T), with where the remainder R lies against half the divisor
// B, or tooLarge when the quotient reaches 10^18.
struct PriceTick::Quotient {
  bool tooLarge = false;
  std::uint64_t floor = 0;
  int halfCompare = -1;  // sign of 2R - B
  bool exact = false;    // R = 0
};

PriceTick::Quotient PriceTick::DivideExactly(double magnitude) const {
  Quotient q;
  std::uint64_t m;
  int e;
  SplitBinary(magnitude, m, e);

  if (small_) {
    // |L| / T = m 2^e 10^k / t; m 10^k < 2^53 x 10^19 < 2^117.
    const Uint128 scaled = static_cast<Uint128>(m) * kIntegerPowersOfTen[smallScale_];
    const Uint128 t = smallMantissa_;
    Uint128 quotient;
    Uint128 remainder;
    Uint128 divisor;
    if (e >= 0) {
      // Past 2^127 the quotient exceeds 2^127 / t > 2^64: far too large.
      if (BitLength(scaled) + e > 127) {
        q.tooLarge = true;
        return q;
      }
      const Uint128 numerator = scaled << e;
      quotient = numerator / t;
      remainder = numerator % t;
      divisor = t;
    } else if (BitLength(t) - e > 127) {
      // The divisor t 2^-e passes 2^127 > 2 m 10^k: the quotient is below a half.
      q.floor = 0;
      q.halfCompare = -1;
      q.exact = false;
      return q;
    } else {
      divisor = t << -e;
      quotient = scaled / divisor;
      remainder = scaled % divisor;
    }
    if (quotient >= kMultipleLimit) {
      q.tooLarge = true;
      return q;
    }
    q.floor = static_cast<std::uint64_t>(quotient);
    q.halfCompare = Compare(remainder, divisor - remainder);
    q.exact = remainder == 0;
    return q;
  }

  // |L| / T = A / B with A = m 2^max(e,0) 10^max(-q,0) and B = t 2^max(-e,0) 10^max(q,0).
  BigNatural a(m);
  BigNatural b = BigNatural::FromDigits(digits_);
  if (e >= 0)
    a.ShiftLeft(e);
  else
    b.ShiftLeft(-e);
  if (exponent_ >= 0)
    b.MultiplyByPowerOfTen(exponent_);
  else
    a.MultiplyByPowerOfTen(-exponent_);
  BigNatural limit = b;
  limit.MultiplyAdd(kMultipleLimit, 0);
  if (Compare(a, limit) >= 0) {
    q.tooLarge = true;
    return q;
  }
  // The quotient is below 10^18 < 2^60: long division one bit at a time.
  for (int bit = 59; bit >= 0; --bit) {
    BigNatural shifted = b;
    shifted.ShiftLeft(bit);
    if (Compare(a, shifted) >= 0) {
      a.Subtract(shifted);
      q.floor |= std::uint64_t(1) << bit;
    }
  }
  q.exact = a.IsZero();
  a.ShiftLeft(1);
  q.halfCompare = Compare(a, b);
  return q;
}

std::int64_t PriceTick::Multiple(double level, TickRounding rounding) const {
  const auto tooLarge = [&] { return EConvertError(messages::FormatMessage(kTickTooLargeMessage, text_)); };
  if (!std::isfinite(level)) throw tooLarge();
  if (level == 0.0) return 0;
  const bool negative = std::signbit(level);
  const Quotient q = DivideExactly(std::fabs(level));
  if (q.tooLarge) throw tooLarge();
  // Rounding the magnitude: up and down swap their meaning below zero.
  bool increment = false;
  switch (rounding) {
    case TickRounding::Nearest: increment = q.halfCompare >= 0; break;
    case TickRounding::Up: increment = !negative && !q.exact; break;
    case TickRounding::Down: increment = negative && !q.exact; break;
  }
  const std::uint64_t magnitude = q.floor + (increment ? 1 : 0);
  if (magnitude >= kMultipleLimit) throw tooLarge();
  const auto n = static_cast<std::int64_t>(magnitude);
  return negative ? -n : n;
}

std::string PriceTick::ProductDigits(std::uint64_t n) const {
  if (n == 0) return "0";
  if (digits_.size() <= 18) {
    std::uint64_t t = 0;
    for (char c : digits_) t = t * 10 + static_cast<std::uint64_t>(c - '0');
    return DecimalText(static_cast<Uint128>(n) * t);
  }
  BigNatural product = BigNatural::FromDigits(digits_);
  product.MultiplyAdd(n, 0);
  return product.DecimalText();
}

double PriceTick::MultipleValue(std::int64_t n) const {
  if (n == 0) return 0.0;
  const std::uint64_t magnitude = n < 0 ? 0u - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  const std::string digits = ProductDigits(magnitude);
  std::string decimal = (n < 0 ? "-" : "") + digits + "e" + std::to_string(exponent_);
  double value = 0.0;
  const std::from_chars_result result = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  // n x T lies in [10^(D-1), 10^D) times 10^exponent_ for D digits: that
  // tells an overflow from an underflow, which is silent.
  const long long decimalMagnitude = static_cast<long long>(digits.size()) + exponent_;
  if (result.ec == std::errc::result_out_of_range || std::isinf(value)) {
    if (decimalMagnitude > 0) throw EOverflow(std::string(messages::kOverflow));
    return n < 0 ? -0.0 : 0.0;
  }
  return value;
}

void PriceTick::AppendMultipleText(std::int64_t n, std::string& out, const NumberFormatSettings& settings) const {
  const std::uint64_t magnitude = n < 0 ? 0u - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  const std::string digits = ProductDigits(magnitude);
  const int decimals = Decimals();
  // The integer digits, then the fraction, padding with zeros on either side.
  std::string integer;
  std::string fraction;
  if (magnitude == 0) {
    integer = "0";
    fraction.assign(static_cast<std::size_t>(decimals), '0');
  } else if (exponent_ >= 0) {
    integer = digits + std::string(static_cast<std::size_t>(exponent_), '0');
  } else if (digits.size() > static_cast<std::size_t>(decimals)) {
    integer = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    fraction = digits.substr(integer.size());
  } else {
    integer = "0";
    fraction = std::string(static_cast<std::size_t>(decimals) - digits.size(), '0') + digits;
  }
  if (n < 0) out += '-';
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (i != 0 && (integer.size() - i) % 3 == 0) out += settings.thousandsSeparator;
    out += integer[i];
  }
  if (!fraction.empty()) {
    out += settings.decimalSeparator;
    out += fraction;
  }
}

TickedLevel PriceTick::Round(double level, TickRounding rounding, const NumberFormatSettings& settings) const {
  const std::int64_t n = Multiple(level, rounding);
  TickedLevel result;
  result.level = MultipleValue(n);
  AppendMultipleText(n, result.text, settings);
  return result;
}

}  // namespace tavimo
