#pragma once
// The fields of an extended (x87 80-bit) value, read and written as bits.
// Every conversion that looks at the format itself goes through here.

#include <cfloat>
#include <cstdint>
#include <cstring>

namespace tavimo {

static_assert(sizeof(long double) >= 10, "long double must be the x87 extended format");
static_assert(LDBL_MANT_DIG == 64, "long double must have the x87 64-bit significand");

// The 64-bit significand with its explicit integer bit (bit 63), and the sign
// (bit 15) above the 15-bit exponent biased by 16383.
struct ExtendedBits {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
};

inline ExtendedBits BitsOf(long double value) {
  ExtendedBits bits;
  std::memcpy(&bits.significand, &value, 8);
  std::memcpy(&bits.signAndExponent, reinterpret_cast<const char*>(&value) + 8, 2);
  return bits;
}

inline long double ExtendedFromBits(ExtendedBits bits) {
  long double value = 0.0L;
  std::memcpy(&value, &bits.significand, 8);
  std::memcpy(reinterpret_cast<char*>(&value) + 8, &bits.signAndExponent, 2);
  return value;
}

}  // namespace tavimo
