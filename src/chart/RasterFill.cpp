// Solid and hatched fills and boxes: solid colour goes straight into the
// image's rows, hatches through the painter.

#include <QBrush>
#include <algorithm>
#include <cstdint>

#include "chart/RasterCanvasInternal.h"

namespace tavimo::chart {

using raster::HatchBrush;
using raster::ToQRect;
using raster::ToQRgb;

namespace {

// n copies of v. Filling is bound by memory bandwidth: 32-byte stores where
// the processor has them (as fast as the toolkit's own image fill), aligned
// 16-byte stores otherwise; both beat the compiler's loop by a third. The
// loop is written once over a vector of Bytes and inlined into a function
// per instruction set, which gives it that set's stores.
template <int Bytes>
struct PixelVector {
  typedef QRgb Type __attribute__((vector_size(Bytes), __may_alias__));
};

template <int Bytes>
[[gnu::always_inline]] inline void FillAligned(QRgb* p, int n, QRgb v) {
  using Vector = typename PixelVector<Bytes>::Type;
  constexpr int kLanes = Bytes / static_cast<int>(sizeof(QRgb));
  while (n > 0 && (reinterpret_cast<std::uintptr_t>(p) & (Bytes - 1)) != 0) {
    *p++ = v;
    --n;
  }
  const Vector x = Vector{} + v;
  for (; n >= 4 * kLanes; n -= 4 * kLanes, p += 4 * kLanes) {
    Vector* q = reinterpret_cast<Vector*>(p);
    q[0] = x;
    q[1] = x;
    q[2] = x;
    q[3] = x;
  }
  for (; n >= kLanes; n -= kLanes, p += kLanes) *reinterpret_cast<Vector*>(p) = x;
  while (n-- > 0) *p++ = v;
}

__attribute__((target("avx2"))) void Fill32Avx2(QRgb* p, int n, QRgb v) { FillAligned<32>(p, n, v); }

void Fill32Sse2(QRgb* p, int n, QRgb v) { FillAligned<16>(p, n, v); }

using FillFunction = void (*)(QRgb*, int, QRgb);
const FillFunction Fill32 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? Fill32Avx2 : Fill32Sse2;
}();

}  // namespace

void raster::FillPixels(QRgb* p, int n, QRgb v) {
  // A call costs more than a short run.
  if (n <= 16)
    std::fill_n(p, n, v);
  else
    Fill32(p, n, v);
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
  if (w == 1) {
    // A wick or a one-pixel line: a store a row.
    QRgb* p = reinterpret_cast<QRgb*>(bits_ + a.top * stride_) + a.left;
    const qsizetype step = stride_ / 4;
    for (int y = a.top; y < a.bottom; ++y, p += step) *p = color;
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
  const TBrush& brush = Brush();
  if (brush.style == TBrushStyle::bsClear || brush.color == clNone) return;
  if (brush.style == TBrushStyle::bsSolid) {
    FillSolid(r, ToQRgb(brush.color));
    return;
  }
  if (BackgroundMode() == TBackgroundMode::bmOpaque) FillSolid(r, ToQRgb(BackgroundColor()));
  const Rect a = r.Intersected(DrawableArea());
  if (a.IsEmpty()) return;
  painter_.fillRect(ToQRect(a), HatchBrush(brush, Scale()));
}

void TRasterCanvas::FillRect(const Rect& r) {
  if (!EnsurePainter()) return;
  FillWithBrush(Device(r.Normalized()));
}

void TRasterCanvas::DrawBox(const Rect& box) {
  if (!EnsurePainter()) return;
  const Rect r = box.Normalized();
  if (r.IsEmpty()) return;
  const TPen& pen = Pen();
  const bool outline = pen.style != TPenStyle::psClear && pen.color != clNone;
  if (!outline) {
    FillWithBrush(Device(r));
    return;
  }
  const int w = std::max(pen.width, 1);
  const QRgb c = ToQRgb(pen.color);
  if (w > 1 && !pen.alternateDots) {
    // A wide outline is centred on the boundary pixels, as a wide line is:
    // four strips w thick around the outer edge.
    FillWithBrush(Device(r.Inflated(-((w + 1) / 2))));
    Rect outer{r.left - w / 2, r.top - w / 2, r.right - 1 - w / 2 + w, r.bottom - 1 - w / 2 + w};
    FillSolid(Device(outer.TakeFromTop(w)), c);
    FillSolid(Device(outer.TakeFromBottom(w)), c);
    FillSolid(Device(outer.TakeFromLeft(w)), c);
    FillSolid(Device(outer.TakeFromRight(w)), c);
    return;
  }
  if (pen.style == TPenStyle::psSolid && !pen.alternateDots) {
    // The boundary pixels as four strips a design pixel wide inside the box,
    // whose scaled edges they keep at every scale.
    const int edge = Device(1);
    Rect ring = Device(r);
    FillWithBrush(ring.Inflated(-edge));
    FillSolid(ring.TakeFromTop(edge), c);
    FillSolid(ring.TakeFromBottom(edge), c);
    FillSolid(ring.TakeFromLeft(edge), c);
    FillSolid(ring.TakeFromRight(edge), c);
    return;
  }
  FillWithBrush(Device(r.Inflated(-1)));
  DrawLine(r.left, r.top, r.right - 1, r.top);
  DrawLine(r.right - 1, r.top, r.right - 1, r.bottom - 1);
  DrawLine(r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
  DrawLine(r.left, r.bottom - 1, r.left, r.top);
}

}  // namespace tavimo::chart
