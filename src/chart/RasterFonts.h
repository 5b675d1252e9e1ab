#pragma once
// Chart fonts on this platform: face names as the chart's settings store them
// ("Arial", "宋体", ...) matched to installed families, pixel heights as
// QFont pixel sizes. The raster canvas and the desktop window both use this,
// so a face is matched the same way everywhere.

#include <QFont>
#include <QStringList>
#include <string_view>

#include "chart/Canvas.h"

namespace tavimo::chart {

// Families to try for a stored face name, best first; fontconfig falls back
// beyond them. "Arial" and "MS Sans Serif" map to the metric-compatible
// Liberation Sans, "宋体"/"SimSun" to a Song-style CJK face.
QStringList FaceFamilies(std::string_view face);

// The QFont for a chart font: pixel height for negative heights, point size
// at 96 dpi otherwise; bold, italic, underline and strike-out as given.
// Full hinting and no kerning keep advances whole pixels, as the layout
// measures text in whole pixels. Smoothing is left to the user of the font
// (the raster canvas draws it aliased).
QFont MakeQFont(const TFont& font);

// Ascent and descent of a text line in whole pixels, as the platform's text
// extent reports them: the face's Windows ascent and descent (OS/2 table)
// scaled to the pixel size and each rounded up. Faces without that table
// use the font engine's own ascent and descent.
struct TLineMetrics {
  int ascent = 0;
  int descent = 0;
  int Height() const { return ascent + descent; }
};
TLineMetrics LineMetrics(const QFont& font);

}  // namespace tavimo::chart
