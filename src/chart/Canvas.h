#pragma once
// The drawing surface of the chart: a current pen, brush and font, the
// primitives the chart draws with, and the chart's own drawing operations
// (arrow, banded gradient, pen and brush selection) built on them.
// Implementations: the raster canvas over a QImage and the recording canvas
// used by the layout tests. The drawing state belongs to the base class;
// an implementation reads it when a primitive needs it.
//
// Scale. The chart lays itself out and draws in design pixels: pixels of a
// screen with a device pixel ratio of 1, in which all its layout rules and
// sizes are given. A canvas renders them at its Scale(), the device pixels
// per design pixel of the surface: every coordinate and every length (a
// pen's width, a font's pixel height) passes once through ScaleLength, the
// fonts are used at their scaled pixel size, and lines, edges and glyphs are
// rasterised at the device resolution, never as enlarged design pixels.
// Text is measured at the design size, so the layout, and every mouse
// position, is the same at every scale. At scale 1 a design pixel is a
// device pixel and nothing of this changes a pixel.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "chart/Color.h"
#include "chart/Geometry.h"

namespace tavimo::chart {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum class TBackgroundMode { bmTransparent = 1, bmOpaque = 2 };

enum class TGradientDirection { gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft };

// Text alignment flags as the chart passes them.
inline constexpr int kTextAlignLeftTop = 0;
inline constexpr int kTextAlignRight = 2;
inline constexpr int kTextAlignCenter = 6;
inline constexpr int kTextAlignBottom = 8;

// A realised pen. alternateDots: a cosmetic pen that sets every other pixel.
struct TPen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = TPenStyle::psSolid;
  bool alternateDots = false;
  friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
  TColor color = clWhite;
  TBrushStyle style = TBrushStyle::bsSolid;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

// height < 0 is a pixel height (-16: 16 pixels); height > 0 is a point size at 96 dpi.
struct TFont {
  std::string face = "Arial";
  int height = -13;
  TColor color = clBlack;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int PixelSize() const { return height < 0 ? -height : (height * 96 + 36) / 72; }
  friend bool operator==(const TFont&, const TFont&) = default;
};

// A pen as the chart's settings hold it (frame, axis, grid, ticks, bar outline).
struct TChartPen {
  bool visible = true;
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = TPenStyle::psSolid;
  bool smallDots = false;
  friend bool operator==(const TChartPen&, const TChartPen&) = default;
};

// What the primitives draw with.
struct TCanvasState {
  TPen pen;
  TBrush brush;
  TFont font;
  TBackgroundMode backgroundMode = TBackgroundMode::bmTransparent;
  TColor backgroundColor = clWhite;
  int textAnchor = kTextAlignLeftTop;
};

// A solid vertical line one pixel wide in a colour of its own, from top
// down to bottom, the end pixel not drawn (as StrokeLine draws it).
struct TColumnLine {
  int x = 0;
  int top = 0;
  int bottom = 0;
  TColor color = clBlack;
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Off-screen image: makes it width x height (discarding an image of another
  // size), directs drawing to it and returns the rectangle to paint (0, 0, w, h).
  virtual Rect SetupWindow(int width, int height) = 0;
  // Drawing into the off-screen image is complete.
  virtual void ShowImage() = 0;

  // Writes text in the font's colour at (x, y) with the current alignment and background mode.
  virtual void PutText(int x, int y, std::string_view text) = 0;
  // Extent of the text in the current font; 0 when it cannot be measured.
  virtual int MeasureWidth(std::string_view text) = 0;
  virtual int MeasureHeight(std::string_view text) = 0;

  // Outline with the pen, fill with the brush; right and bottom exclusive.
  virtual void DrawBox(const Rect& r) = 0;
  // Fill with the brush, no outline.
  virtual void FillRect(const Rect& r) = 0;
  // From (x0, y0) to (x1, y1), the end pixel not drawn.
  virtual void StrokeLine(int x0, int y0, int x1, int y1) = 0;
  // One closed polygon, filled by the alternate rule, the outline drawn over the fill.
  virtual void FillPolygon(const Point* points, int count) = 0;
  // Many vertical lines (the candles of a zoomed-out chart), the pixels as
  // each drawn in turn with a solid one-pixel pen of its colour; the pen is
  // left as the last line's. A canvas may write them in another order that
  // gives those pixels.
  virtual void StrokeColumnLines(const std::vector<TColumnLine>& lines);

  // Intersects the clipping with r; ClearClip removes all clipping.
  virtual void ClipTo(const Rect& r) = 0;
  virtual void ClearClip() = 0;

  // Device pixels per design pixel, 1 unless set; a value outside (0,
  // kMaxScale] is ignored. Set between frames: the image takes its size
  // from it at SetupWindow.
  double Scale() const { return scale_; }
  void SetScale(double scale) {
    if (scale > 0 && scale <= kMaxScale) scale_ = scale;
  }
  // A design coordinate or length in device pixels at this canvas' scale.
  int Scaled(int designPixels) const { return ScaleLength(designPixels, scale_); }
  static constexpr double kMaxScale = 64;

  // The drawing state the primitives use.
  const TCanvasState& State() const { return state_; }
  const TPen& Pen() const { return state_.pen; }
  void SetPen(const TPen& pen) { state_.pen = pen; }
  const TBrush& Brush() const { return state_.brush; }
  void SetBrush(const TBrush& brush) { state_.brush = brush; }
  // Fills nothing from here on; the brush keeps its colour.
  void ClearBrush() { state_.brush.style = TBrushStyle::bsClear; }
  const TFont& Font() const { return state_.font; }
  void SetFont(const TFont& font) { state_.font = font; }
  TBackgroundMode BackgroundMode() const { return state_.backgroundMode; }
  void SetBackgroundMode(TBackgroundMode mode) { state_.backgroundMode = mode; }
  TColor BackgroundColor() const { return state_.backgroundColor; }
  void SetBackgroundColor(TColor color) { state_.backgroundColor = color; }
  int TextAnchor() const { return state_.textAnchor; }
  void SetTextAnchor(int flags) { state_.textAnchor = flags; }

  // The chart's operations over the primitives above.
  int TextLineHeight() { return MeasureHeight("W"); }
  void ResetDrawingState();
  void SelectChartPen(const TChartPen& pen);
  void SelectChartBrush(TColor color, TBrushStyle style, TColor backgroundColor);
  void BandedGradient(const Rect& r, TColor c0, TColor c1, TGradientDirection direction);
  void ArrowPolygon(bool filled, Point from, Point to, int headWidth, int headLengthLimit);
  // The seven points of a filled arrow in drawing order (Pi, Ph, Pf, Pc, Pe, Pd, Pg);
  // false for an arrow of no length. Pc and Pd are also the two head corners of an outline arrow.
  static bool ArrowPoints(Point from, Point to, int headWidth, int headLengthLimit,
                          std::array<Point, 7>& points);
  // The same points by rotating into the arrow's direction and back, for any
  // direction; ArrowPoints uses it for every arrow that does not point right.
  static bool RotatedArrowPoints(Point from, Point to, int headWidth, int headLengthLimit,
                                 std::array<Point, 7>& points);

 private:
  TCanvasState state_;
  double scale_ = 1.0;
};

// The primitives above as an implementation declares them (inside its class
// body), so that both canvases override the one list.
#define TAVIMO_CANVAS_PRIMITIVE_OVERRIDES                                        \
  Rect SetupWindow(int width, int height) override;                              \
  void ShowImage() override;                                                     \
  void PutText(int x, int y, std::string_view text) override;                    \
  int MeasureWidth(std::string_view text) override;                              \
  int MeasureHeight(std::string_view text) override;                             \
  void DrawBox(const Rect& r) override;                                          \
  void FillRect(const Rect& r) override;                                         \
  void StrokeLine(int x0, int y0, int x1, int y1) override;                      \
  void FillPolygon(const Point* points, int count) override;                     \
  void ClipTo(const Rect& r) override;                                           \
  void ClearClip() override;

// Puts back the pen, brush and font the canvas had when it was made, on
// leaving its scope (an exception included).
class TCanvasStateSaver {
 public:
  explicit TCanvasStateSaver(TCanvas& canvas)
      : canvas_(canvas), pen_(canvas.Pen()), brush_(canvas.Brush()), font_(canvas.Font()) {}
  ~TCanvasStateSaver() {
    canvas_.SetPen(pen_);
    canvas_.SetBrush(brush_);
    canvas_.SetFont(font_);
  }
  TCanvasStateSaver(const TCanvasStateSaver&) = delete;
  TCanvasStateSaver& operator=(const TCanvasStateSaver&) = delete;

 private:
  TCanvas& canvas_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
};

}  // namespace tavimo::chart
