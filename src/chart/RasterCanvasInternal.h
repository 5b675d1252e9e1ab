#pragma once
// What the raster canvas' source files share: the colour and brush
// conversions to the platform's types and the text cache's entries (complete
// here because the canvas owns the cache). Not for use outside the canvas.

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QRect>
#include <QRgb>
#include <QTransform>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "chart/RasterCanvas.h"

namespace tavimo::chart::raster {

constexpr QRgb ToQRgb(TColor c) {
  return 0xFF000000u | (static_cast<QRgb>(RedOf(c)) << 16) | (static_cast<QRgb>(GreenOf(c)) << 8) |
         static_cast<QRgb>(BlueOf(c));
}

inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

inline Qt::BrushStyle HatchOf(TBrushStyle style) {
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

// A hatched brush as the painter fills with it: its lines and spacing are
// design pixels, scaled.
inline QBrush HatchBrush(const TBrush& brush, double scale) {
  QBrush q(QColor::fromRgb(ToQRgb(brush.color)), HatchOf(brush.style));
  if (scale != 1.0) q.setTransform(QTransform::fromScale(scale, scale));
  return q;
}

// n copies of v from p on, as fast as the processor writes memory.
void FillPixels(QRgb* p, int n, QRgb v);

// Heterogeneous lookup so a cached text is found without building a std::string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// A text's ink, as runs of pixels relative to its cell's top-left corner.
// Glyphs are drawn aliased at whole-pixel positions, so the ink is the same
// wherever the text goes: it is rendered once and then only copied, which is
// several times faster than laying glyphs out again at every paint.
struct InkSpan {
  int x = 0;
  int y = 0;
  int length = 0;
};

}  // namespace tavimo::chart::raster

namespace tavimo::chart {

struct TRasterCanvas::TextEntry {
  std::vector<QGlyphRun> runs;  // glyph positions relative to the baseline origin
  int width = 0;                // advance at the design size: what the text measures
  int deviceWidth = 0;          // advance of the glyphs as drawn, which places them
  bool inkReady = false;
  std::vector<raster::InkSpan> ink;  // rows relative to the baseline
};

// A chart font at one device pixel size. Its text is measured at the design
// size and drawn with the glyphs of the device size; at scale 1 both are one font.
struct TRasterCanvas::FontEntry {
  FontEntry(const TFont& f, int devicePixelSize);
  TFont source;  // the chart font the entry was made for
  int devicePixelSize = 0;
  QFont font;  // at the device pixel size
  QFontMetrics metrics;
  int ascent = 0;  // of `font`
  int descent = 0;
  bool scaled = false;  // the design size differs from the device size
  QFontMetrics designMetrics;
  int designAscent = 0;
  int designDescent = 0;
  std::unordered_map<std::string, TextEntry, raster::TextHash, std::equal_to<>> texts;
};

}  // namespace tavimo::chart
