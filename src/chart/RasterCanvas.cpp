#include "chart/RasterCanvas.h"

#include <QGuiApplication>
#include <QPen>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <immintrin.h>
#include <stdexcept>

#include "chart/RasterFonts.h"

namespace tavimo::chart {

namespace {

constexpr QRgb ToQRgb(TColor c) {
  return 0xFF000000u | (static_cast<QRgb>(RedOf(c)) << 16) | (static_cast<QRgb>(GreenOf(c)) << 8) |
         static_cast<QRgb>(BlueOf(c));
}

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

Qt::BrushStyle HatchOf(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    case TBrushStyle::bsSolid: return Qt::SolidPattern;
    case TBrushStyle::bsClear: break;
  }
  return Qt::NoBrush;
}

// n copies of v. Filling is bound by memory bandwidth: 32-byte stores where
// the processor has them (as fast as the toolkit's own image fill), aligned
// 16-byte stores otherwise; both beat the compiler's loop by a third.
__attribute__((target("avx2"))) void Fill32Avx2(QRgb* p, int n, QRgb v) {
  while (n > 0 && (reinterpret_cast<std::uintptr_t>(p) & 31) != 0) {
    *p++ = v;
    --n;
  }
  const __m256i x = _mm256_set1_epi32(static_cast<int>(v));
  for (; n >= 32; n -= 32, p += 32) {
    auto* q = reinterpret_cast<__m256i*>(p);
    _mm256_store_si256(q, x);
    _mm256_store_si256(q + 1, x);
    _mm256_store_si256(q + 2, x);
    _mm256_store_si256(q + 3, x);
  }
  for (; n >= 8; n -= 8, p += 8) _mm256_store_si256(reinterpret_cast<__m256i*>(p), x);
  while (n-- > 0) *p++ = v;
}

void Fill32Sse2(QRgb* p, int n, QRgb v) {
  while (n > 0 && (reinterpret_cast<std::uintptr_t>(p) & 15) != 0) {
    *p++ = v;
    --n;
  }
  const __m128i x = _mm_set1_epi32(static_cast<int>(v));
  for (; n >= 16; n -= 16, p += 16) {
    auto* q = reinterpret_cast<__m128i*>(p);
    _mm_store_si128(q, x);
    _mm_store_si128(q + 1, x);
    _mm_store_si128(q + 2, x);
    _mm_store_si128(q + 3, x);
  }
  for (; n >= 4; n -= 4, p += 4) _mm_store_si128(reinterpret_cast<__m128i*>(p), x);
  while (n-- > 0) *p++ = v;
}

using FillFunction = void (*)(QRgb*, int, QRgb);
const FillFunction Fill32 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? Fill32Avx2 : Fill32Sse2;
}();

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Fonts that differ only in colour share their glyphs.
bool SameGlyphs(const TFont& a, const TFont& b) {
  return a.face == b.face && a.PixelSize() == b.PixelSize() && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut;
}

// The cache key of a font's glyphs: what SameGlyphs compares.
std::string FontKey(const TFont& f) {
  std::string key = f.face;
  key += '\0';
  key += std::to_string(f.PixelSize());
  key += f.bold ? 'b' : '-';
  key += f.italic ? 'i' : '-';
  key += f.underline ? 'u' : '-';
  key += f.strikeOut ? 's' : '-';
  return key;
}

// Heterogeneous lookup so a cached text is found without building a std::string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Laid-out texts kept per font; a chart has a few dozen, a cap keeps a long
// session of changing values from growing the cache without bound.
constexpr std::size_t kMaxCachedTexts = 4096;

}  // namespace

// A text's ink, as runs of pixels relative to its cell's top-left corner.
// Glyphs are drawn aliased at whole-pixel positions, so the ink is the same
// wherever the text goes: it is rendered once and then only copied, which is
// several times faster than laying glyphs out again at every paint.
struct InkSpan {
  int x = 0;
  int y = 0;
  int length = 0;
};

struct TRasterCanvas::TextEntry {
  std::vector<QGlyphRun> runs;  // glyph positions relative to the baseline origin
  int width = 0;
  bool inkReady = false;
  std::vector<InkSpan> ink;
};

namespace {

QFont AliasedFont(const TFont& f) {
  QFont q = MakeQFont(f);
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}

}  // namespace

struct TRasterCanvas::FontEntry {
  explicit FontEntry(const TFont& f) : source(f), font(AliasedFont(f)), metrics(font) {
    const TLineMetrics line = LineMetrics(font);
    ascent = line.ascent;
    descent = line.descent;
  }
  TFont source;  // the chart font the entry was made for
  QFont font;
  QFontMetrics metrics;
  int ascent = 0;
  int descent = 0;
  std::unordered_map<std::string, TextEntry, TextHash, std::equal_to<>> texts;
};

TRasterCanvas::TRasterCanvas() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::logic_error("the raster canvas needs a QGuiApplication for its fonts");
}

TRasterCanvas::~TRasterCanvas() { EndPainter(); }

Rect TRasterCanvas::SetupWindow(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (image_.width() != width || image_.height() != height) {
    EndPainter();
    image_ = width > 0 && height > 0 ? QImage(width, height, QImage::Format_RGB32) : QImage();
    if (!image_.isNull()) image_.fill(0xFFFFFFFFu);
    width_ = image_.width();
    height_ = image_.height();
  }
  clipped_ = false;
  painterClipValid_ = false;
  EnsurePainter();
  return {0, 0, width, height};
}

// The painter stays on the image between frames: beginning and ending it
// costs as much as filling a small frame.
void TRasterCanvas::ShowImage() {}

bool TRasterCanvas::EnsurePainter() {
  // A copy of Image() taken by a caller shares the pixels; it must keep the
  // picture it was taken with, so the image is detached before drawing on.
  if (painter_.isActive() && image_.isDetached()) return true;
  EndPainter();
  if (image_.isNull()) return false;
  // Detach before the painter takes the pixels, so direct writes and the
  // painter's always share one buffer.
  bits_ = image_.bits();
  stride_ = image_.bytesPerLine();
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setPen(Qt::NoPen);
  painterPenColor_ = 0;
  painterPenValid_ = false;
  painterClipValid_ = false;
  return true;
}

void TRasterCanvas::EndPainter() {
  if (painter_.isActive()) painter_.end();
  bits_ = nullptr;
}

TRasterCanvas::FontEntry& TRasterCanvas::CurrentFont() {
  if (currentFont_ == nullptr || !SameGlyphs(currentFont_->source, Font())) {
    auto& slot = fonts_[FontKey(Font())];
    if (!slot) slot = std::make_unique<FontEntry>(Font());
    currentFont_ = slot.get();
  }
  return *currentFont_;
}

TRasterCanvas::TextEntry& TRasterCanvas::Layout(FontEntry& font, std::string_view text) {
  if (auto it = font.texts.find(text); it != font.texts.end()) return it->second;
  if (font.texts.size() >= kMaxCachedTexts) font.texts.clear();

  TextEntry entry;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  entry.width = font.metrics.horizontalAdvance(s);
  if (!s.isEmpty()) {
    QTextLayout layout(s, font.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
      line.setPosition(QPointF(0, 0));
      const qreal ascent = line.ascent();
      const QList<QGlyphRun> runs = layout.glyphRuns();
      entry.runs.assign(runs.begin(), runs.end());
      for (QGlyphRun& run : entry.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) p.ry() -= ascent;
        run.setPositions(positions);
      }
    }
  }
  return font.texts.emplace(std::string(text), std::move(entry)).first->second;
}

int TRasterCanvas::MeasureWidth(std::string_view text) { return Layout(CurrentFont(), text).width; }

int TRasterCanvas::MeasureHeight(std::string_view) {
  const FontEntry& f = CurrentFont();
  return f.ascent + f.descent;
}

void TRasterCanvas::RenderInk(const FontEntry& font, TextEntry& text) {
  text.inkReady = true;
  if (text.runs.empty()) return;
  // Room for glyphs that reach beyond the cell (italic overhang, negative bearings).
  const int height = font.ascent + font.descent;
  const int marginX = height + 4;
  const int marginY = height / 2 + 4;
  QImage scratch(text.width + 2 * marginX, height + 2 * marginY, QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::black);
    for (const QGlyphRun& run : text.runs) p.drawGlyphRun(QPointF(marginX, marginY + font.ascent), run);
  }
  for (int y = 0; y < scratch.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < scratch.width();) {
      if (qAlpha(row[x]) < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < scratch.width() && qAlpha(row[x]) >= 128) ++x;
      text.ink.push_back({start - marginX, y - marginY, x - start});
    }
  }
}

void TRasterCanvas::PutText(int x, int y, std::string_view text) {
  FontEntry& f = CurrentFont();
  TextEntry& t = Layout(f, text);
  const int height = f.ascent + f.descent;
  int left = x;
  if ((TextAnchor() & kTextAlignCenter) == kTextAlignCenter)
    left = x - t.width / 2;
  else if ((TextAnchor() & kTextAlignCenter) == kTextAlignRight)
    left = x - t.width;
  int top = y;
  if ((TextAnchor() & 24) == 24)  // baseline
    top = y - f.ascent;
  else if ((TextAnchor() & kTextAlignBottom) == kTextAlignBottom)
    top = y - height;

  if (!EnsurePainter()) return;
  if (BackgroundMode() == TBackgroundMode::bmOpaque)
    FillSolid({left, top, left + t.width, top + height}, ToQRgb(BackgroundColor()));
  const Rect area = DrawableArea();
  if (t.runs.empty() || Font().color == clNone || area.IsEmpty()) return;
  if (!t.inkReady) RenderInk(f, t);
  const QRgb color = ToQRgb(Font().color);
  for (const InkSpan& span : t.ink) {
    const int row = top + span.y;
    if (row < area.top || row >= area.bottom) continue;
    const int from = std::max(left + span.x, area.left);
    const int to = std::min(left + span.x + span.length, area.right);
    if (from < to) std::fill(reinterpret_cast<QRgb*>(bits_ + row * stride_) + from,
                             reinterpret_cast<QRgb*>(bits_ + row * stride_) + to, color);
  }
}

Rect TRasterCanvas::DrawableArea() const {
  const Rect whole{0, 0, width_, height_};
  return clipped_ ? whole.Intersected(clip_) : whole;
}

void TRasterCanvas::FillSolid(const Rect& r, QRgb color) {
  const Rect a = r.Intersected(DrawableArea());
  if (a.IsEmpty() || bits_ == nullptr) return;
  const int w = a.Width();
  if (a.left == 0 && w == width_ && stride_ == static_cast<qsizetype>(w) * 4) {
    // Whole rows of a tightly packed image are one run.
    Fill32(reinterpret_cast<QRgb*>(bits_ + a.top * stride_), w * a.Height(), color);
    return;
  }
  if (w <= 16) {
    // Vertical lines and thin bars: a call per row would cost more than the row.
    for (int y = a.top; y < a.bottom; ++y) std::fill_n(reinterpret_cast<QRgb*>(bits_ + y * stride_) + a.left, w, color);
    return;
  }
  for (int y = a.top; y < a.bottom; ++y) Fill32(reinterpret_cast<QRgb*>(bits_ + y * stride_) + a.left, w, color);
}

void TRasterCanvas::FillWithBrush(const Rect& r) {
  if (Brush().style == TBrushStyle::bsClear || Brush().color == clNone) return;
  if (Brush().style == TBrushStyle::bsSolid) {
    FillSolid(r, ToQRgb(Brush().color));
    return;
  }
  if (BackgroundMode() == TBackgroundMode::bmOpaque) FillSolid(r, ToQRgb(BackgroundColor()));
  const Rect a = r.Intersected(DrawableArea());
  if (a.IsEmpty()) return;
  painter_.fillRect(ToQRect(a), QBrush(QColor::fromRgb(ToQRgb(Brush().color)), HatchOf(Brush().style)));
}

void TRasterCanvas::FillRect(const Rect& r) {
  if (!EnsurePainter()) return;
  FillWithBrush(r.Normalized());
}

void TRasterCanvas::DrawBox(const Rect& box) {
  if (!EnsurePainter()) return;
  const Rect r = box.Normalized();
  if (r.IsEmpty()) return;
  const bool outline = Pen().style != TPenStyle::psClear && Pen().color != clNone;
  if (!outline) {
    FillWithBrush(r);
    return;
  }
  const int w = std::max(Pen().width, 1);
  FillWithBrush(r.Inflated(-((w + 1) / 2)));
  if (w > 1 && !Pen().alternateDots) {
    // A wide outline is centred on the boundary pixels, as a wide line is.
    const Rect outer{r.left - w / 2, r.top - w / 2, r.right - 1 - w / 2 + w, r.bottom - 1 - w / 2 + w};
    const QRgb c = ToQRgb(Pen().color);
    FillSolid({outer.left, outer.top, outer.right, outer.top + w}, c);
    FillSolid({outer.left, outer.bottom - w, outer.right, outer.bottom}, c);
    FillSolid({outer.left, outer.top + w, outer.left + w, outer.bottom - w}, c);
    FillSolid({outer.right - w, outer.top + w, outer.right, outer.bottom - w}, c);
    return;
  }
  DrawLine(r.left, r.top, r.right - 1, r.top);
  DrawLine(r.right - 1, r.top, r.right - 1, r.bottom - 1);
  DrawLine(r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
  DrawLine(r.left, r.bottom - 1, r.left, r.top);
}

void TRasterCanvas::StrokeLine(int x0, int y0, int x1, int y1) {
  if (!EnsurePainter()) return;
  DrawLine(x0, y0, x1, y1);
}

void TRasterCanvas::DrawLine(int x0, int y0, int x1, int y1) {
  if (Pen().style == TPenStyle::psClear || Pen().color == clNone) return;
  if (x0 == x1 && y0 == y1) return;
  const QRgb color = ToQRgb(Pen().color);
  const LinePattern* pattern = PatternOf(Pen());
  const int w = std::max(Pen().width, 1);

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

namespace {

// ceil(a / b) for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

}  // namespace

// Scanline fill by the odd-even rule: a pixel is inside when its centre is.
// Each row's edge crossings are computed exactly in integers (the centres lie
// half a pixel off the integer vertices, so no crossing is ever ambiguous).
void TRasterCanvas::FillPolygonSolid(const Point* points, int count, QRgb color) {
  const Rect area = DrawableArea();
  int minY = points[0].y;
  int maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  const int firstRow = std::max(minY, area.top);
  const int endRow = std::min(maxY, area.bottom);
  for (int y = firstRow; y < endRow; ++y) {
    crossings_.clear();
    for (int i = 0; i < count; ++i) {
      Point lo = points[i];
      Point hi = points[(i + 1) % count];
      if (lo.y == hi.y) continue;
      if (lo.y > hi.y) std::swap(lo, hi);
      if (y < lo.y || y >= hi.y) continue;  // the centre y + 1/2 lies between them
      // Crossing x = lo.x + (y + 1/2 - lo.y) * dx / dy = num / den; the first
      // pixel whose centre lies right of it is ceil(x - 1/2).
      const std::int64_t den = 2 * static_cast<std::int64_t>(hi.y - lo.y);
      const std::int64_t num = 2 * static_cast<std::int64_t>(lo.x) * (hi.y - lo.y) +
                               (2 * static_cast<std::int64_t>(y - lo.y) + 1) * (hi.x - lo.x);
      crossings_.push_back(static_cast<int>(CeilDiv(2 * num - den, 2 * den)));
    }
    std::sort(crossings_.begin(), crossings_.end());
    auto* row = reinterpret_cast<QRgb*>(bits_ + y * stride_);
    for (std::size_t k = 0; k + 1 < crossings_.size(); k += 2) {
      const int from = std::max(crossings_[k], area.left);
      const int to = std::min(crossings_[k + 1], area.right);
      if (from < to) std::fill(row + from, row + to, color);
    }
  }
}

void TRasterCanvas::FillPolygon(const Point* points, int count) {
  if (points == nullptr || count < 2 || !EnsurePainter()) return;
  if (count >= 3 && Brush().style != TBrushStyle::bsClear && Brush().color != clNone && !DrawableArea().IsEmpty()) {
    std::vector<QPoint> q;
    q.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) q.emplace_back(points[i].x, points[i].y);
    if (Brush().style == TBrushStyle::bsSolid) {
      FillPolygonSolid(points, count, ToQRgb(Brush().color));
    } else {
    SyncPainterClip();
    SyncPainterPen(0);
    if (BackgroundMode() == TBackgroundMode::bmOpaque) {
      painter_.setBrush(QColor::fromRgb(ToQRgb(BackgroundColor())));
      painter_.drawPolygon(q.data(), count, Qt::OddEvenFill);
    }
    painter_.setBrush(QBrush(QColor::fromRgb(ToQRgb(Brush().color)), HatchOf(Brush().style)));
    painter_.drawPolygon(q.data(), count, Qt::OddEvenFill);
    painter_.setBrush(Qt::NoBrush);
    }
  }
  for (int i = 0; i < count; ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % count];
    DrawLine(a.x, a.y, b.x, b.y);
  }
}

void TRasterCanvas::ClipTo(const Rect& r) {
  const Rect n = r.Normalized();
  clip_ = clipped_ ? clip_.Intersected(n) : n;
  clipped_ = true;
  painterClipValid_ = false;
}

void TRasterCanvas::ClearClip() {
  clipped_ = false;
  painterClipValid_ = false;
}

// colour 0 stands for "no pen" (every drawn colour carries alpha 0xFF).
void TRasterCanvas::SyncPainterPen(QRgb color) {
  if (painterPenValid_ && painterPenColor_ == color) return;
  if (color == 0)
    painter_.setPen(Qt::NoPen);
  else
    painter_.setPen(QColor::fromRgb(color));
  painterPenColor_ = color;
  painterPenValid_ = true;
}

void TRasterCanvas::SyncPainterClip() {
  if (painterClipValid_) return;
  if (clipped_)
    painter_.setClipRect(ToQRect(DrawableArea()));
  else
    painter_.setClipping(false);
  painterClipValid_ = true;
}

}  // namespace tavimo::chart
