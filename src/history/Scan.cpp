#include "history/Scan.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "calc/LevelFormula.h"
#include "calc/LevelTable.h"
#include "history/ExactNumber.h"

namespace tavimo {

std::string ShortestText(double value) {
  char buffer[32];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

std::string PriceBoxText(double value, const NumberFormatSettings& settings) {
  std::string text = ShortestText(value);
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, settings.decimalSeparator);
  return text;
}

std::string DistanceText(double close, double level) {
  if (close == 0 || !std::isfinite(close) || !std::isfinite(level)) return "-";
  // v = 10000 (close - level) / close, rounded to a whole k: the double
  // estimate is checked, and moved, by the exact (2k - 1) |D| <= 2 |N| < (2k + 1) |D|.
  const ExactNumber n = (ExactNumber::FromDouble(close) - ExactNumber::FromDouble(level)) * ExactNumber::FromInteger(10000);
  const ExactNumber twiceN = (n * ExactNumber::FromInteger(2)).Abs();
  const ExactNumber d = ExactNumber::FromDouble(close).Abs();
  const long double estimate = std::fabs(10000.0L * (static_cast<long double>(close) - level) / close);
  if (!(estimate < 9e17L)) return "-";
  auto k = static_cast<std::int64_t>(std::llround(estimate));
  for (int step = 0; step < 4; ++step) {
    if (k > 0 && Compare(ExactNumber::FromInteger(2 * k - 1) * d, twiceN) > 0) --k;
    else if (Compare(twiceN, ExactNumber::FromInteger(2 * k + 1) * d) >= 0) ++k;
    else break;
  }
  const bool negative = n.Sign() * (close < 0 ? -1 : 1) < 0 && k != 0;
  const std::string cents = std::to_string(k % 100);
  return (negative ? "-" : "") + std::to_string(k / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

ScanRow ScanPrices(const std::string& file, const PriceFileResult& prices, const SwingChange& change,
                   const RatioList& ratios, const LevelPresentation& presentation) {
  const PriceBars& bars = prices.bars;
  ScanRow row;
  row.file = file;
  row.bars = bars.Size();
  const std::size_t last = bars.Size() - 1;
  row.lastTime = TimeText(bars.time[last], prices.timeForm);
  row.close = ShortestText(bars.close[last]);
  const std::vector<SwingPoint> points = FindSwings(bars.high.data(), bars.low.data(), bars.Size(), change);
  const std::optional<SwingLeg> leg = LegOf(points, 1);
  if (!leg) {
    row.leg = row.low = row.high = row.mode = row.ratio = row.level = row.distance = "-";
    return row;
  }
  row.leg = leg->up ? "up" : "down";
  row.low = ShortestText(leg->low);
  row.high = ShortestText(leg->high);
  row.mode = std::string(ComputeModeName(leg->mode));
  const LevelPrices wave{leg->low, leg->high, 0.0};
  const LevelScale scale = ScaleForMode(presentation.scale, leg->mode);
  CheckLogScalePrices(leg->mode, scale, wave);
  const LevelTable levels = BuildLevelTable(leg->mode, scale, ratios, wave);
  const double close = bars.close[last];
  const ExactNumber exactClose = ExactNumber::FromDouble(close);
  std::optional<ExactNumber> nearest;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    ShownLevel shown = ShowLevel(levels[i], presentation.tick ? &*presentation.tick : nullptr, presentation.rounding);
    const ExactNumber away = (ExactNumber::FromDouble(shown.level) - exactClose).Abs();
    if (nearest && Compare(away, *nearest) >= 0) continue;
    nearest = away;
    row.ratio = ratios[i];
    row.level = std::move(shown.mark);
    row.distance = DistanceText(close, shown.level);
  }
  if (!nearest) row.ratio = row.level = row.distance = "-";
  return row;
}

}  // namespace tavimo
