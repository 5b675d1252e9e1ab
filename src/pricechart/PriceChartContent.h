#pragma once
// What the price chart draws of a price history, so the window and
// tavimo-cli chart turn the same swings and levels into the same lines.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "calc/LevelView.h"
#include "chart/PriceOverlays.h"
#include "history/Swings.h"

namespace tavimo::pricechart {

// Each swing point at its bar, labelled with its price's shortest text
// (written only for the pivots a chart labels).
chart::TZigzag ChartZigzag(const std::vector<SwingPoint>& swings);
// The last point is the open leg's extreme, drawn dashed.
bool LastPointOpen(const std::vector<SwingPoint>& swings);

// A line per row of the view from bar fromBar, labelled "ratio  mark", in
// the palette colour of the row's index.
std::vector<chart::TChartLevelLine> ChartLevelLines(const LevelView& view, int fromBar);

// Rising candles are red and falling ones green in the Chinese convention,
// the other way round in the English one; swapped exchanges them.
struct CandleColors {
  chart::TColor rising = 0;
  chart::TColor falling = 0;
};
CandleColors CandleColorsFor(bool englishConvention, bool swapped);

// Whether a locale name (such as "en_GB.UTF-8") is English; C, POSIX and
// every other language are not.
bool IsEnglishLocaleName(std::string_view name);

// The bars whose time lies from `from` to `to` (either may be absent: the
// first or last bar), as first and last index; none when no bar lies there.
struct BarSpan {
  int first = 0;
  int last = 0;
};
std::optional<BarSpan> BarsBetween(std::span<const std::int64_t> times, std::optional<std::int64_t> from,
                                   std::optional<std::int64_t> to);

}  // namespace tavimo::pricechart
