#include "chart/PriceView.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tavimo::chart {

namespace {

// A bar whose prices lie wholly outside the range is brought back this share
// of the span inside it, so it is seen, not left touching the edge.
constexpr double kClampInset = 0.1;

bool Finite(double v) { return std::isfinite(v); }

// A bar index as an int, within the bars 0 ... count - 1.
int BarWithin(double bar, int count) {
  if (!(bar > 0)) return 0;  // NaN too
  if (bar >= count - 1) return count - 1;
  return static_cast<int>(bar);
}

}  // namespace

void TPriceView::SetBars(const TPriceColumns& bars) {
  bars_ = bars;
  count_ = bars.Count();
  const std::size_t n = static_cast<std::size_t>(count_);
  // One pass over the prices: whether a log scale can show them, whether
  // they can be summarised, their lowest low and highest high, and the
  // first blocks of the summaries.
  constexpr std::size_t kBlock = TRangeExtremes::kFanOut;
  std::vector<double> barLows, barHighs, closeLows, closeHighs;
  const std::size_t blocks = (n + kBlock - 1) / kBlock;
  barLows.reserve(blocks), barHighs.reserve(blocks), closeLows.reserve(blocks), closeHighs.reserve(blocks);
  allPositive_ = true;
  summarised_ = true;
  bool anyPrice = false;
  double lowest = 0, highest = 0;
  for (std::size_t b = 0; b < n; b += kBlock) {
    double barLow = HUGE_VAL, barHigh = -HUGE_VAL, closeLow = HUGE_VAL, closeHigh = -HUGE_VAL;
    for (std::size_t i = b; i < std::min(n, b + kBlock); ++i) {
      const double o = bars.open[i], h = bars.high[i], l = bars.low[i], c = bars.close[i];
      // Written so that not-a-number fails too.
      allPositive_ = allPositive_ && o > 0 && h > 0 && l > 0 && c > 0;
      summarised_ = summarised_ && std::isfinite(o) && std::isfinite(h) && std::isfinite(l) && std::isfinite(c);
      if (std::isfinite(l) && std::isfinite(h)) {
        const double lo = std::min(l, h), hi = std::max(l, h);
        lowest = anyPrice ? std::min(lowest, lo) : lo;
        highest = anyPrice ? std::max(highest, hi) : hi;
        anyPrice = true;
      }
      barLow = std::min(barLow, std::min({o, h, l, c}));
      barHigh = std::max(barHigh, std::max({o, h, l, c}));
      closeLow = std::min(closeLow, c);
      closeHigh = std::max(closeHigh, c);
    }
    barLows.push_back(barLow), barHighs.push_back(barHigh), closeLows.push_back(closeLow), closeHighs.push_back(closeHigh);
  }
  if (summarised_) {
    barExtremes_.BuildFromBlocks(n, std::move(barLows), std::move(barHighs));
    closeExtremes_.BuildFromBlocks(n, std::move(closeLows), std::move(closeHighs));
  } else {
    barExtremes_ = {};
    closeExtremes_ = {};
  }
  timesAscending_ = std::is_sorted(bars.time.begin(), bars.time.end());
  // Rises of time as doubles, exact below 2^53 seconds; the others as no gap.
  const auto gap = [&](std::size_t i) {
    const std::int64_t d = i == 0 ? 0 : bars.time[i] - bars.time[i - 1];
    return d > 0 && d < (std::int64_t{1} << 53) ? static_cast<double>(d) : HUGE_VAL;
  };
  timeGaps_.Build(bars.time.size(), gap, gap);
  const bool scaleLost = scale_ == TPriceScale::Log && !allPositive_;
  if (scaleLost) scale_ = TPriceScale::Linear;
  // On a log scale every price is above 0 here, so the lowest low and
  // highest high found above are the usable ones, and their logarithms the
  // extent in units.
  dataKnown_ = anyPrice;
  if (anyPrice) {
    dataLow_ = ToUnits(lowest);
    dataHigh_ = ToUnits(highest);
  } else {
    dataLow_ = 0;
    dataHigh_ = 1;
  }
  ClampTime();
  if (scaleLost) {
    FitPriceToVisible();
  } else {
    ClampPrice();
  }
}

bool TPriceView::SetScale(TPriceScale scale) {
  if (scale == TPriceScale::Log && !allPositive_) return false;
  if (scale == scale_) return true;
  scale_ = scale;
  dataKnown_ = Extent(0, count_ - 1, dataLow_, dataHigh_);
  if (!dataKnown_) {
    dataLow_ = 0;
    dataHigh_ = 1;
  }
  FitPriceToVisible();
  return true;
}

double TPriceView::FromUnits(double units) const { return scale_ == TPriceScale::Log ? std::exp(units) : units; }
double TPriceView::PriceMin() const { return FromUnits(unitsMin_); }
double TPriceView::PriceMax() const { return FromUnits(unitsMax_); }

bool TPriceView::Usable(double price) const {
  return Finite(price) && (scale_ == TPriceScale::Linear || price > 0);
}

bool TPriceView::BarUnits(int bar, double& low, double& high) const {
  const double a = bars_.low[static_cast<std::size_t>(bar)];
  const double b = bars_.high[static_cast<std::size_t>(bar)];
  if (!Usable(a) || !Usable(b)) return false;
  low = ToUnits(std::min(a, b));
  high = ToUnits(std::max(a, b));
  return true;
}

bool TPriceView::Extent(int first, int last, double& low, double& high) const {
  bool any = false;
  first = std::max(first, 0);
  last = std::min(last, count_ - 1);
  for (int i = first; i <= last; ++i) {
    double lo, hi;
    if (!BarUnits(i, lo, hi)) continue;
    if (!any || lo < low) low = lo;
    if (!any || hi > high) high = hi;
    any = true;
  }
  return any;
}

void TPriceView::SetTimeRange(double first, double last) {
  if (!Finite(first) || !Finite(last)) return;
  timeMin_ = std::min(first, last);
  timeMax_ = std::max(first, last);
  Clamp();
}

void TPriceView::SetPriceRange(double low, double high) {
  if (!Usable(low) || !Usable(high)) return;
  unitsMin_ = ToUnits(std::min(low, high));
  unitsMax_ = ToUnits(std::max(low, high));
  ClampPrice();
}

void TPriceView::FitAll() { FitBars(0, count_ - 1); }

void TPriceView::FitBars(int first, int last) {
  first = std::clamp(first, 0, std::max(count_ - 1, 0));
  last = std::clamp(last, first, std::max(count_ - 1, 0));
  // The margin is empty space beyond the first or last bar; inside the
  // history the view ends at the bar's edge, so no neighbour shows half.
  const double margin = std::max(0.5, kFitTimeMargin * (static_cast<double>(last) - first + 1));
  timeMin_ = first - 0.5 - (first == 0 ? margin : 0);
  timeMax_ = last + 0.5 + (last == count_ - 1 ? margin : 0);
  ClampTime();
  FitPriceToVisible();
}

std::int64_t TPriceView::ShortestTimeGap(int first, int last) const {
  first = std::max(first, 1);
  last = std::min(last, static_cast<int>(std::min<std::size_t>(timeGaps_.Count(), INT_MAX)) - 1);
  if (first > last) return 0;
  const auto gap = [&](std::size_t i) {
    const std::int64_t d = bars_.time[i] - bars_.time[i - 1];
    return d > 0 && d < (std::int64_t{1} << 53) ? static_cast<double>(d) : HUGE_VAL;
  };
  double lo = 0, hi = 0;
  timeGaps_.Read(static_cast<std::size_t>(first), static_cast<std::size_t>(last), gap, gap, lo, hi);
  return lo == HUGE_VAL ? 0 : static_cast<std::int64_t>(lo);
}

void TPriceView::KeepRightFree(double pixels, const Rect& plot) {
  const double width = plot.Width();
  if (count_ == 0 || !(pixels > 0) || width <= 0 || LastVisibleBar() != count_ - 1) return;
  pixels = std::min(pixels, width / 3);
  const double lastEdge = count_ - 0.5;
  if (BarToX(lastEdge, plot) <= plot.right - pixels) return;
  // lastEdge at right - pixels: (lastEdge - min) / (max - min) = (width - pixels) / width.
  timeMax_ = timeMin_ + (lastEdge - timeMin_) * width / (width - pixels);
  ClampTime();
}

void TPriceView::FitPriceToVisible() {
  double lo = 0, hi = 0;
  if (dataKnown_ && FirstVisibleBar() == 0 && LastVisibleBar() == count_ - 1) {
    lo = dataLow_;  // all bars in view: their extent is known
    hi = dataHigh_;
  } else if (!Extent(FirstVisibleBar(), LastVisibleBar(), lo, hi) && !Extent(0, count_ - 1, lo, hi)) {
    return;
  }
  const double span = hi - lo;
  double pad = span * kFitPriceMargin;
  if (!(pad > 0)) pad = scale_ == TPriceScale::Log ? 0.01 : (hi != 0 ? std::fabs(hi) * 0.01 : 1.0);
  unitsMin_ = lo - pad;
  unitsMax_ = hi + pad;
  ClampPrice();
}

void TPriceView::ZoomTime(double factor, double anchorX, const Rect& plot) {
  if (!(factor > 0) || !Finite(factor) || plot.Width() <= 0 || !Finite(anchorX)) return;
  const double span = timeMax_ - timeMin_;
  const double anchor = XToBar(anchorX, plot);
  const double wanted = std::clamp(span / factor, kMinTimeSpan, MaxTimeSpan());
  timeMin_ = anchor - (anchor - timeMin_) * (wanted / span);
  timeMax_ = timeMin_ + wanted;
  Clamp();
}

void TPriceView::ZoomPrice(double factor, double anchorY, const Rect& plot) {
  if (!(factor > 0) || !Finite(factor) || plot.Height() <= 0 || !Finite(anchorY)) return;
  const double span = unitsMax_ - unitsMin_;
  const double anchor = unitsMax_ - (anchorY - plot.top) * span / plot.Height();
  const double wanted = std::clamp(span / factor, MinPriceSpan(), MaxPriceSpan());
  unitsMin_ = anchor - (anchor - unitsMin_) * (wanted / span);
  unitsMax_ = unitsMin_ + wanted;
  ClampPrice();
}

double TPriceView::WheelFactor(int wheelDelta) { return std::pow(kWheelZoomPerNotch, wheelDelta / 120.0); }

void TPriceView::Pan(double dx, double dy, const Rect& plot) {
  // Farther than any screen, and far enough to reach every bar.
  constexpr double kLongestMove = 1e9;
  dx = std::clamp(dx, -kLongestMove, kLongestMove);
  dy = std::clamp(dy, -kLongestMove, kLongestMove);
  if (Finite(dx) && plot.Width() > 0) {
    const double span = timeMax_ - timeMin_;
    timeMin_ -= dx / PixelsPerBar(plot);
    timeMax_ = timeMin_ + span;
  }
  if (Finite(dy) && plot.Height() > 0) {
    const double span = unitsMax_ - unitsMin_;
    unitsMin_ += dy * span / plot.Height();
    unitsMax_ = unitsMin_ + span;
  }
  Clamp();
}

int TPriceView::FirstVisibleBar() const {
  // Bar i fills i - 1/2 to i + 1/2: it is in view when i > TimeMin - 1/2.
  const double first = std::floor(timeMin_ - 0.5) + 1;
  return first <= 0 ? 0 : static_cast<int>(std::min(first, static_cast<double>(count_)));
}

int TPriceView::LastVisibleBar() const {
  const double last = std::ceil(timeMax_ + 0.5) - 1;
  if (last < 0) return -1;
  return static_cast<int>(std::min(last, static_cast<double>(count_ - 1)));
}


double TPriceView::XToBar(double x, const Rect& plot) const {
  if (plot.Width() <= 0) return timeMin_;
  return timeMin_ + (x - plot.left) / PixelsPerBar(plot);
}


double TPriceView::YToPrice(double y, const Rect& plot) const {
  if (plot.Height() <= 0) return PriceMax();
  return FromUnits(unitsMax_ - (y - plot.top) * (unitsMax_ - unitsMin_) / plot.Height());
}

double TPriceView::MaxTimeSpan() const { return std::max(kMinTimeSpan, 2.0 * (count_ + 1)); }

double TPriceView::MinPriceSpan() const {
  if (scale_ == TPriceScale::Log) return 1e-9;
  const double size = std::max(std::fabs(dataLow_), std::fabs(dataHigh_));
  return size > 0 ? size * 1e-9 : 1e-9;
}

double TPriceView::MaxPriceSpan() const {
  const double span = dataHigh_ - dataLow_;
  const double flat = scale_ == TPriceScale::Log ? 1.0 : std::max(std::fabs(dataHigh_), 1.0);
  return 1000 * (span > 0 ? span : flat);
}

// The span first and the position after it, and the far end from the two,
// so a range moved from far away keeps its span exactly.
void TPriceView::ClampTime() {
  const double wanted = timeMax_ - timeMin_;
  const double span = std::clamp(wanted, kMinTimeSpan, MaxTimeSpan());  // NaN: not reached
  // A range within the limits stays exactly as it is (re-centring it would
  // move its ends by a rounding and show a sliver of a neighbouring bar).
  double first = span == wanted ? timeMin_ : (timeMin_ + timeMax_) / 2 - span / 2;
  if (!Finite(first)) first = -0.5;
  if (count_ > 0) first = std::clamp(first, -span, count_ - 1.0);
  if (first == timeMin_ && span == wanted) return;
  timeMin_ = first;
  timeMax_ = first + span;
}

void TPriceView::ClampPrice() {
  const double span = std::clamp(unitsMax_ - unitsMin_, MinPriceSpan(), MaxPriceSpan());
  double low = (unitsMin_ + unitsMax_) / 2 - span / 2;
  if (!Finite(low)) low = dataLow_;
  unitsMin_ = low;
  unitsMax_ = low + span;
  if (count_ == 0) return;
  // The bars whose centres are in view; ClampTime keeps at least one.
  const int first = BarWithin(std::ceil(timeMin_), count_);
  const int last = BarWithin(std::floor(timeMax_), count_);
  bool below = false, above = false;
  double highestBelow = 0, lowestAbove = 0;
  for (int i = first; i <= last; ++i) {
    double lo, hi;
    if (!BarUnits(i, lo, hi)) continue;
    if (hi < unitsMin_) {
      if (!below || hi > highestBelow) highestBelow = hi;
      below = true;
    } else if (lo > unitsMax_) {
      if (!above || lo < lowestAbove) lowestAbove = lo;
      above = true;
    } else {
      return;  // this bar is seen
    }
  }
  if (!below && !above) return;  // no bar in view has usable prices
  // The nearer of the bars below and above, brought inside.
  const double inset = kClampInset * span;
  const double down = highestBelow - inset;
  const double up = lowestAbove + inset - span;
  low = !above || (below && low - down <= up - low) ? down : up;
  unitsMin_ = low;
  unitsMax_ = low + span;
}

}  // namespace tavimo::chart
