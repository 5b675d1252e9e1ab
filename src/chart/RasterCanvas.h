#pragma once
// The chart canvas on the platform's 2D graphics: draws into a QImage
// (32-bit RGB) with aliased, pixel-exact primitives. Needs a
// QGuiApplication for fonts.
//
// Pixel rules, in design pixels (at scale 1 they are the image's pixels):
// - Rectangles are right- and bottom-exclusive. DrawBox outlines the
//   boundary pixels with the pen and fills the inside with the brush; with
//   the null pen it only fills.
// - A line does not set its end pixel. Pens wider than one pixel are solid
//   and centred on the line (a 2-pixel vertical line at x covers x-1 and x).
// - Pen styles of one-pixel pens, in pixels along the line from its start
//   (on/off): psDot 1/1 (the dotted grid line sets every other pixel),
//   psDash 6/2, psDashDot 6/2/1/2, psDashDotDot 6/2/1/2/1/2. The
//   alternate-dots pen sets every other pixel as psDot does. In opaque
//   background mode the gaps take the background colour.
// - Polygons are filled by the odd-even rule (pixel centres inside), then
//   outlined with the pen, each edge without its end pixel.
// - Hatched brushes draw their lines in the brush colour; in opaque
//   background mode the gaps take the background colour.
// - Text: flags 0 left/top, 2 right, 6 horizontally centred, 8 bottom
//   (24 baseline). The text cell is the advance width by the line height;
//   opaque mode fills the cell with the background colour first. Glyphs are
//   aliased (one colour, no blending), as the rest of the chart is.
// - MeasureWidth is the horizontal advance of the text, MeasureHeight the
//   font's line height (ascent + descent, see LineMetrics) for any text, as
//   the platform's text extent gives it: 19 for 16-pixel Arial.
//
// At another scale S (Canvas.h) the image is the design size times S, and
// with D(v) = ScaleLength(v, S) for every coordinate and length:
// - A rectangle covers the device pixels from D(left) to D(right) and
//   D(top) to D(bottom); a box's one-pixel outline is D(1) device pixels
//   wide inside those edges. Coordinates map to D(v), so shapes keep their
//   places and proportions within a device pixel of the design times S.
// - A one-pixel line covers, across, the last D(1) device pixels of its
//   design pixel, and along, the device pixels of the design pixels it
//   sets; so lines at the image's edges end flush with them. A wider pen
//   covers the device pixels of its design pixels. Pattern runs are the
//   design's, each dot D(1) pixels long. The alternate-dots pen stays one
//   device pixel: it is the hairline.
// - Polygons are filled at device resolution between their scaled corners,
//   and lines that are neither horizontal nor vertical step one device pixel
//   at a time, D(width) pixels thick across their main direction, so no edge
//   shows enlarged pixels.
// - Glyphs come from the font at its scaled pixel size and are placed at the
//   scaled position (the baseline at D(top + ascent)); aligned right or
//   centred by their own advance. Text is measured at the design size.
// - Hatch patterns are scaled.
// - ShowImage marks the image with the scale as its device pixel ratio, so a
//   painter on a screen of that ratio copies it pixel for pixel.

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "chart/Canvas.h"

namespace tavimo::chart {

class TRasterCanvas : public TCanvas {
 public:
  TRasterCanvas();
  ~TRasterCanvas() override;
  TRasterCanvas(const TRasterCanvas&) = delete;
  TRasterCanvas& operator=(const TRasterCanvas&) = delete;

  TAVIMO_CANVAS_PRIMITIVE_OVERRIDES
  void StrokeColumnLines(const std::vector<TColumnLine>& lines) override;

  // The chart image as last drawn (complete after ShowImage), in device
  // pixels. A copy taken of it keeps its pixels when the canvas draws on.
  const QImage& Image() const { return image_; }

 private:
  struct TextEntry;
  struct FontEntry;

  // Begins the painter on the current image when it is not active or the
  // image's pixels are shared with a copy; false without an image.
  bool EnsurePainter();
  void EndPainter();
  // The entry of the current font, looked up again only when the font's face,
  // size or style differ from the entry last used.
  FontEntry& CurrentFont();
  TextEntry& Layout(FontEntry& font, std::string_view text);
  static void RenderInk(const FontEntry& font, TextEntry& text);
  // Design pixels to device pixels (Canvas.h); the identity at scale 1.
  int Device(int v) const { return Scaled(v); }
  Rect Device(const Rect& r) const { return {Device(r.left), Device(r.top), Device(r.right), Device(r.bottom)}; }
  // The area drawing may touch, in device pixels: the image, narrowed by the clip.
  Rect DrawableArea() const;
  // In device pixels.
  void FillSolid(const Rect& r, QRgb color);
  void FillWithBrush(const Rect& deviceRect);
  void FillPolygonSolid(const Point* points, int count, QRgb color);
  // A one-pixel line with the pen's pattern, or a wide solid one (design pixels).
  void DrawLine(int x0, int y0, int x1, int y1);
  void SyncPainterPen(QRgb color);
  void SyncPainterClip();

  QImage image_;
  int width_ = 0;  // of image_, read by every primitive
  int height_ = 0;
  uchar* bits_ = nullptr;  // the image's pixels while the painter is active
  qsizetype stride_ = 0;   // bytes per row
  QPainter painter_;
  bool clipped_ = false;
  Rect clip_;  // device pixels

  // Painter state as last set, so a primitive changes only what differs.
  QRgb painterPenColor_ = 0;
  bool painterPenValid_ = false;
  bool painterClipValid_ = false;

  std::vector<int> crossings_;       // scratch of the polygon fill
  std::vector<Point> devicePoints_;  // a polygon's corners in device pixels
  struct ColumnRun {
    Rect r;  // device pixels, within the drawable area
    QRgb color;
  };
  std::vector<ColumnRun> columnRuns_;  // scratch of the column lines

  std::unordered_map<std::string, std::unique_ptr<FontEntry>> fonts_;
  FontEntry* currentFont_ = nullptr;
};

}  // namespace tavimo::chart
