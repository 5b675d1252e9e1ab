#include "pricechart/PriceChartContent.h"

#include <algorithm>
#include <climits>

#include "history/Scan.h"
#include "chart/CandleSeries.h"

namespace tavimo::pricechart {

chart::TZigzag ChartZigzag(const std::vector<SwingPoint>& swings) {
  std::vector<chart::TChartPivot> points;
  points.reserve(swings.size());
  for (const SwingPoint& p : swings) points.push_back({static_cast<int>(p.bar), p.price, {}, p.kind == SwingKind::High});
  return chart::TZigzag(std::move(points), [](double price) { return ShortestText(price); });
}

bool LastPointOpen(const std::vector<SwingPoint>& swings) { return !swings.empty() && !swings.back().confirmed; }

std::vector<chart::TChartLevelLine> ChartLevelLines(const LevelView& view, int fromBar) {
  std::vector<chart::TChartLevelLine> lines;
  lines.reserve(view.rows.size());
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    const LevelRow& row = view.rows[i];
    lines.push_back({fromBar, row.level, static_cast<int>(i), row.ratio + "  " + row.mark});
  }
  return lines;
}

CandleColors CandleColorsFor(bool englishConvention, bool swapped) {
  const bool risingRed = englishConvention == swapped;
  return risingRed ? CandleColors{chart::kCandleRed, chart::kCandleGreen}
                   : CandleColors{chart::kCandleGreen, chart::kCandleRed};
}

bool IsEnglishLocaleName(std::string_view name) {
  // "en", "en_US.UTF-8", "en@...": the language is the part before _ . @.
  return name.substr(0, name.find_first_of("_.@")) == "en";
}

std::optional<BarSpan> BarsBetween(std::span<const std::int64_t> times, std::optional<std::int64_t> from,
                                   std::optional<std::int64_t> to) {
  const auto begin = from ? std::lower_bound(times.begin(), times.end(), *from) : times.begin();
  const auto end = to ? std::upper_bound(times.begin(), times.end(), *to) : times.end();
  if (begin >= end) return std::nullopt;
  const auto index = [&](auto at) {
    const auto n = at - times.begin();
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
  };
  return BarSpan{index(begin), index(end - 1)};
}

}  // namespace tavimo::pricechart
