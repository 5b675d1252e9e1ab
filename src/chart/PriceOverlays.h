#pragma once
// What a price chart draws over its candles: the zigzag of the swings with
// its pivots' prices, and level lines from a bar to the right edge in the
// palette colour of their ratio, so a ratio looks the same as in the main
// chart. The window and tavimo-cli draw them alike.

#include <string>
#include <vector>

#include "chart/Canvas.h"
#include "chart/Geometry.h"
#include "chart/PriceView.h"

namespace tavimo::chart {

inline constexpr TColor kZigzagColor = RGBColor(0x20, 0x40, 0xC0);

// A point of the zigzag: a bar, its price and the label written beside it.
struct TChartPivot {
  int bar = 0;
  double price = 0.0;
  std::string label;
  bool high = false;  // labelled above the point, else below
};

// A level line from a bar to the right edge, in the palette colour of its
// ratio's index, labelled at the right.
struct TChartLevelLine {
  int fromBar = 0;
  double price = 0.0;
  int paletteIndex = 0;
  std::string label;
};

// The lines inside the plot; a label that would overlap one already written
// is left out (its line stays). Labels sit on the background colour.
void DrawLevelLines(TCanvas& canvas, const Rect& plot, const TPriceView& view, const std::vector<TChartLevelLine>& lines,
                    const TFont& font, TColor background);

// The width a chart keeps free right of its latest bar for the lines' labels.
int LevelLabelSpace(TCanvas& canvas, const std::vector<TChartLevelLine>& lines, const TFont& font);

// The segments between the pivots (the last one dashed when openLast, the
// selected ones thicker), then the pivots' labels, each kept clear of the
// one before on its side.
void DrawZigzag(TCanvas& canvas, const Rect& plot, const TPriceView& view, const std::vector<TChartPivot>& pivots,
                bool openLast, const std::vector<int>& selected, const TFont& font);

}  // namespace tavimo::chart
