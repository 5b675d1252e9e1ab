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
#include "chart/RangeExtremes.h"

namespace tavimo::chart {

inline constexpr TColor kZigzagColor = RGBColor(0x20, 0x40, 0xC0);

// A point of the zigzag: a bar, its price and the label written beside it
// (empty: the zigzag's labeler writes it when it is shown).
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

// The pivots in bar order with the summaries a zoomed-out chart reads them
// by: their prices over ranges, and per side the bars since the pivot
// before on that side. Built once when the swings change.
// Writes a pivot's label from its price, for pivots without one: a chart of
// many thousands of pivots labels the few it shows.
using TPivotLabeler = std::string (*)(double price);

class TZigzag {
 public:
  TZigzag() = default;
  explicit TZigzag(std::vector<TChartPivot> pivots, TPivotLabeler labeler = nullptr);
  std::string Label(std::size_t i) const;
  const std::vector<TChartPivot>& Pivots() const { return pivots_; }
  std::size_t Size() const { return pivots_.size(); }
  // The pivots' bars and prices alone, compact for searching and reading.
  const std::vector<int>& Bars() const { return bars_; }
  const std::vector<double>& PriceValues() const { return priceValues_; }
  bool InBarOrder() const { return inBarOrder_; }
  const TRangeExtremes& Prices() const { return prices_; }
  // Of pivots of one side, the bars since the one before on that side
  // (huge for the first); -huge for the other side's.
  const TRangeExtremes& SideGaps(bool high) const { return high ? highGaps_ : lowGaps_; }
  double SideGap(std::size_t i, bool high) const;

 private:
  std::vector<TChartPivot> pivots_;
  TPivotLabeler labeler_ = nullptr;
  std::vector<int> bars_;
  std::vector<double> priceValues_;
  std::vector<double> sideGap_;
  bool inBarOrder_ = true;
  TRangeExtremes prices_, highGaps_, lowGaps_;
};

// The segments between the pivots (the last one dashed when openLast, the
// selected ones thicker), then the pivots' labels, each kept clear of the
// one before on its side.
void DrawZigzag(TCanvas& canvas, const Rect& plot, const TPriceView& view, const TZigzag& zigzag, bool openLast,
                const std::vector<int>& selected, const TFont& font);

}  // namespace tavimo::chart
