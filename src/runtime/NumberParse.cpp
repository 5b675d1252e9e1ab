#include <cfloat>
#include <cmath>
#include <cstring>

#include "runtime/Exceptions.h"
#include "runtime/ExtendedPrecision.h"
#include "runtime/Messages.h"
#include "runtime/NumberText.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {

namespace {

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The exponent stops growing once it reaches this: 4999 is the largest that can be read.
constexpr int kExponentReadLimit = 500;

// Below this, M x 10 + 9 still fits in 63 bits.
constexpr std::uint64_t kExactMantissaLimit = 922337203685477580u;

constexpr long double kDigitValues[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

bool ScanFloatText(std::string_view text, long double& value, const NumberFormatSettings& settings) {
  // A NUL ends the text; as no rule below accepts a NUL, the scan stops at
  // one by itself and treats it as the end.
  const char* p = text.data();
  const char* const end = p + text.size();
  auto at = [&](const char* q) { return q < end ? *q : '\0'; };

  while (at(p) == ' ') ++p;
  bool negative = false;
  if (at(p) == '+' || at(p) == '-') negative = *p++ == '-';

  const std::string_view separator = settings.decimalSeparator;
  detail::ExtendedPrecisionScope scope;
  // M = M x 10 + d in extended precision is exact while M stays an integer
  // below 2^63, so the digits gather in an integer until then and the rest
  // continue in extended arithmetic: the same value, bit for bit.
  std::uint64_t integerMantissa = 0;
  long double mantissa = 0.0L;
  bool extended = false;
  auto accumulate = [&](int digit) {
    if (!extended) {
      if (integerMantissa < kExactMantissaLimit) {
        integerMantissa = integerMantissa * 10 + static_cast<unsigned>(digit);
        return;
      }
      mantissa = static_cast<long double>(static_cast<std::int64_t>(integerMantissa));
      extended = true;
    }
    mantissa = mantissa * 10.0L + kDigitValues[digit];
  };
  bool consumed = false;
  while (IsDigit(at(p))) {
    accumulate(*p++ - '0');
    consumed = true;
  }
  int fractionDigits = 0;
  if (!separator.empty() && static_cast<std::size_t>(end - p) >= separator.size() &&
      std::memcmp(p, separator.data(), separator.size()) == 0) {
    p += separator.size();
    consumed = true;
    while (IsDigit(at(p))) {
      accumulate(*p++ - '0');
      ++fractionDigits;
    }
  }
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

  if (!extended) mantissa = static_cast<long double>(static_cast<std::int64_t>(integerMantissa));
  long double result = ScaleByPowerOfTen(mantissa, exponent - fractionDigits);
  if (negative) result = -result;
  // With every exception masked, an overflow shows as an infinity and an
  // invalid operation as a NaN; digits and finite powers make nothing else.
  const bool finite = std::isfinite(result);
  const bool tiny = std::fabs(result) < LDBL_MIN && mantissa != 0.0L;
  scope.Leave(result, finite && !tiny);
  if (!finite) return false;
  value = result;
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

std::int32_t ParseIntegerText(std::string_view text) {
  std::int32_t value;
  if (!ScanIntegerText(text, value)) throw EConvertError(messages::FormatMessage(messages::kInvalidInteger, text));
  return value;
}

}  // namespace tavimo
