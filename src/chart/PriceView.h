#pragma once
// What a price chart shows of its bars: a time range in bar indexes (real
// numbers, so the view pans and zooms smoothly; bar i stands at i and fills
// i - 1/2 to i + 1/2) and a price range on a linear or logarithmic scale;
// the operations of the mouse and keys on them, and the mapping of bars and
// prices to the pixels of a plot rectangle.
//
// Every operation ends in the same rule: the view never hides every bar. The
// time range keeps at least one bar's centre inside it, and the price range
// overlaps the low-to-high of at least one bar whose centre is in view.

#include <cmath>

#include "chart/Geometry.h"
#include "chart/PriceColumns.h"
#include "chart/RangeExtremes.h"

namespace tavimo::chart {

enum class TPriceScale { Linear, Log };

class TPriceView {
 public:
  // Fit: this share of the bars' span beside them on each side (at least
  // half a bar), and this share of the price span above and below.
  static constexpr double kFitTimeMargin = 0.02;
  static constexpr double kFitPriceMargin = 0.05;
  // A wheel notch (120 units) zooms by this factor.
  static constexpr double kWheelZoomPerNotch = 1.25;
  // The time range spans at least this many bars, so a bar's centre is always inside it.
  static constexpr double kMinTimeSpan = 2;

  // The bars are read, not copied; the range is kept and clamped to them.
  // Log scale falls back to linear when a bar has a price not above 0.
  void SetBars(const TPriceColumns& bars);
  const TPriceColumns& Bars() const { return bars_; }
  int BarCount() const { return count_; }

  TPriceScale Scale() const { return scale_; }
  // Log needs every price above 0: false, and the scale unchanged, when one
  // is not. A change of scale fits the prices to the bars in view.
  bool SetScale(TPriceScale scale);
  bool LogScalePossible() const { return allPositive_; }

  double TimeMin() const { return timeMin_; }
  double TimeMax() const { return timeMax_; }
  double PriceMin() const;
  double PriceMax() const;
  // Both clamped by the rule above; ends in either order; a range that is
  // not finite (or, on a log scale, not above 0) is ignored.
  void SetTimeRange(double first, double last);
  void SetPriceRange(double low, double high);

  // All bars, with the margins, and the prices of all of them.
  void FitAll();
  // Bars first..last (clamped to the bars) and their prices, with the
  // margins where they are the first or the last bar.
  void FitBars(int first, int last);
  // When the last bar is in view and ends less than `pixels` left of the
  // plot's right edge, widens the time range to the right so it ends that
  // far left (at most a third of the plot): room for the level labels
  // beside the latest bars rather than over them.
  void KeepRightFree(double pixels, const Rect& plot);
  // The price range to the lows and highs of the bars in view, with the margin.
  void FitPriceToVisible();
  // factor > 1 zooms in, < 1 out, around the bar at x (or the price at y),
  // which stays where it is unless a limit is reached.
  void ZoomTime(double factor, double anchorX, const Rect& plot);
  void ZoomPrice(double factor, double anchorY, const Rect& plot);
  // The zoom factor of a wheel turn (120 units a notch; positive zooms in).
  static double WheelFactor(int wheelDelta);
  // Moves the content with the pointer: dx to the right shows earlier bars,
  // dy downward shows higher prices.
  void Pan(double dx, double dy, const Rect& plot);

  // The lowest and highest of each bar's four prices, and of the closes,
  // over ranges of bars; none when a price is not finite (the series then
  // walks the bars, leaving such a bar out).
  // The shortest rise of time into each of bars first..last from the bar before it;
  // 0 when none rises or the times are not summarised.
  std::int64_t ShortestTimeGap(int first, int last) const;
  // Whether the bars' times never fall from one bar to the next.
  bool TimesAscending() const { return timesAscending_; }
  const TRangeExtremes* BarExtremes() const { return summarised_ ? &barExtremes_ : nullptr; }
  const TRangeExtremes* CloseExtremes() const { return summarised_ ? &closeExtremes_ : nullptr; }

  // The bars at least partly inside the time range; last < first when none.
  int FirstVisibleBar() const;
  int LastVisibleBar() const;

  // The plot's left edge is TimeMin, its right edge TimeMax; its top edge
  // PriceMax, its bottom edge PriceMin. A price not above 0 on a log scale
  // maps below the plot.
  // (Inline: a paint maps every bar in view.)
  double PixelsPerBar(const Rect& plot) const { return plot.Width() / (timeMax_ - timeMin_); }
  double BarToX(double bar, const Rect& plot) const { return plot.left + (bar - timeMin_) * PixelsPerBar(plot); }
  double XToBar(double x, const Rect& plot) const;
  double PriceToY(double price, const Rect& plot) const {
    if (scale_ == TPriceScale::Log && !(price > 0)) return plot.bottom + plot.Height();
    return plot.top + (unitsMax_ - ToUnits(price)) * plot.Height() / (unitsMax_ - unitsMin_);
  }
  double YToPrice(double y, const Rect& plot) const;

 private:
  // Prices in the units the scale is linear in (the price, or its logarithm).
  double ToUnits(double price) const { return scale_ == TPriceScale::Log ? std::log(price) : price; }
  double FromUnits(double units) const;
  // The lowest low and highest high, in units, of bars first..last; false when none is usable.
  bool Extent(int first, int last, double& low, double& high) const;
  bool Usable(double price) const;
  // Bar i's low and high in units, in order; false when one is not usable.
  bool BarUnits(int bar, double& low, double& high) const;
  void ClampTime();
  void ClampPrice();
  void Clamp() {
    ClampTime();
    ClampPrice();
  }
  double MaxTimeSpan() const;
  double MinPriceSpan() const;
  double MaxPriceSpan() const;

  TPriceColumns bars_;
  int count_ = 0;
  bool summarised_ = false;
  bool timesAscending_ = true;
  TRangeExtremes barExtremes_, closeExtremes_;
  TRangeExtremes timeGaps_;  // gap i: bar i's time less bar i-1's, the rises only
  bool allPositive_ = true;
  TPriceScale scale_ = TPriceScale::Linear;
  double timeMin_ = -0.5;
  double timeMax_ = 1.5;
  double unitsMin_ = 0;  // the price range in units
  double unitsMax_ = 1;
  double dataLow_ = 0;   // the extent of all bars, in units
  double dataHigh_ = 1;
  bool dataKnown_ = false;  // a bar has a usable low and high
};

}  // namespace tavimo::chart
