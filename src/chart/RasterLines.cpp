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

bool PatternOn(const LinePattern& pattern, int pixel) { return (pattern.mask >> (pixel % pattern.length)) & 1u; }

// Where the pixels of a line run, in the image's pixels.
struct PixelRows {
  uchar* bits;
  qsizetype stride;  // bytes per row
  Rect area;         // what may be drawn
};

// A horizontal or vertical styled line one image pixel wide at `fixed`, from
// start toward end (the end pixel not set), pixel by pixel: only the visible
// pixels are walked, keeping the pattern's phase from the line's start.
// Each element of the pattern covers `repeat` pixels (a design pixel at an
// integer scale).
void WalkPattern(const PixelRows& image, bool horizontal, int fixed, int start, int end, const LinePattern& pattern,
                 int repeat, bool opaque, QRgb color, QRgb gapColor) {
  const Rect& area = image.area;
  if (fixed < (horizontal ? area.top : area.left) || fixed >= (horizontal ? area.bottom : area.right)) return;
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
  const qsizetype advance = horizontal ? step : step * (image.stride / 4);
  QRgb* p = reinterpret_cast<QRgb*>(image.bits + (horizontal ? fixed : start + first * step) * image.stride) +
            (horizontal ? start + first * step : fixed);
  if (repeat > 1 && &pattern == &kDot && !opaque) {
    // The grid's dots, `repeat` pixels each with as many between: the whole
    // dots straight, the two ends clipped.
    int element = first / repeat;
    if (element % 2 == 1) ++element;
    for (; element * repeat < last; element += 2) {
      const int from = std::max(element * repeat, first);
      const int to = std::min(element * repeat + repeat, last);
      QRgb* q = p + (from - first) * advance;
      for (int i = from; i < to; ++i, q += advance) *q = color;
    }
    return;
  }
  if (repeat > 1) {
    // Element by element, each a run of `repeat` pixels.
    int element = first / repeat;
    int phase = element % pattern.length;
    for (; element * repeat < last; ++element) {
      const bool on = (pattern.mask >> phase) & 1u;
      if (++phase == pattern.length) phase = 0;
      if (!on && !opaque) continue;
      const int from = std::max(element * repeat, first);
      const int to = std::min(element * repeat + repeat, last);
      QRgb* q = p + (from - first) * advance;
      for (int i = from; i < to; ++i, q += advance) *q = on ? color : gapColor;
    }
    return;
  }
  int phase = first % pattern.length;
  if (&pattern == &kDot && !opaque) {
    // The grid's dots: every other pixel, nothing in the gaps.
    if (phase == 1) {
      ++first;
      p += advance;
    }
    for (int i = first; i < last; i += 2, p += 2 * advance) *p = color;
    return;
  }
  for (int i = first; i < last; ++i, p += advance) {
    const bool on = (pattern.mask >> phase) & 1u;
    if (++phase == pattern.length) phase = 0;
    if (on)
      *p = color;
    else if (opaque)
      *p = gapColor;
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
  const bool thin = w == 1 || pen.alternateDots;
  // Device pixels across a one-pixel line; the alternate-dots pen is the hairline.
  const int across = pen.alternateDots ? 1 : Device(1);
  const bool opaque = BackgroundMode() == TBackgroundMode::bmOpaque;
  const QRgb gapColor = ToQRgb(BackgroundColor());

  if (x0 == x1 || y0 == y1) {
    const bool horizontal = y0 == y1;
    const int a = horizontal ? x0 : y0;
    const int b = horizontal ? x1 : y1;
    const int c = horizontal ? y0 : x0;
    // The design pixels along it: from the start up to the end, the end left out.
    const int from = a < b ? a : b + 1;
    const int to = a < b ? b : a + 1;
    // Across: a one-pixel line takes the last pixels of its design pixel (so
    // lines at the image's edges end flush with them); a wide pen is centred.
    const int acrossFrom = thin ? Device(c + 1) - across : Device(c - w / 2);
    const int acrossTo = thin ? Device(c + 1) : Device(c - w / 2 + w);
    const auto strip = [&](int alongFrom, int alongTo) {
      return horizontal ? Rect{alongFrom, acrossFrom, alongTo, acrossTo} : Rect{acrossFrom, alongFrom, acrossTo, alongTo};
    };
    if (pattern == nullptr) {
      FillSolid(strip(Device(from), Device(to)), color);
      return;
    }
    if (bits_ == nullptr || DrawableArea().IsEmpty()) return;
    const int wholeScale = static_cast<int>(Scale());
    if (wholeScale == Scale() || pen.alternateDots) {
      // Pixel by pixel over the image's pixels the line covers, from its
      // start's side: at a whole scale each design pixel is a square of them.
      const int start = a < b ? Device(from) : Device(to) - 1;
      const int end = a < b ? Device(to) : Device(from) - 1;
      const int repeat = pen.alternateDots ? 1 : wholeScale;
      for (int row = acrossFrom; row < acrossTo; ++row)
        WalkPattern({bits_, stride_, DrawableArea()}, horizontal, row, start, end, *pattern, repeat, opaque, color,
                    gapColor);
      return;
    }
    // The design's pattern, each of its pixels a run of `across` device
    // pixels, written straight into the rows (a dotted grid line has hundreds).
    if (opaque) FillSolid(strip(Device(from), Device(to)), gapColor);
    const Rect area = DrawableArea();
    const int alongLo = std::max(Device(from), horizontal ? area.left : area.top);
    const int alongHi = std::min(Device(to), horizontal ? area.right : area.bottom);
    const int rowLo = std::max(acrossFrom, horizontal ? area.top : area.left);
    const int rowHi = std::min(acrossTo, horizontal ? area.bottom : area.right);
    if (alongLo >= alongHi || rowLo >= rowHi) return;
    // The device run of every design pixel that is on (a dotted grid line
    // has hundreds), written straight into the rows.
    const int step = b > a ? 1 : -1;
    const int steps = std::abs(b - a);
    const qsizetype pixelsPerRow = stride_ / 4;
    QRgb* const origin = reinterpret_cast<QRgb*>(bits_);
    int phase = 0;
    for (int i = 0; i < steps; ++i) {
      const bool on = (pattern->mask >> phase) & 1u;
      if (++phase == pattern->length) phase = 0;
      if (!on) continue;
      const int run = Device(a + i * step);
      const int runFrom = std::max(run, alongLo);
      const int runTo = std::min(run + across, alongHi);
      for (int along = runFrom; along < runTo; ++along) {
        // Across a horizontal line the pixels lie a row apart, across a vertical one side by side.
        QRgb* p = horizontal ? origin + rowLo * pixelsPerRow + along : origin + along * pixelsPerRow + rowLo;
        const qsizetype advance = horizontal ? pixelsPerRow : 1;
        for (int k = rowLo; k < rowHi; ++k, p += advance) *p = color;
      }
    }
    return;
  }

  if (pattern == nullptr && !thin) {
    if (DrawableArea().IsEmpty()) return;
    SyncPainterClip();
    painter_.setPen(QPen(QColor::fromRgb(color), Device(w), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painterPenValid_ = false;
    painter_.drawLine(QPoint(Device(x0), Device(y0)), QPoint(Device(x1), Device(y1)));
    return;
  }

  const Rect area = DrawableArea();
  if (area.IsEmpty() || bits_ == nullptr) return;
  // One-pixel line: Bresenham steps one device pixel at a time along the
  // major axis between the scaled ends (each placed as a one-pixel line's
  // pixel is), setting `across` pixels across at each step; the end pixel is
  // not set. At scale 1 this is the plain one-pixel line.
  const int sx0 = Device(x0 + 1) - across;
  const int sy0 = Device(y0 + 1) - across;
  const int sx1 = Device(x1 + 1) - across;
  const int sy1 = Device(y1 + 1) - across;
  const int dx = std::abs(sx1 - sx0);
  const int dy = std::abs(sy1 - sy0);
  const int sx = sx1 > sx0 ? 1 : -1;
  const int sy = sy1 > sy0 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int steps = xMajor ? dx : dy;
  const int minor = xMajor ? dy : dx;
  int err = 2 * minor - steps;
  int x = sx0;
  int y = sy0;
  for (int i = 0; i < steps; ++i) {
    // The pattern counts design pixels; the hairline counts device pixels.
    const bool on = pattern == nullptr || PatternOn(*pattern, pen.alternateDots ? i : i / across);
    if (on || opaque) {
      const QRgb c = on ? color : gapColor;
      for (int k = 0; k < across; ++k) {
        const Point q = xMajor ? Point{x, y + k} : Point{x + k, y};
        if (area.Contains(q)) reinterpret_cast<QRgb*>(bits_ + q.y * stride_)[q.x] = c;
      }
    }
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

// One pixel column after another, every row of a tall line misses the
// processor's first cache (the image's rows lie a power-of-two multiple
// apart), and a zoomed-out chart has a thousand such lines. Lines next to
// each other are written together instead, a band of rows at a time, so
// each cache line of pixels is brought in once for all of them. Within a
// group the lines keep their order on every row, and groups follow one
// another, so the last line over a pixel wins as it would line by line.
void TRasterCanvas::StrokeColumnLines(const std::vector<TColumnLine>& lines) {
  if (lines.empty()) return;
  SetPen(TPen{lines.back().color, 1, TPenStyle::psSolid, false});
  if (!EnsurePainter()) return;
  const Rect area = DrawableArea();
  if (area.IsEmpty() || bits_ == nullptr) return;
  const int across = Device(1);
  columnRuns_.clear();
  for (const TColumnLine& line : lines) {
    if (line.color == clNone || line.top == line.bottom) continue;
    // As a vertical one-pixel line is placed: the end left out, the last
    // device pixels of its design pixel across.
    const int from = line.top < line.bottom ? line.top : line.bottom + 1;
    const int to = line.top < line.bottom ? line.bottom : line.top + 1;
    const Rect r = Rect{Device(line.x + 1) - across, Device(from), Device(line.x + 1), Device(to)}.Intersected(area);
    if (!r.IsEmpty()) columnRuns_.push_back({r, ToQRgb(line.color)});
  }
  constexpr int kGroupWidth = 32;  // pixels a group's lines may spread over
  constexpr int kBandRows = 32;
  const qsizetype pixelsPerRow = stride_ / 4;
  QRgb* const origin = reinterpret_cast<QRgb*>(bits_);
  for (std::size_t g = 0; g < columnRuns_.size();) {
    Rect span = columnRuns_[g].r;
    std::size_t end = g + 1;
    for (; end < columnRuns_.size(); ++end) {
      const Rect& r = columnRuns_[end].r;
      if (std::max(span.right, r.right) - std::min(span.left, r.left) > kGroupWidth) break;
      span = Rect{std::min(span.left, r.left), std::min(span.top, r.top), std::max(span.right, r.right),
                  std::max(span.bottom, r.bottom)};
    }
    for (int band = span.top; band < span.bottom; band += kBandRows) {
      const int bandEnd = std::min(span.bottom, band + kBandRows);
      for (std::size_t k = g; k < end; ++k) {
        const ColumnRun& run = columnRuns_[k];
        const int top = std::max(band, run.r.top), bottom = std::min(bandEnd, run.r.bottom);
        QRgb* p = origin + top * pixelsPerRow + run.r.left;
        const int width = run.r.Width();
        for (int y = top; y < bottom; ++y, p += pixelsPerRow) {
          if (width == 1)
            *p = run.color;
          else
            std::fill_n(p, width, run.color);
        }
      }
    }
    g = end;
  }
}

}  // namespace tavimo::chart
