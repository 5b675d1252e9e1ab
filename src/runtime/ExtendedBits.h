#pragma once
// The fields of an extended (x87 80-bit) value, read and written as bits.
// Every conversion that looks at the format itself goes through here.

#include <cfloat>
#include <cstdint>
#include <cstring>

#include <emmintrin.h>

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

// The ten bytes are written as one 16-byte store: written as an 8- and a
// 2-byte store, the x87 load that follows spans both and cannot take its
// bytes from the store buffer, which stalls it for many cycles.
inline long double ExtendedFromBits(ExtendedBits bits) {
  static_assert(sizeof(long double) == 16, "the extended value fills a 16-byte slot");
  long double value;
  const __m128i both = _mm_set_epi64x(bits.signAndExponent, static_cast<long long>(bits.significand));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&value), both);
  return value;
}

}  // namespace tavimo
