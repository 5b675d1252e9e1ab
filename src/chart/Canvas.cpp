#include "chart/Canvas.h"

#include <cmath>

namespace tavimo::chart {

namespace {

int RoundExtended(long double v) { return static_cast<int>(std::nearbyintl(v)); }

TColor ToRGB(TColor c) { return c & 0x00FFFFFFu; }

}  // namespace

void TCanvas::StrokeColumnLines(const std::vector<TColumnLine>& lines) {
  for (const TColumnLine& line : lines) {
    SetPen(TPen{line.color, 1, TPenStyle::psSolid, false});
    StrokeLine(line.x, line.top, line.x, line.bottom);
  }
}

void TCanvas::ResetDrawingState() {
  SetPen(TPen{clBlack, 1, TPenStyle::psSolid, false});
  SetBrush(TBrush{clWhite, TBrushStyle::bsSolid});
  TFont font = Font();
  font.color = clBlack;
  font.height = 10;
  SetFont(font);
  SetBackgroundColor(clWhite);
  SetBackgroundMode(TBackgroundMode::bmTransparent);
}

void TCanvas::SelectChartPen(const TChartPen& pen) {
  if (!pen.visible) {
    SetPen(TPen{pen.color, pen.width, TPenStyle::psClear, false});
  } else if (pen.smallDots && pen.width == 1) {
    // A cosmetic pen that sets every other pixel: finer than any dotted style.
    SetPen(TPen{pen.color, 1, TPenStyle::psSolid, true});
  } else {
    SetPen(TPen{pen.color, pen.width, pen.style, false});
  }
}

void TCanvas::SelectChartBrush(TColor color, TBrushStyle style, TColor backgroundColor) {
  const bool solid = style == TBrushStyle::bsSolid;
  // A hatch in the colour of its own background would be invisible.
  if (!solid && color == backgroundColor) color = backgroundColor == clBlack ? clWhite : clBlack;
  SetBrush(TBrush{color, style});
  if (!solid) {
    SetBackgroundMode(TBackgroundMode::bmOpaque);
    SetBackgroundColor(backgroundColor);
  } else {
    SetBackgroundMode(TBackgroundMode::bmTransparent);
  }
}

void TCanvas::BandedGradient(const Rect& rect, TColor c0, TColor c1, TGradientDirection direction) {
  const bool vertical = direction == TGradientDirection::gdTopBottom || direction == TGradientDirection::gdBottomTop;
  const bool horizontal = direction == TGradientDirection::gdLeftRight || direction == TGradientDirection::gdRightLeft;
  if (!vertical && !horizontal) return;  // the radial and diagonal fills are not offered
  if (direction != TGradientDirection::gdTopBottom && direction != TGradientDirection::gdLeftRight) std::swap(c0, c1);
  c0 = ToRGB(c0);
  c1 = ToRGB(c1);
  const int r0 = RedOf(c0), g0 = GreenOf(c0), b0 = BlueOf(c0);
  const int dr = RedOf(c1) - r0, dg = GreenOf(c1) - g0, db = BlueOf(c1) - b0;
  const Rect r = rect.Normalized();
  const int extent = vertical ? r.Height() : r.Width();
  const int n = extent < 256 ? extent : 256;
  if (n <= 0) return;

  const TCanvasStateSaver saver(*this);
  for (int i = 0; i < n; ++i) {
    const TColor c = n == 1 ? c0
                            : RGBColor(r0 + MulDiv(i, dr, n - 1), g0 + MulDiv(i, dg, n - 1),
                                       b0 + MulDiv(i, db, n - 1));
    SetBrush(TBrush{c, TBrushStyle::bsSolid});
    if (vertical) {
      FillRect(Rect{r.left, r.bottom - MulDiv(i + 1, extent, n), r.right, r.bottom - MulDiv(i, extent, n)});
    } else {
      FillRect(Rect{r.right - MulDiv(i + 1, extent, n), r.top, r.right - MulDiv(i, extent, n), r.bottom});
    }
  }
}

bool TCanvas::ArrowPoints(Point from, Point to, int headWidth, int headLengthLimit,
                          std::array<Point, 7>& points) {
  if (from.y != to.y || to.x <= from.x) return RotatedArrowPoints(from, to, headWidth, headLengthLimit, points);
  // Pointing right the rotation is the identity (sine 0, cosine 1) and the
  // length is exact, so the rotated computation reduces to this one.
  // Two far-off pixels can lie more than an int apart.
  const long long length = static_cast<long long>(to.x) - from.x;
  const int base = to.x - (length < headLengthLimit ? static_cast<int>(length) : headLengthLimit);
  const double halfWidth = headWidth / 2.0;
  const double quarterWidth = headWidth / 4.0;
  const int upperShaft = RoundHalfEven(to.y - quarterWidth);
  const int lowerShaft = RoundHalfEven(to.y + quarterWidth);
  points[0] = Point{from.x, lowerShaft};                        // Pi
  points[1] = Point{from.x, upperShaft};                        // Ph
  points[2] = Point{base, upperShaft};                          // Pf
  points[3] = Point{base, RoundHalfEven(to.y - halfWidth)};     // Pc
  points[4] = to;                                               // Pe
  points[5] = Point{base, RoundHalfEven(to.y + halfWidth)};     // Pd
  points[6] = Point{base, lowerShaft};                          // Pg
  return true;
}

bool TCanvas::RotatedArrowPoints(Point from, Point to, int headWidth, int headLengthLimit,
                                 std::array<Point, 7>& points) {
  const long double dx = static_cast<long double>(to.x) - from.x;
  const long double dy = static_cast<long double>(from.y) - to.y;  // screen y grows downward
  const long double dist = std::sqrt(dx * dx + dy * dy);
  if (!(dist > 0)) return false;
  const long double sn = dy / dist;
  const long double cs = dx / dist;
  const long double xb = to.x * cs - to.y * sn;
  const long double yb = to.x * sn + to.y * cs;
  const int rounded = RoundExtended(dist);
  const long double base = xb - (rounded < headLengthLimit ? rounded : headLengthLimit);
  const auto screen = [&](long double x, long double y) {
    return Point{RoundExtended(x * cs + y * sn), RoundExtended(-x * sn + y * cs)};
  };
  const long double halfWidth = headWidth / 2.0L;
  const long double quarterWidth = headWidth / 4.0L;
  const long double tail = from.x * cs - from.y * sn;
  points[0] = screen(tail, yb + quarterWidth);   // Pi
  points[1] = screen(tail, yb - quarterWidth);   // Ph
  points[2] = screen(base, yb - quarterWidth);   // Pf
  points[3] = screen(base, yb - halfWidth);      // Pc
  points[4] = to;                                // Pe
  points[5] = screen(base, yb + halfWidth);      // Pd
  points[6] = screen(base, yb + quarterWidth);   // Pg
  return true;
}

void TCanvas::ArrowPolygon(bool filled, Point from, Point to, int headWidth, int headLengthLimit) {
  std::array<Point, 7> p;
  if (!ArrowPoints(from, to, headWidth, headLengthLimit, p)) return;
  if (filled) {
    FillPolygon(p.data(), static_cast<int>(p.size()));
  } else {
    StrokeLine(from.x, from.y, to.x, to.y);
    StrokeLine(to.x, to.y, p[5].x, p[5].y);
    StrokeLine(to.x, to.y, p[3].x, p[3].y);
  }
}

}  // namespace tavimo::chart
