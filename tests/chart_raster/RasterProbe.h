#pragma once
// Pixel probes on the raster canvas' image, in the chart's 0x00BBGGRR colours.

#include <QImage>

#include "chart/Color.h"
#include "chart/RasterCanvas.h"

namespace tavimo::chart::testing {

inline TColor PixelAt(const TRasterCanvas& canvas, int x, int y) {
  const QRgb p = canvas.Image().pixel(x, y);
  return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

// Bounding box of the pixels that differ from the background colour in r,
// right and bottom exclusive; empty when there are none.
inline Rect InkBounds(const TRasterCanvas& canvas, const Rect& r, TColor background) {
  Rect ink{r.right, r.bottom, r.left, r.top};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (PixelAt(canvas, x, y) != background) {
        if (x < ink.left) ink.left = x;
        if (y < ink.top) ink.top = y;
        if (x + 1 > ink.right) ink.right = x + 1;
        if (y + 1 > ink.bottom) ink.bottom = y + 1;
      }
  return ink;
}

inline int CountColor(const TRasterCanvas& canvas, const Rect& r, TColor color) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (PixelAt(canvas, x, y) == color) ++n;
  return n;
}

// Pixels dark enough to be text ink (antialiased glyph edges blend with the background).
inline int CountDark(const TRasterCanvas& canvas, const Rect& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const TColor c = PixelAt(canvas, x, y);
      if (RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 96) ++n;
    }
  return n;
}

// A white canvas of the given size, ready to draw on.
inline void StartWhite(TRasterCanvas& canvas, int w, int h) {
  canvas.SetupWindow(w, h);
  canvas.ClearClip();
  canvas.SetPen({clWhite, 1, TPenStyle::psClear, false});
  canvas.SetBrush({clWhite, TBrushStyle::bsSolid});
  canvas.FillRect({0, 0, w, h});
}

}  // namespace tavimo::chart::testing
