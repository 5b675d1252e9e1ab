#include "chart/Axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/Chart.h"
#include "chart/ChartExceptions.h"
#include "chart/TextLines.h"
#include "runtime/FloatFaults.h"
#include "runtime/Messages.h"
#include "runtime/NumberFormat.h"

namespace tavimo::chart {

namespace {

constexpr double kMinimumStep = 1e-12;
constexpr double kMinimumRange = 1e-10;
// A double at or beyond this magnitude is not rounded to an integer: the
// rounding would overflow an int (a pixel offset, a count of label steps).
constexpr double kRoundableLimit = 2147483647.0;

bool SidewaysAngle(int angle) { return angle == 90 || angle == 270; }
bool LevelAngle(int angle) { return angle == 0 || angle == 180; }

// 1, 2, 5, 10, 20, 50, ...: the candidate after s. Anything that is not a
// positive finite step gives infinity, which ends every search for a step.
double NextNiceStep(double s) {
  if (!(s > 0) || !std::isfinite(s)) return std::numeric_limits<double>::infinity();
  if (s >= 10) return 10 * NextNiceStep(s * 0.1);
  if (s < 1) return 0.1 * NextNiceStep(s * 10);
  if (s < 2) return 2;
  if (s < 5) return 5;
  return 10;
}

// Rounded pixels are clamped to +-kPixelClampLimit, the one pixel clamp of
// the engine: an axis end plus a rounded offset can leave the int range, and
// the bar and mark arithmetic that adds to a pixel (a bar's thickness, a
// mark's arrow and box) must not overflow. Pixels this far off the image look
// the same wherever they lie; a difference of two of them (an arrow's length)
// is taken in 64 bits.
constexpr long long kPixelClampLimit = 1LL << 30;

int ClampPixel(long long p) {
  if (p > kPixelClampLimit) return static_cast<int>(kPixelClampLimit);
  if (p < -kPixelClampLimit) return static_cast<int>(-kPixelClampLimit);
  return static_cast<int>(p);
}

}  // namespace

TChartAxis::TChartAxis(TChart& chart, TAxisKind kind) : chart_(chart), kind_(kind) {
  if (kind == TAxisKind::akLeft) title_.Angle = 90;
  if (kind == TAxisKind::akRight) title_.Angle = 270;
  tickList_.reserve(kMaxAxisTicks);
}

void TChartAxis::Changed() { chart_.Invalidate(); }
bool TChartAxis::Loading() const { return chart_.Loading(); }

void TChartAxis::SetAutomatic(bool v) {
  const bool changed = v != automatic_ || (!Loading() && (v != automaticMinimum_ || v != automaticMaximum_));
  automatic_ = v;
  if (!Loading()) automaticMinimum_ = automaticMaximum_ = v;
  if (changed) Changed();
}

void TChartAxis::SetAutomaticMinimum(bool v) {
  if (!AssignIfChanged(automaticMinimum_, v)) return;
  if (!v || automaticMaximum_) automatic_ = v;
  Changed();
}

void TChartAxis::SetAutomaticMaximum(bool v) {
  if (!AssignIfChanged(automaticMaximum_, v)) return;
  if (!v || automaticMinimum_) automatic_ = v;
  Changed();
}

void TChartAxis::SetMinimum(double v) {
  if (!Loading() && v > maximum_) throw AxisException(std::string(messages::kAxisMinimum));
  if (AssignIfChanged(minimum_, v)) Changed();
}

void TChartAxis::SetMaximum(double v) {
  if (!Loading() && v < minimum_) throw AxisException(std::string(messages::kAxisMaximum));
  if (AssignIfChanged(maximum_, v)) Changed();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  if (minimum > maximum) std::swap(minimum, maximum);
  if (maximum - minimum < kMinimumRange) maximum = minimum + kMinimumRange;
  minimum_ = minimum;
  maximum_ = maximum;
  Changed();
}

void TChartAxis::SetIncrement(double v) {
  if (v < 0) throw AxisException(std::string(messages::kAxisIncrement));
  if (AssignIfChanged(increment_, v)) Changed();
}

void TChartAxis::SetLabelsAngle(int angle) {
  if (angle < 0 || angle > 360)
    throw ChartException(tavimo::messages::FormatMessage(messages::kAngle, messages::kAxisLabelsAngleName));
  if (AssignIfChanged(labelsAngle_, angle)) Changed();
}

void TChartAxis::SetLabelsSeparation(int percent) {
  if (percent < 0) throw AxisException(std::string(messages::kLabelsSeparation));
  if (AssignIfChanged(labelsSeparation_, percent)) Changed();
}

// ---- range --------------------------------------------------------------------------

void TChartAxis::AutomaticExtremes(double& lo, double& hi) const {
  lo = hi = 0.0;
  if (IsDepthAxis()) return;
  bool anyActive = false;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (s.Active() && s.UsesAxis(*this)) anyActive = true;
  }
  bool first = true;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (s.PointCount() == 0 || !s.UsesAxis(*this) || (anyActive && !s.Active())) continue;
    const double low = Horizontal() ? s.LowestX() : s.LowestY();
    const double high = Horizontal() ? s.HighestX() : s.HighestY();
    if (first || low < lo) lo = low;
    if (first || high > hi) hi = high;
    first = false;
  }
}

void TChartAxis::AdjustRange() {
  if (automatic_ || automaticMinimum_ || automaticMaximum_) {
    double lo, hi;
    AutomaticExtremes(lo, hi);
    if (automatic_ || automaticMaximum_) maximum_ = hi;
    if (automatic_ || automaticMinimum_) minimum_ = lo;
  }
  layout_.workMinimum = minimum_;
  layout_.workMaximum = maximum_;
  // Levels at both ends of the double range span more than a double holds.
  layout_.workRange = StoreAsDouble(static_cast<long double>(layout_.workMaximum) - layout_.workMinimum);
}

// ---- space and pixel span ---------------------------------------------------------

int TChartAxis::TickSize() const {
  int size = (axisPen_.visible ? axisPen_.width : 0) + (ticks_.visible ? tickLength_ : 0);
  if (minorTicks_.visible && minorTickLength_ > size) size = minorTickLength_;
  return size;
}

int TChartAxis::TitleSpace() {
  if (titleSize_ != 0) return titleSize_;
  TCanvas& canvas = chart_.Canvas();
  canvas.SetFont(title_.Font);
  if ((!Horizontal() && SidewaysAngle(title_.Angle)) || (Horizontal() && LevelAngle(title_.Angle)))
    return canvas.TextLineHeight();
  return canvas.MeasureWidth(title_.Caption);
}

int TChartAxis::WidestLabelText(bool markCaptions) {
  TCanvas& canvas = chart_.Canvas();
  int widest = 0;
  for (int k = 0; k < chart_.SeriesCount(); ++k) {
    TChartSeries& s = chart_.Series(k);
    if (s.LabelCount() == 0) continue;
    for (int i = 0; i < s.PointCount(); ++i) {
      const std::string& text = markCaptions ? s.Marks().MarkCaption(i) : s.PointLabel(i);
      widest = std::max(widest, MultiLineWidth(canvas, text));
    }
  }
  return widest;
}

int TChartAxis::ValueLabelWidth() {
  double lo = layout_.workMinimum, hi = layout_.workMaximum;
  if (roundFirstLabel_) {
    const double step = LabelStep();
    lo = std::trunc(layout_.workMinimum / step) * step;
    hi = std::trunc(layout_.workMaximum / step) * step;
  }
  TCanvas& canvas = chart_.Canvas();
  const int wide = std::max(MultiLineWidth(canvas, LabelValueText(hi)), MultiLineWidth(canvas, LabelValueText(lo)));
  return wide + canvas.MeasureWidth(" ");
}

int TChartAxis::LabelsSpace() {
  if (labelsSize_ != 0) return labelsSize_;
  TCanvas& canvas = chart_.Canvas();
  canvas.SetFont(labelsFont_);
  if ((!Horizontal() && SidewaysAngle(labelsAngle_)) || (Horizontal() && LevelAngle(labelsAngle_)))
    return canvas.TextLineHeight();
  switch (ResolvedLabelStyle()) {
    case TAxisLabelStyle::talText: return WidestLabelText(false);
    case TAxisLabelStyle::talMark: return WidestLabelText(true);
    case TAxisLabelStyle::talValue: return ValueLabelWidth();
    default: return 0;
  }
}

void TChartAxis::ReserveAxisSpace(Rect& r) {
  // Cuts a strip off this axis' side of r and returns r's new edge there.
  const auto take = [&](int size) {
    switch (kind_) {
      case TAxisKind::akLeft: return r.TakeFromLeft(size).right;
      case TAxisKind::akRight: return r.TakeFromRight(size).left;
      case TAxisKind::akBottom: return r.TakeFromBottom(size).top;
      case TAxisKind::akTop: return r.TakeFromTop(size).bottom;
      default: return 0;
    }
  };
  if (IsDepthAxis()) return;
  if (!title_.Caption.empty()) layout_.titlePos = take(TitleSpace());
  if (labels_) layout_.labelsPos = take(LabelsSpace());
  const int ticks = TickSize();  // plus the wall size, none in two dimensions
  if (ticks > 0) take(ticks);
}

void TChartAxis::SetPixelSpan() {
  const Rect plot = chart_.PlotRect();
  if (Horizontal()) {
    layout_.startPixel = plot.left + RoundHalfEven(chart_.PlotWidth() * 0.01 * startPosition_);
    layout_.endPixel = plot.left + RoundHalfEven(chart_.PlotWidth() * 0.01 * endPosition_);
  } else {
    layout_.startPixel = plot.top + RoundHalfEven(chart_.PlotHeight() * 0.01 * startPosition_);
    layout_.endPixel = plot.top + RoundHalfEven(chart_.PlotHeight() * 0.01 * endPosition_);
  }
  layout_.pixelSpan = layout_.endPixel - layout_.startPixel;
  layout_.centerPixel = (layout_.startPixel + layout_.endPixel) / 2;
}

void TChartAxis::WidenRange(int marginStart, int marginEnd) {
  const int s0 = layout_.startPixel;
  const int e0 = layout_.endPixel;
  // The current range is mapped onto the span less the margins; the values at
  // the full span's ends become the new range.
  layout_.startPixel = s0 + marginStart;
  layout_.endPixel = e0 - marginEnd;
  layout_.pixelSpan = layout_.endPixel - layout_.startPixel;
  // A range near the double range's end can widen beyond it: EOverflow.
  double a = PixelToValue(s0);
  double b = PixelToValue(e0);
  SetPixelSpan();
  if (a > b) std::swap(a, b);
  layout_.workMinimum = a;
  layout_.workMaximum = b;
  layout_.workRange = StoreAsDouble(static_cast<long double>(layout_.workMaximum) - layout_.workMinimum);
}

// ---- mapping ------------------------------------------------------------------------

int TChartAxis::ValueToPixel(double value) const {
  const TAxisLayoutRecord& l = layout_;
  if (l.workRange == 0) return l.centerPixel;
  // Held as a double, as the mapping defines it: beyond its range, EOverflow.
  const double d = StoreAsDouble((static_cast<long double>(value) - l.workMinimum) * l.pixelSpan / l.workRange);
  if (!(std::fabs(d) < kRoundableLimit)) return l.centerPixel;
  const long long r = RoundHalfEven(d);
  if (Horizontal()) return ClampPixel(inverted_ ? l.endPixel - r : l.startPixel + r);
  return ClampPixel(inverted_ ? l.startPixel + r : l.endPixel - r);
}

double TChartAxis::PixelToValue(int pixel) const {
  const TAxisLayoutRecord& l = layout_;
  if (l.pixelSpan <= 0) return 0.0;
  const long double a = inverted_ ? static_cast<long double>(l.endPixel - pixel) * l.workRange / l.pixelSpan
                                  : static_cast<long double>(pixel - l.startPixel) * l.workRange / l.pixelSpan;
  return StoreAsDouble(Horizontal() ? l.workMinimum + a : l.workMaximum - a);
}

// ---- labels -------------------------------------------------------------------------

TAxisLabelStyle TChartAxis::ResolvedLabelStyle() const {
  if (labelStyle_ != TAxisLabelStyle::talAuto) return labelStyle_;
  TAxisLabelStyle style = TAxisLabelStyle::talNone;
  if (IsDepthAxis()) return style;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (!s.Active() || !s.UsesAxis(*this)) continue;
    if (s.IsPositionAxis(*this) && s.LabelCount() > 0 && !s.PointLabel(0).empty()) return TAxisLabelStyle::talText;
    style = TAxisLabelStyle::talValue;
  }
  return style;
}

std::string TChartAxis::LabelValueText(double value) const {
  std::string text = FormatFloatPattern(axisValuesFormat_, value);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kMarkLineBreak);
  return text;
}

double TChartAxis::LabelStep() {
  TCanvas& canvas = chart_.Canvas();
  const auto labelSize = [&](double v) {
    const std::string text = LabelValueText(v);
    const bool byLines = Horizontal() ? SidewaysAngle(labelsAngle_) : LevelAngle(labelsAngle_);
    return byLines ? canvas.TextLineHeight() * CountTextLines(text) : MultiLineWidth(canvas, text);
  };
  const int s = std::max(labelSize(layout_.workMinimum), labelSize(layout_.workMaximum));
  long long n = 1;
  if (s > 0) {
    const int room = labelsSeparation_ > 0 ? s + RoundHalfEven(labelsSeparation_ * 0.01 * s) : s;
    n = std::llround(std::nearbyint(static_cast<double>(layout_.pixelSpan) / room));
  }
  if (n < 1) return kMinimumStep;
  double w = increment_ > 0 ? increment_ : (std::fabs(layout_.workRange) >= 1 ? 1.0 : kMinimumStep);
  if (labelsSeparation_ > 0) {
    long long k = n + 1;
    do {
      const double q = layout_.workRange / w;
      if (std::fabs(q) < kRoundableLimit) {
        k = std::llround(std::nearbyint(q));
        if (k > n) w = NextNiceStep(w);
      } else {
        w = NextNiceStep(w);
      }
    } while (k > n && std::isfinite(w));
  }
  return std::max(w, kMinimumStep);
}

bool TChartAxis::IsShown() const {
  if (!chart_.AxisVisible() || !visible_) return false;
  if (IsDepthAxis()) return false;  // only in three dimensions
  if (chart_.ActiveSeriesCount() == 0) return true;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (s.Active() && s.UsesAxis(*this)) return true;
  }
  return false;
}

}  // namespace tavimo::chart
