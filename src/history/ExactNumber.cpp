#include "history/ExactNumber.h"

#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "runtime/FloatFaults.h"
#include "runtime/NumberParse.h"

namespace tavimo {
namespace {

using Words = std::vector<std::uint32_t>;

void Trim(Words& w) {
  while (!w.empty() && w.back() == 0) w.pop_back();
}

int CompareMagnitude(const Words& a, const Words& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

Words AddMagnitude(const Words& a, const Words& b) {
  Words r(std::max(a.size(), b.size()) + 1, 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const std::uint64_t s = carry + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
    r[i] = static_cast<std::uint32_t>(s);
    carry = s >> 32;
  }
  Trim(r);
  return r;
}

// a - b for a >= b.
Words SubtractMagnitude(const Words& a, const Words& b) {
  Words r(a.size(), 0);
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::int64_t d = std::int64_t(a[i]) - (i < b.size() ? b[i] : 0) - borrow;
    borrow = d < 0;
    if (d < 0) d += std::int64_t(1) << 32;
    r[i] = static_cast<std::uint32_t>(d);
  }
  Trim(r);
  return r;
}

Words MultiplyMagnitude(const Words& a, const Words& b) {
  if (a.empty() || b.empty()) return {};
  Words r(a.size() + b.size(), 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < b.size(); ++j) {
      const std::uint64_t t = std::uint64_t(a[i]) * b[j] + r[i + j] + carry;
      r[i + j] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    r[i + b.size()] = static_cast<std::uint32_t>(carry);
  }
  Trim(r);
  return r;
}

Words ShiftLeft(const Words& a, int bits) {
  if (a.empty()) return {};
  const int words = bits / 32, rest = bits % 32;
  Words r(a.size() + words + 1, 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t v = std::uint64_t(a[i]) << rest;
    r[i + words] |= static_cast<std::uint32_t>(v);
    r[i + words + 1] |= static_cast<std::uint32_t>(v >> 32);
  }
  Trim(r);
  return r;
}

Words FromUnsigned(std::uint64_t v) {
  Words w{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
  Trim(w);
  return w;
}

}  // namespace

ExactNumber ExactNumber::FromDouble(double value) {
  ExactNumber n;
  if (value == 0.0 || !std::isfinite(value)) return n;
  int exponent;
  const double fraction = std::frexp(std::fabs(value), &exponent);
  n.negative_ = value < 0;
  n.magnitude_ = FromUnsigned(static_cast<std::uint64_t>(std::ldexp(fraction, 64 - 11)));
  n.exponent_ = exponent - 53;
  return n;
}

ExactNumber ExactNumber::FromInteger(std::int64_t value) {
  ExactNumber n;
  n.negative_ = value < 0;
  n.magnitude_ = FromUnsigned(value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
  return n;
}

ExactNumber ExactNumber::PowerOfTen(int power) {
  ExactNumber n = FromInteger(1);
  const ExactNumber ten = FromInteger(10), big = FromInteger(1000000000);
  for (; power >= 9; power -= 9) n = n * big;
  for (; power > 0; --power) n = n * ten;
  return n;
}

ExactNumber operator+(const ExactNumber& a, const ExactNumber& b) {
  if (a.magnitude_.empty()) return b;
  if (b.magnitude_.empty()) return a;
  // Aligned on the smaller exponent, which keeps both integers.
  const int exponent = std::min(a.exponent_, b.exponent_);
  const Words am = ShiftLeft(a.magnitude_, a.exponent_ - exponent);
  const Words bm = ShiftLeft(b.magnitude_, b.exponent_ - exponent);
  ExactNumber r;
  r.exponent_ = exponent;
  if (a.negative_ == b.negative_) {
    r.magnitude_ = AddMagnitude(am, bm);
    r.negative_ = a.negative_;
  } else if (CompareMagnitude(am, bm) >= 0) {
    r.magnitude_ = SubtractMagnitude(am, bm);
    r.negative_ = a.negative_;
  } else {
    r.magnitude_ = SubtractMagnitude(bm, am);
    r.negative_ = b.negative_;
  }
  if (r.magnitude_.empty()) r.negative_ = false;
  return r;
}

ExactNumber operator-(const ExactNumber& a, const ExactNumber& b) { return a + b.Negated(); }

ExactNumber operator*(const ExactNumber& a, const ExactNumber& b) {
  ExactNumber r;
  r.magnitude_ = MultiplyMagnitude(a.magnitude_, b.magnitude_);
  if (r.magnitude_.empty()) return r;
  r.negative_ = a.negative_ != b.negative_;
  r.exponent_ = a.exponent_ + b.exponent_;
  return r;
}

ExactNumber ExactNumber::Negated() const {
  ExactNumber r = *this;
  if (!r.magnitude_.empty()) r.negative_ = !r.negative_;
  return r;
}

ExactNumber ExactNumber::Abs() const {
  ExactNumber r = *this;
  r.negative_ = false;
  return r;
}

int ExactNumber::Sign() const { return magnitude_.empty() ? 0 : negative_ ? -1 : 1; }

bool ReadExactDecimal(std::string_view text, ExactDecimal& out, const NumberFormatSettings& settings) {
  long double value;
  WrittenDecimal written;
  if (!ScanWrittenDecimal(text, value, written, settings)) return false;
  if (std::fabs(value) > static_cast<long double>(std::numeric_limits<double>::max())) return false;
  out = ExactDecimal();
  out.rounded = static_cast<double>(value);
  out.negative = written.negative;
  if (written.digits.empty()) return true;
  out.zero = false;
  out.exponent = written.exponent;
  const ExactNumber ten = ExactNumber::FromInteger(10);
  for (char c : written.digits) out.digits = out.digits * ten + ExactNumber::FromInteger(c - '0');
  return true;
}

ExactTextParameter::ExactTextParameter(std::string_view text, const NumberFormatSettings& settings,
                                       std::string_view invalidMessage, bool (*accept)(const ExactDecimal&))
    : text_(text) {
  if (!ReadExactDecimal(text, exact_, settings) || !accept(exact_))
    throw EConvertError(messages::FormatMessage(invalidMessage, text_));
}

}  // namespace tavimo
