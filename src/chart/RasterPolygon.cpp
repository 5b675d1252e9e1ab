// Polygons: solid fills by an exact scanline rule, hatched ones through the
// painter, then the outline with the pen.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "chart/RasterCanvasInternal.h"

namespace tavimo::chart {

using raster::HatchBrush;
using raster::ToQRgb;

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
      if (from < to) raster::FillPixels(row + from, to - from, color);
    }
  }
}

void TRasterCanvas::FillPolygon(const Point* points, int count) {
  if (points == nullptr || count < 2 || !EnsurePainter()) return;
  const TBrush& brush = Brush();
  if (count >= 3 && brush.style != TBrushStyle::bsClear && brush.color != clNone && !DrawableArea().IsEmpty()) {
    // Filled at device resolution between the scaled corners.
    const Point* corners = points;
    if (Scale() != 1.0) {
      devicePoints_.resize(static_cast<std::size_t>(count));
      for (int i = 0; i < count; ++i) devicePoints_[static_cast<std::size_t>(i)] = {Device(points[i].x), Device(points[i].y)};
      corners = devicePoints_.data();
    }
    if (brush.style == TBrushStyle::bsSolid) {
      FillPolygonSolid(corners, count, ToQRgb(brush.color));
    } else {
      std::vector<QPoint> q;
      q.reserve(static_cast<std::size_t>(count));
      for (int i = 0; i < count; ++i) q.emplace_back(corners[i].x, corners[i].y);
      SyncPainterClip();
      SyncPainterPen(0);
      if (BackgroundMode() == TBackgroundMode::bmOpaque) {
        painter_.setBrush(QColor::fromRgb(ToQRgb(BackgroundColor())));
        painter_.drawPolygon(q.data(), count, Qt::OddEvenFill);
      }
      painter_.setBrush(HatchBrush(brush, Scale()));
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

}  // namespace tavimo::chart
