#include "runtime/DecimalDigits.h"

#include <cstring>

#include "runtime/ExtendedBits.h"
#include "runtime/ExtendedPrecision.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {

namespace {

// Nearest integer, ties to even (the scope guarantees the rounding mode).
inline std::int64_t RoundToInteger(long double x) {
  std::int64_t n;
  asm("fistpll %0" : "=m"(n) : "t"(x) : "st");
  return n;
}

constexpr std::int64_t kTenTo17 = 100000000000000000;
constexpr std::int64_t kTenTo18 = 1000000000000000000;

// The magnitude scaled to an integer of 18 digits, with its decimal exponent.
std::int64_t EighteenDigits(long double magnitude, int e2, int& exponent) {
  exponent = ((e2 * 19728) >> 16) + 1;
  std::int64_t n = RoundToInteger(ScaleByPowerOfTen(magnitude, 18 - exponent));
  if (n >= kTenTo18) {
    n = RoundToInteger(static_cast<long double>(n) / 10.0L);
    ++exponent;
  } else if (n < kTenTo17) {
    // The estimate overshoots by one for a few tiny magnitudes, which would
    // leave a leading zero; scale once more so that 18 digits are kept.
    --exponent;
    n = RoundToInteger(ScaleByPowerOfTen(magnitude, 18 - exponent));
  }
  return n;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void WriteEighteenDigits(std::uint64_t n, char* out) {
  WriteIntegerDigits(static_cast<std::uint32_t>(n / 1000000000u), 9, out + 9);
  WriteIntegerDigits(static_cast<std::uint32_t>(n % 1000000000u), 9, out + 18);
}

}  // namespace

char* WriteIntegerDigits(std::uint32_t value, int minDigits, char* end) {
  char* p = end;
  // Two digits at a time, from the last.
  while (value >= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (value >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * value, 2);
  } else {
    *--p = static_cast<char>('0' + value);
  }
  while (end - p < minDigits) *--p = '0';
  return p;
}

DecimalDigits ToDecimalDigits(long double value, int precision, int decimals) {
  DecimalDigits result;
  const ExtendedBits bits = BitsOf(value);
  const int exponentField = bits.signAndExponent & 0x7FFF;
  const bool negative = (bits.signAndExponent & 0x8000) != 0;
  if (exponentField == 0) return result;  // zero and denormals
  if (exponentField == 0x7FFF) {
    const bool infinity = bits.significand == 0x8000000000000000u || (bits.significand >> 63) == 0;
    result.exponent = infinity ? DecimalDigits::kInfinity : DecimalDigits::kNaN;
    result.negative = infinity && negative;
    return result;
  }
  if ((bits.significand >> 63) == 0) {
    // An unnormal (integer bit clear) is no operand the unit computes with:
    // scaling it would only raise invalid. It reads as a NaN.
    result.exponent = DecimalDigits::kNaN;
    return result;
  }

  int exponent;
  std::int64_t n;
  {
    detail::ExtendedPrecisionScope scope;
    n = EighteenDigits(__builtin_fabsl(value), exponentField - 16383, exponent);
    // Scaling a normal value towards 10^17 can neither overflow nor underflow.
    scope.Leave(n, true);
  }
  char digits[18];
  WriteEighteenDigits(static_cast<std::uint64_t>(n), digits);

  const int wanted = exponent + decimals;
  if (wanted < 0) return result;
  int count = wanted < precision ? wanted : precision;
  if (count > 18) count = 18;
  if (count < 0) count = 0;
  if (count < 18 && digits[count] >= '5') {
    int i = count - 1;
    while (i >= 0 && digits[i] == '9') --i;
    if (i < 0) {
      digits[0] = '1';
      count = 1;
      ++exponent;
    } else {
      ++digits[i];
      count = i + 1;
    }
  } else {
    while (count > 0 && digits[count - 1] == '0') --count;
    if (count == 0) {
      result.exponent = static_cast<std::int16_t>(exponent);
      return result;
    }
  }
  std::memcpy(result.digits, digits, static_cast<std::size_t>(count));
  result.digits[count] = '\0';
  result.exponent = static_cast<std::int16_t>(exponent);
  result.negative = negative;
  return result;
}

}  // namespace tavimo
