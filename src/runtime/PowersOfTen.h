#pragma once
// Powers of ten as extended constants and the scaling by 10^k that both the
// parser and the decimal-digit conversion use, so that both round alike.

#include <cstdint>

#include "runtime/ExtendedBits.h"  // the format the tables are rounded to

namespace tavimo {

// 10^n for n = 0..19, exactly: 10^19 is the largest power that fits in 64 bits.
inline constexpr std::uint64_t kIntegerPowersOfTen[20] = {1u,
                                                          10u,
                                                          100u,
                                                          1000u,
                                                          10000u,
                                                          100000u,
                                                          1000000u,
                                                          10000000u,
                                                          100000000u,
                                                          1000000000u,
                                                          10000000000u,
                                                          100000000000u,
                                                          1000000000000u,
                                                          10000000000000u,
                                                          100000000000000u,
                                                          1000000000000000u,
                                                          10000000000000000u,
                                                          100000000000000000u,
                                                          1000000000000000000u,
                                                          10000000000000000000u};

// 10^n for n = 0..31, 10^(32 j) for j = 0..15 and 10^(512 m) for m = 0..9,
// each the nearest extended value (64-bit significand, ties to even).
extern const long double kPowersOfTenSmall[32];
extern const long double kPowersOfTenMedium[16];
extern const long double kPowersOfTenLarge[10];

// value x 10^k, applied as up to three table factors (small, medium, large),
// multiplying for k > 0 and dividing for k < 0; k <= -5120 gives zero.
// Positive k must stay below 5120.
inline long double ScaleByPowerOfTen(long double value, int k) {
  if (k == 0) return value;
  if (k > 0) {
    if (const int i = k & 31) value *= kPowersOfTenSmall[i];
    if (const int j = (k >> 5) & 15) value *= kPowersOfTenMedium[j];
    if (const int m = k >> 9) value *= kPowersOfTenLarge[m];
    return value;
  }
  const int n = -k;
  if (n >= 5120) return 0.0L;
  if (const int i = n & 31) value /= kPowersOfTenSmall[i];
  if (const int j = (n >> 5) & 15) value /= kPowersOfTenMedium[j];
  if (const int m = n >> 9) value /= kPowersOfTenLarge[m];
  return value;
}

}  // namespace tavimo
