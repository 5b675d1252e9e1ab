#pragma once
// Integer pixel geometry and the rounding rules every drawing computation uses.

#include <cmath>
#include <cstdint>

namespace tavimo::chart {

// Nearest integer, ties to the even one.
inline int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// A design coordinate or length (in pixels at a device pixel ratio of 1: a
// position, a pen's width, a font's pixel height) in device pixels at
// `scale` device pixels per design pixel: the nearest integer, halves away
// from zero as the platform rounds a window's size at a pixel ratio (so an
// image of a control's size in device pixels covers exactly the control),
// and never zero for a value that is not zero, so nothing drawn vanishes at
// a small scale. At scale 1 every value is itself. The one conversion of the
// chart's pixels to a screen of another pixel ratio (Canvas.h).
inline int ScaleLength(int length, double scale) {
  if (scale == 1.0 || length == 0) return length;
  constexpr double kLimit = 1 << 30;  // far beyond any image, and safe to add to
  const double v = length * scale;
  const double magnitude = v < 0 ? -v : v;
  // Truncating magnitude + 1/2 rounds halves away from zero (and is inlined,
  // unlike std::round: the canvas converts every coordinate it draws).
  int rounded = magnitude < kLimit ? static_cast<int>(magnitude + 0.5) : static_cast<int>(kLimit);  // NaN: the limit
  if (rounded == 0) rounded = 1;
  return length < 0 ? -rounded : rounded;
}

// Integer division truncating toward zero (named so call sites say which rule they use).
inline int DivTrunc(int a, int b) { return a / b; }

// a * b / c computed exactly and rounded to the nearest integer, halves away from zero.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  const std::int64_t den = c;
  const bool negative = (num < 0) != (den < 0);
  const std::int64_t n = num < 0 ? -num : num;
  const std::int64_t d = den < 0 ? -den : den;
  const std::int64_t q = (2 * n + d) / (2 * d);
  return static_cast<int>(negative ? -q : q);
}

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive, as the drawing calls take them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Normalized() const {
    return {left < right ? left : right, top < bottom ? top : bottom,
            left < right ? right : left, top < bottom ? bottom : top};
  }
  Rect Intersected(const Rect& o) const {
    return {left > o.left ? left : o.left, top > o.top ? top : o.top,
            right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
  }
  // Grown by dx on the left and right and dy at the top and bottom; negative shrinks.
  Rect Inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  Rect Inflated(int d) const { return Inflated(d, d); }
  Rect Translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

  // Cut a strip size pixels thick off one side and return it; this rectangle
  // keeps the rest. Nothing is clamped: a strip thicker than the rectangle
  // leaves it inverted, and a negative size grows it.
  Rect TakeFromLeft(int size) {
    const Rect strip{left, top, left + size, bottom};
    left = strip.right;
    return strip;
  }
  Rect TakeFromTop(int size) {
    const Rect strip{left, top, right, top + size};
    top = strip.bottom;
    return strip;
  }
  Rect TakeFromRight(int size) {
    const Rect strip{right - size, top, right, bottom};
    right = strip.left;
    return strip;
  }
  Rect TakeFromBottom(int size) {
    const Rect strip{left, bottom - size, right, bottom};
    bottom = strip.top;
    return strip;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tavimo::chart
