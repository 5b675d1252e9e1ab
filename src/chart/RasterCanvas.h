#pragma once
// The chart canvas on the platform's 2D graphics: draws into a QImage
// (32-bit RGB) with aliased, pixel-exact primitives. Needs a
// QGuiApplication for fonts.
//
// Pixel rules:
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

  Rect SetupWindow(int width, int height) override;
  void ShowImage() override;

  void PutText(int x, int y, std::string_view text) override;
  int MeasureWidth(std::string_view text) override;
  int MeasureHeight(std::string_view text) override;

  void DrawBox(const Rect& r) override;
  void FillRect(const Rect& r) override;
  void StrokeLine(int x0, int y0, int x1, int y1) override;
  void FillPolygon(const Point* points, int count) override;

  void ClipTo(const Rect& r) override;
  void ClearClip() override;

  // The chart image as last drawn (complete after ShowImage). A copy taken
  // of it keeps its pixels when the canvas draws on.
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
  // The area drawing may touch: the image, narrowed by the clip.
  Rect DrawableArea() const;
  void FillSolid(const Rect& r, QRgb color);
  void FillWithBrush(const Rect& r);
  void FillPolygonSolid(const Point* points, int count, QRgb color);
  // A one-pixel line with the pen's pattern, or a wide solid one.
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
  Rect clip_;

  // Painter state as last set, so a primitive changes only what differs.
  QRgb painterPenColor_ = 0;
  bool painterPenValid_ = false;
  bool painterClipValid_ = false;

  std::vector<int> crossings_;  // scratch of the polygon fill

  std::unordered_map<std::string, std::unique_ptr<FontEntry>> fonts_;
  FontEntry* currentFont_ = nullptr;
};

}  // namespace tavimo::chart
