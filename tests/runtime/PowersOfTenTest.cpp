// The extended power-of-ten tables against exact integer arithmetic: every
// entry must be 10^n rounded to the nearest 64-bit significand.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/ExtendedBits.h"
#include "runtime/PowersOfTen.h"

namespace tavimo {
namespace {

// 10^n as a little-endian array of 32-bit words.
class BigInteger {
 public:
  BigInteger() : words_{1} {}
  void MultiplyByTen() {
    std::uint64_t carry = 0;
    for (std::uint32_t& w : words_) {
      const std::uint64_t product = static_cast<std::uint64_t>(w) * 10 + carry;
      w = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) words_.push_back(static_cast<std::uint32_t>(carry));
  }
  int BitLength() const {
    const std::uint32_t top = words_.back();
    return static_cast<int>(words_.size() - 1) * 32 + (32 - __builtin_clz(top));
  }
  bool Bit(int i) const { return i >= 0 && ((words_[static_cast<std::size_t>(i / 32)] >> (i % 32)) & 1) != 0; }
  bool AnyBitBelow(int i) const {
    for (int b = 0; b < i; ++b)
      if (Bit(b)) return true;
    return false;
  }

 private:
  std::vector<std::uint32_t> words_;
};

struct Rounded {
  std::uint64_t significand;
  int exponent;  // value = significand x 2^exponent
};

Rounded NearestExtended(const BigInteger& v) {
  const int length = v.BitLength();
  const int shift = length > 64 ? length - 64 : 0;
  std::uint64_t significand = 0;
  for (int b = length - 1; b >= shift; --b) significand = (significand << 1) | (v.Bit(b) ? 1 : 0);
  int exponent = shift;
  if (shift > 0) {
    const bool half = v.Bit(shift - 1);
    const bool sticky = v.AnyBitBelow(shift - 1);
    if (half && (sticky || (significand & 1))) {
      if (++significand == 0) {
        significand = 0x8000000000000000u;
        ++exponent;
      }
    }
  }
  while ((significand >> 63) == 0) {
    significand <<= 1;
    --exponent;
  }
  return {significand, exponent};
}

Rounded Decompose(long double value) {
  const ExtendedBits bits = BitsOf(value);
  return {bits.significand, (bits.signAndExponent & 0x7FFF) - 16383 - 63};
}

TEST(PowersOfTen, EveryEntryIsTheNearestExtendedValue) {
  BigInteger power;
  for (int n = 0; n <= 512 * 9; ++n) {
    const long double* entry = nullptr;
    if (n < 32) entry = &kPowersOfTenSmall[n];
    else if (n % 512 == 0) entry = &kPowersOfTenLarge[n / 512];
    if (n % 32 == 0 && n < 512) {
      const Rounded expected = NearestExtended(power);
      const Rounded actual = Decompose(kPowersOfTenMedium[n / 32]);
      EXPECT_EQ(actual.significand, expected.significand) << "1e" << n;
      EXPECT_EQ(actual.exponent, expected.exponent) << "1e" << n;
    }
    if (entry != nullptr) {
      const Rounded expected = NearestExtended(power);
      const Rounded actual = Decompose(*entry);
      EXPECT_EQ(actual.significand, expected.significand) << "1e" << n;
      EXPECT_EQ(actual.exponent, expected.exponent) << "1e" << n;
    }
    power.MultiplyByTen();
  }
}

}  // namespace
}  // namespace tavimo
