#include "runtime/NumberParse.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/Exceptions.h"
#include "runtime/ExtendedBits.h"
#include "runtime/ExtendedPrecision.h"
#include "runtime/Messages.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {

namespace {

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The exponent stops growing once it reaches this: 4999 is the largest that can be read.
constexpr int kExponentReadLimit = 500;

// Below this, M x 10 + 9 still fits in 63 bits.
constexpr std::uint64_t kExactMantissaLimit = 922337203685477580u;

constexpr long double kDigitValues[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

using Uint128 = unsigned __int128;

// q x 2^e as an extended value; q has its top bit set.
inline long double MakeExtended(std::uint64_t q, int e) {
  return ExtendedFromBits({q, static_cast<std::uint16_t>(e + 63 + 16383)});
}

// A non-zero integer rounded to 64 significant bits, nearest with ties to even.
inline long double RoundToExtended(Uint128 x) {
  const auto high = static_cast<std::uint64_t>(x >> 64);
  const int bits = high != 0 ? 128 - __builtin_clzll(high) : 64 - __builtin_clzll(static_cast<std::uint64_t>(x));
  if (bits <= 64) return MakeExtended(static_cast<std::uint64_t>(x) << (64 - bits), bits - 64);
  int shift = bits - 64;
  auto q = static_cast<std::uint64_t>(x >> shift);
  const Uint128 rest = x & ((Uint128(1) << shift) - 1);
  const Uint128 half = Uint128(1) << (shift - 1);
  if ((rest > half || (rest == half && (q & 1) != 0)) && ++q == 0) {
    q = 0x8000000000000000u;
    ++shift;
  }
  return MakeExtended(q, shift);
}

// m / 10^k (m non-zero, k = 1..19) rounded to 64 significant bits, nearest
// with ties to even: what one extended division of the two exact operands
// gives, as q x 2^-shift with q's top bit set.
struct ExtendedParts {
  std::uint64_t q;
  int shift;
};
inline ExtendedParts DivideByPowerOfTenParts(std::uint64_t m, int k) {
  const std::uint64_t d = kIntegerPowersOfTen[k];
  int shift = 64 + (64 - __builtin_clzll(d)) - (64 - __builtin_clzll(m));
  Uint128 n = Uint128(m) << shift;  // n / d lies in [2^63, 2^65)
  if (n >= (Uint128(d) << 64)) {
    n >>= 1;
    --shift;
  }
  std::uint64_t q;
  std::uint64_t r;
  asm("divq %4" : "=a"(q), "=d"(r) : "a"(static_cast<std::uint64_t>(n)), "d"(static_cast<std::uint64_t>(n >> 64)), "rm"(d));
  if ((r > d - r || (r == d - r && (q & 1) != 0)) && ++q == 0) {
    q = 0x8000000000000000u;
    --shift;
  }
  return {q, shift};
}

inline long double DivideByPowerOfTen(std::uint64_t m, int k) {
  const ExtendedParts parts = DivideByPowerOfTenParts(m, k);
  return MakeExtended(parts.q, -parts.shift);
}

// The same quotient rounded on to 53 bits, nearest with ties to even: the
// cast of the extended value to a double (a normal one: k <= 19, m < 10^18).
inline double DivideByPowerOfTenToDouble(std::uint64_t m, int k) {
  const ExtendedParts parts = DivideByPowerOfTenParts(m, k);
  std::uint64_t top = parts.q >> 11;
  const std::uint64_t rest = parts.q & 0x7FF;
  if (rest > 0x400 || (rest == 0x400 && (top & 1) != 0)) ++top;  // 2^53 at most: still exact
  const std::uint64_t scaleBits = static_cast<std::uint64_t>(11 - parts.shift + 1023) << 52;
  double scale;
  std::memcpy(&scale, &scaleBits, sizeof scale);
  return static_cast<double>(top) * scale;
}

// Gathers digits into an integer while that stays exact; stops early at the limit.
inline void AccumulateInteger(const char*& p, const char* end, std::uint64_t& m) {
  while (p != end && m < kExactMantissaLimit) m = m * 10 + static_cast<unsigned>(*p++ - '0');
}

// Continues M = M x 10 + d in extended precision.
inline void AccumulateExtended(const char* p, const char* end, long double& m) {
  for (; p != end; ++p) m = m * 10.0L + kDigitValues[*p - '0'];
}

// The common shape of a price text, [-]digits[separator digits] with 18
// digits at most and nothing else, in one pass: the same integer mantissa
// and the same single operation as the general scan below takes for it, so
// the same value bit for bit. False for any other text, which the general
// scan then reads.
struct PlainDecimal {
  bool negative = false;
  std::uint64_t mantissa = 0;
  int fractionDigits = -1;  // -1 without a separator
};
inline bool ScanPlainDecimalDigits(const char* p, const char* const end, char separator, PlainDecimal& out) {
  out.negative = p != end && *p == '-';
  if (out.negative) ++p;
  int digits = 0;
  for (; p != end; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      if (++digits > 18) return false;
      out.mantissa = out.mantissa * 10 + static_cast<unsigned>(c - '0');
      if (out.fractionDigits >= 0) ++out.fractionDigits;
    } else if (c == separator && out.fractionDigits < 0) {
      out.fractionDigits = 0;
    } else {
      return false;
    }
  }
  return digits != 0;
}

inline bool ScanPlainDecimal(const char* p, const char* const end, char separator, long double& value) {
  PlainDecimal plain;
  if (!ScanPlainDecimalDigits(p, end, separator, plain)) return false;
  long double result;
  if (plain.mantissa == 0) result = 0.0L;
  else if (plain.fractionDigits <= 0) result = RoundToExtended(Uint128(plain.mantissa));
  else result = DivideByPowerOfTen(plain.mantissa, plain.fractionDigits);
  value = plain.negative ? -result : result;
  return true;
}

// ScanPlainDecimal's value rounded on to a double.
inline bool ScanPlainDecimalToDouble(const char* p, const char* const end, char separator, double& value) {
  PlainDecimal plain;
  if (!ScanPlainDecimalDigits(p, end, separator, plain)) return false;
  double result;
  // Below 10^18 an integer is exact in the extended value, so one rounding to
  // a double is all there is.
  if (plain.mantissa == 0) result = 0.0;
  else if (plain.fractionDigits <= 0) result = static_cast<double>(plain.mantissa);
  else result = DivideByPowerOfTenToDouble(plain.mantissa, plain.fractionDigits);
  value = plain.negative ? -result : result;
  return true;
}

}  // namespace

bool ScanDoubleText(std::string_view text, double& value, const NumberFormatSettings& settings) {
  if (settings.decimalSeparator.size() == 1 &&
      ScanPlainDecimalToDouble(text.data(), text.data() + text.size(), settings.decimalSeparator[0], value))
    return true;
  long double extended;
  if (!ScanFloatText(text, extended, settings)) return false;
  if (!(std::fabs(extended) <= static_cast<long double>(std::numeric_limits<double>::max()))) return false;
  const double rounded = static_cast<double>(extended);
  if (!std::isfinite(rounded)) return false;
  value = rounded;
  return true;
}

bool ScanFloatText(std::string_view text, long double& value, const NumberFormatSettings& settings) {
  if (settings.decimalSeparator.size() == 1 &&
      ScanPlainDecimal(text.data(), text.data() + text.size(), settings.decimalSeparator[0], value))
    return true;
  return detail::ScanFloatTextGeneral(text, value, settings);
}

bool detail::ScanFloatTextGeneral(std::string_view text, long double& value, const NumberFormatSettings& settings) {
  // A NUL ends the text; as no rule below accepts a NUL, the scan stops at
  // one by itself and treats it as the end.
  const char* p = text.data();
  const char* const end = p + text.size();
  auto at = [&](const char* q) { return q < end ? *q : '\0'; };

  // The syntax first, remembering where the integer and fraction digits lie.
  while (at(p) == ' ') ++p;
  bool negative = false;
  if (at(p) == '+' || at(p) == '-') negative = *p++ == '-';
  const char* const integerBegin = p;
  while (IsDigit(at(p))) ++p;
  const char* const integerEnd = p;
  const std::string_view separator = settings.decimalSeparator;
  bool consumed = integerBegin != integerEnd;
  if (!separator.empty() && static_cast<std::size_t>(end - p) >= separator.size() &&
      std::memcmp(p, separator.data(), separator.size()) == 0) {
    p += separator.size();
    consumed = true;
  }
  const char* const fractionBegin = p;
  while (IsDigit(at(p))) ++p;
  const char* const fractionEnd = p;
  if (!consumed) return false;

  int exponent = 0;
  if (at(p) == 'E' || at(p) == 'e') {
    ++p;
    bool negativeExponent = false;
    if (at(p) == '+' || at(p) == '-') negativeExponent = *p++ == '-';
    while (IsDigit(at(p))) {
      exponent = exponent * 10 + (*p++ - '0');
      if (exponent >= kExponentReadLimit) break;
    }
    if (negativeExponent) exponent = -exponent;
  }
  while (at(p) == ' ') ++p;
  if (p != end && *p != '\0') return false;

  // M = M x 10 + d in extended precision is exact while M is an integer below
  // 2^63, so the digits gather in an integer until then: the same value, bit
  // for bit, as the extended accumulation.
  const int scale = exponent - static_cast<int>(fractionEnd - fractionBegin);
  std::uint64_t integerMantissa = 0;
  const char* integerRest = integerBegin;
  const char* fractionRest = fractionBegin;
  AccumulateInteger(integerRest, integerEnd, integerMantissa);
  if (integerRest == integerEnd) AccumulateInteger(fractionRest, fractionEnd, integerMantissa);
  const bool longMantissa = integerRest != integerEnd || fractionRest != fractionEnd;

  // A mantissa of up to 18 digits and a scale within one exact table power
  // take a single correctly rounded operation (exact operands, nearest, ties
  // to even), which integer arithmetic gives bit for bit without touching the
  // floating-point unit's state: the usual case of a typed price or ratio.
  if (!longMantissa && scale >= -19 && scale <= 19) {
    long double result;
    if (integerMantissa == 0) result = 0.0L;
    else if (scale >= 0) result = RoundToExtended(Uint128(integerMantissa) * kIntegerPowersOfTen[scale]);
    else result = DivideByPowerOfTen(integerMantissa, -scale);
    value = negative ? -result : result;
    return true;
  }
  if (!longMantissa && integerMantissa == 0) {
    value = negative ? -0.0L : 0.0L;
    return true;
  }

  detail::ExtendedPrecisionScope scope;
  long double mantissa = static_cast<long double>(static_cast<std::int64_t>(integerMantissa));
  if (longMantissa) {
    AccumulateExtended(integerRest, integerEnd, mantissa);
    AccumulateExtended(fractionRest, fractionEnd, mantissa);
  }
  // Digits beyond the extended range overflow before any scaling; a scale of
  // -5120 or less would turn that infinity into zero, so it is checked first.
  if ((BitsOf(mantissa).signAndExponent & 0x7FFF) == 0x7FFF) {
    scope.Leave(mantissa);
    return false;
  }
  long double result = ScaleByPowerOfTen(mantissa, scale);
  if (negative) result = -result;
  // With every exception masked, an overflow shows as an infinity and an
  // invalid operation as a NaN; digits and finite powers make nothing else.
  // Both are read from the exponent bits rather than by comparing, which for
  // a denormal would raise a flag of its own, possibly after the scope is left.
  const int exponentField = BitsOf(result).signAndExponent & 0x7FFF;
  const bool finite = exponentField != 0x7FFF;
  const bool tiny = exponentField == 0;
  scope.Leave(result, finite && !tiny);
  if (!finite) return false;
  value = result;
  return true;
}

bool ScanWrittenDecimal(std::string_view text, long double& value, WrittenDecimal& out,
                        const NumberFormatSettings& settings) {
  if (!ScanFloatText(text, value, settings)) return false;
  // The scanner accepted the text, so its syntax is sound: walk it again for
  // the digits, the decimals and the exponent (read in full, as it was).
  text = text.substr(0, text.find('\0'));
  std::size_t p = 0;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  while (at(p) == ' ') ++p;
  out = WrittenDecimal();
  if (at(p) == '+' || at(p) == '-') out.negative = text[p++] == '-';
  std::string digits;
  while (IsDigit(at(p))) digits += text[p++];
  int fractionDigits = 0;
  const std::string_view separator = settings.decimalSeparator;
  if (!separator.empty() && text.substr(p, separator.size()) == separator) {
    p += separator.size();
    for (; IsDigit(at(p)); ++p, ++fractionDigits) digits += text[p];
  }
  int exponent = 0;
  if (at(p) == 'E' || at(p) == 'e') {
    ++p;
    bool negativeExponent = false;
    if (at(p) == '+' || at(p) == '-') negativeExponent = text[p++] == '-';
    while (IsDigit(at(p)) && exponent < kExponentReadLimit) exponent = exponent * 10 + (text[p++] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return true;
  const std::size_t last = digits.find_last_not_of('0');
  out.digits = digits.substr(first, last + 1 - first);
  out.exponent = exponent - fractionDigits + static_cast<int>(digits.size() - 1 - last);
  return true;
}

long double ParseFloatText(std::string_view text, const NumberFormatSettings& settings) {
  long double value;
  if (!ScanFloatText(text, value, settings)) throw EConvertError(messages::FormatMessage(messages::kInvalidFloat, text));
  return value;
}

namespace {

bool ScanIntegerText(std::string_view text, std::int32_t& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  if (p == end) return false;
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end) return false;

  std::uint32_t v = 0;
  const bool hex = *p == '$' || *p == 'x' || *p == 'X' ||
                   (*p == '0' && end - p >= 2 && (p[1] == 'x' || p[1] == 'X'));
  if (hex) {
    p += *p == '0' ? 2 : 1;
    if (p == end) return false;
    for (; p != end; ++p) {
      const char c = *p;
      unsigned h;
      if (IsDigit(c)) h = static_cast<unsigned>(c - '0');
      else if (c >= 'A' && c <= 'F') h = static_cast<unsigned>(c - 'A' + 10);
      else if (c >= 'a' && c <= 'f') h = static_cast<unsigned>(c - 'a' + 10);
      else return false;
      if (v > 0x0FFFFFFFu) return false;
      v = v * 16 + h;
    }
    // The full 32-bit pattern is the result: $FFFFFFFF is -1.
    if (negative) v = 0u - v;
    value = static_cast<std::int32_t>(v);
    return true;
  }
  for (; p != end; ++p) {
    if (!IsDigit(*p)) return false;
    if (v > 214748364u) return false;
    v = v * 10 + static_cast<unsigned>(*p - '0');
  }
  if (negative ? v > 2147483648u : v > 2147483647u) return false;
  value = static_cast<std::int32_t>(negative ? 0u - v : v);
  return true;
}

}  // namespace

bool ScanDigits(std::string_view text, std::uint64_t limit, std::uint64_t& value) {
  if (text.empty()) return false;
  std::uint64_t read = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (read > (limit - digit) / 10) return false;
    read = read * 10 + digit;
  }
  value = read;
  return true;
}

std::int32_t ParseIntegerText(std::string_view text) {
  std::int32_t value;
  if (!ScanIntegerText(text, value)) throw EConvertError(messages::FormatMessage(messages::kInvalidInteger, text));
  return value;
}

}  // namespace tavimo
