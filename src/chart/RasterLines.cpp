// Lines: axis-aligned solid lines as thin fills, wide lines through the
// painter, the rest pixel by pixel with the pen's on/off pattern.

#include <QPen>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "chart/RasterCanvasInternal.h"

namespace tavimo::chart {

using raster::ToQRgb;

namespace {

// On/off pattern of a one-pixel styled pen: bit k set = pixel k of a period is on.
struct LinePattern {
  std::uint32_t mask;
  int length;
};

constexpr LinePattern kDot{0b01, 2};
constexpr LinePattern kDash{0b00111111, 8};
constexpr LinePattern kDashDot{0b00100111111, 11};
constexpr LinePattern kDashDotDot{0b00100100111111, 14};

// nullptr for a solid line.
const LinePattern* PatternOf(const TPen& pen) {
  if (pen.alternateDots) return &kDot;
  if (pen.width > 1) return nullptr;  // wide pens draw solid
  switch (pen.style) {
    case TPenStyle::psDot: return &kDot;
    case TPenStyle::psDash: return &kDash;
    case TPenStyle::psDashDot: return &kDashDot;
    case TPenStyle::psDashDotDot: return &kDashDotDot;
    default: return nullptr;
  }
}

}  // namespace

void TRasterCanvas::StrokeLine(int x0, int y0, int x1, int y1) {
  if (!EnsurePainter()) return;
  DrawLine(x0, y0, x1, y1);
}

void TRasterCanvas::DrawLine(int x0, int y0, int x1, int y1) {
  const TPen& pen = Pen();
  if (pen.style == TPenStyle::psClear || pen.color == clNone) return;
  if (x0 == x1 && y0 == y1) return;
  const QRgb color = ToQRgb(pen.color);
  const LinePattern* pattern = PatternOf(pen);
  const int w = std::max(pen.width, 1);

  if (pattern == nullptr && (x0 == x1 || y0 == y1)) {
    // Axis-aligned solid line: a rectangle w thick, centred on the line.
    if (y0 == y1) {
      const int from = x0 < x1 ? x0 : x1 + 1;
      const int to = x0 < x1 ? x1 : x0 + 1;
      FillSolid({from, y0 - w / 2, to, y0 - w / 2 + w}, color);
    } else {
      const int from = y0 < y1 ? y0 : y1 + 1;
      const int to = y0 < y1 ? y1 : y0 + 1;
      FillSolid({x0 - w / 2, from, x0 - w / 2 + w, to}, color);
    }
    return;
  }
  if (pattern == nullptr && w > 1) {
    if (DrawableArea().IsEmpty()) return;
    SyncPainterClip();
    painter_.setPen(QPen(QColor::fromRgb(color), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painterPenValid_ = false;
    painter_.drawLine(QPoint(x0, y0), QPoint(x1, y1));
    return;
  }

  const Rect area = DrawableArea();
  if (area.IsEmpty() || bits_ == nullptr) return;
  const bool opaque = BackgroundMode() == TBackgroundMode::bmOpaque;
  const QRgb gapColor = ToQRgb(BackgroundColor());

  if (x0 == x1 || y0 == y1) {
    // Axis-aligned styled line (the dotted grid): walk only the visible
    // pixels, keeping the pattern's phase from the line's start.
    const bool horizontal = y0 == y1;
    const int fixed = horizontal ? y0 : x0;
    if (fixed < (horizontal ? area.top : area.left) || fixed >= (horizontal ? area.bottom : area.right)) return;
    const int start = horizontal ? x0 : y0;
    const int end = horizontal ? x1 : y1;
    const int lo = horizontal ? area.left : area.top;
    const int hi = horizontal ? area.right : area.bottom;
    const int step = end > start ? 1 : -1;
    const int steps = std::abs(end - start);
    // Pixel i of the line lies at start + i * step; keep those inside [lo, hi).
    int first = step > 0 ? lo - start : start - hi + 1;
    int last = step > 0 ? hi - start : start - lo + 1;  // exclusive
    first = std::max(first, 0);
    last = std::min(last, steps);
    if (first >= last) return;
    const qsizetype advance = horizontal ? step : step * (stride_ / 4);
    QRgb* p = reinterpret_cast<QRgb*>(bits_ + (horizontal ? fixed : start + first * step) * stride_) +
              (horizontal ? start + first * step : fixed);
    int phase = first % pattern->length;
    if (pattern == &kDot && !opaque) {
      // The grid's dots: every other pixel, nothing in the gaps.
      if (phase == 1) {
        ++first;
        p += advance;
      }
      for (int i = first; i < last; i += 2, p += 2 * advance) *p = color;
      return;
    }
    for (int i = first; i < last; ++i, p += advance) {
      const bool on = (pattern->mask >> phase) & 1u;
      if (++phase == pattern->length) phase = 0;
      if (on)
        *p = color;
      else if (opaque)
        *p = gapColor;
    }
    return;
  }

  // One-pixel line: Bresenham steps along the major axis; the end pixel is not set.
  const int dx = std::abs(x1 - x0);
  const int dy = std::abs(y1 - y0);
  const int sx = x1 > x0 ? 1 : -1;
  const int sy = y1 > y0 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int steps = xMajor ? dx : dy;
  const int minor = xMajor ? dy : dx;
  int err = 2 * minor - steps;
  int x = x0;
  int y = y0;
  int phase = 0;
  for (int i = 0; i < steps; ++i) {
    bool on = true;
    if (pattern != nullptr) {
      on = (pattern->mask >> phase) & 1u;
      if (++phase == pattern->length) phase = 0;
    }
    if ((on || opaque) && area.Contains({x, y}))
      reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = on ? color : gapColor;
    if (err > 0) {
      if (xMajor)
        y += sy;
      else
        x += sx;
      err -= 2 * steps;
    }
    err += 2 * minor;
    if (xMajor)
      x += sx;
    else
      y += sy;
  }
}

}  // namespace tavimo::chart
