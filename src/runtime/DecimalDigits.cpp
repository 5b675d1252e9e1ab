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

// 5^k for k = 0..27: with 2^k, the exact 10^k by which the unit scales a
// magnitude of 10^-9 to 10^18 in one multiply.
constexpr std::uint64_t kPowersOfFive[28] = {
    1u, 5u, 25u, 125u, 625u, 3125u, 15625u, 78125u, 390625u, 1953125u, 9765625u, 48828125u, 244140625u,
    1220703125u, 6103515625u, 30517578125u, 152587890625u, 762939453125u, 3814697265625u, 19073486328125u,
    95367431640625u, 476837158203125u, 2384185791015625u, 11920928955078125u, 59604644775390625u,
    298023223876953125u, 1490116119384765625u, 7450580596923828125u};

using Uint128 = unsigned __int128;

// x / 2^shift (shift 1..127) rounded to the nearest integer, ties to even.
inline Uint128 ShiftRoundingToEven(Uint128 x, int shift) {
  const Uint128 q = x >> shift;
  const Uint128 rest = x & ((Uint128(1) << shift) - 1);
  const Uint128 half = Uint128(1) << (shift - 1);
  return rest > half || (rest == half && (q & 1) != 0) ? q + 1 : q;
}

// significand x 2^(e2 - 63) x 10^k rounded to an integer as the unit
// computes it for k = 0..27, in integer arithmetic: one multiply by the exact
// 10^k, the product rounded to 64 bits (ties to even), then to an integer
// (ties to even). False outside that range of k or of the result.
inline bool ScaledToInteger(std::uint64_t significand, int e2, int k, std::uint64_t& n) {
  if (k < 0 || k > 27) return false;
  const Uint128 product = Uint128(significand) * kPowersOfFive[k];
  const auto high = static_cast<std::uint64_t>(product >> 64);
  const int bits = high != 0 ? 128 - __builtin_clzll(high) : 64;
  int binaryExponent = e2 - 63 + k;  // of the product's last bit
  Uint128 rounded = product;
  if (bits > 64) {
    rounded = ShiftRoundingToEven(product, bits - 64);
    binaryExponent += bits - 64;  // a carry to 2^64 keeps its value: one more bit, still exact
  }
  const int fractionBits = -binaryExponent;
  if (fractionBits < 1 || fractionBits > 100) return false;
  const Uint128 integer = ShiftRoundingToEven(rounded, fractionBits);
  if (integer >= (Uint128(1) << 63)) return false;
  n = static_cast<std::uint64_t>(integer);
  return true;
}

// EighteenDigits of significand x 2^(e2 - 63) for the usual magnitudes
// (10^-9 to 10^18), step for step in integer arithmetic, so the same
// integer bit for bit without the cost of saving and restoring the unit's
// state. False where it would scale by an inexact power; EighteenDigits
// then runs itself.
inline bool EighteenDigitsExactly(std::uint64_t significand, int e2, int& exponent, std::int64_t& result) {
  exponent = ((e2 * 19728) >> 16) + 1;
  std::uint64_t n;
  if (!ScaledToInteger(significand, e2, 18 - exponent, n)) return false;
  if (n >= static_cast<std::uint64_t>(kTenTo18)) {
    // n / 10 in the unit: below 2 x 10^17 the quotient keeps at least six
    // fraction bits, so only a remainder of exactly 5 is a tie.
    const std::uint64_t q = n / 10, r = n % 10;
    n = q + (r > 5 || (r == 5 && (q & 1) != 0) ? 1 : 0);
    ++exponent;
  } else if (n < static_cast<std::uint64_t>(kTenTo17)) {
    --exponent;
    if (!ScaledToInteger(significand, e2, 18 - exponent, n)) return false;
  }
  result = static_cast<std::int64_t>(n);
  return true;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline void WritePair(std::uint32_t pair, char* out) { std::memcpy(out, kDigitPairs + 2 * pair, 2); }

// Nine digits, leading zeros included: split into parts that are written
// side by side, instead of one chain of divisions by 100.
inline void WriteNineDigits(std::uint32_t x, char* out) {
  const std::uint32_t first = x / 100000000u;
  const std::uint32_t rest = x % 100000000u;
  const std::uint32_t upper = rest / 10000u, lower = rest % 10000u;
  out[0] = static_cast<char>('0' + first);
  WritePair(upper / 100u, out + 1);
  WritePair(upper % 100u, out + 3);
  WritePair(lower / 100u, out + 5);
  WritePair(lower % 100u, out + 7);
}

void WriteEighteenDigits(std::uint64_t n, char* out) {
  WriteNineDigits(static_cast<std::uint32_t>(n / 1000000000u), out);
  WriteNineDigits(static_cast<std::uint32_t>(n % 1000000000u), out + 9);
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
  if (!EighteenDigitsExactly(bits.significand, exponentField - 16383, exponent, n)) {
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
