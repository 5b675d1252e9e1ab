// TChart's mouse handling: the press hit test, right-button panning of the
// axis ranges and wheel scrolling of the vertical axes.

#include <cstdlib>

#include "chart/Chart.h"
#include "runtime/FloatFaults.h"

namespace tavimo::chart {

namespace {

bool Held(TShiftState shift, TShiftState required) { return (shift & required) == required; }

}  // namespace

bool TChart::AxisHit(TChartAxis& axis, int x, int y) const {
  // An axis that took no part in the last layout has no place on the screen.
  if (!axis.Visible() || !axis.ShownInLastLayout()) return false;
  const int alongLo = std::min(axis.StartPixel(), axis.EndPixel());
  const int alongHi = std::max(axis.StartPixel(), axis.EndPixel());
  // Across: from the labels to the axis line, widened on the side away from the labels.
  const int line = axis.AxisLinePos();
  const int labels = axis.LabelsPos();
  int acrossLo, acrossHi;
  if (labels <= line) {
    acrossLo = labels;
    acrossHi = line + kAxisHitTolerance;
  } else {
    acrossLo = line - kAxisHitTolerance;
    acrossHi = labels;
  }
  const Rect area = axis.Horizontal() ? Rect{alongLo, acrossLo, alongHi, acrossHi}
                                      : Rect{acrossLo, alongLo, acrossHi, alongHi};
  return area.Contains(Point{x, y});
}

TChartClickedPart TChart::ClickedPart(int x, int y) const {
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    const TChartSeries& s = Series(i);
    if (s.Active() && s.HitTest(x, y) != -1) return TChartClickedPart::cpSeries;
  }
  for (const auto& axis : axes_)
    if (AxisHit(*axis, x, y)) return TChartClickedPart::cpAxis;
  if (title_.Visible && titleRect_.Contains(Point{x, y})) return TChartClickedPart::cpTitle;
  if (foot_.Visible && footRect_.Contains(Point{x, y})) return TChartClickedPart::cpFoot;
  if (plotRect_.Contains(Point{x, y}) && ActiveSeriesCount() > 0) return TChartClickedPart::cpChartRect;
  return TChartClickedPart::cpNone;
}

void TChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (zoom_.active || panning_.active) return;
  const TChartClickedPart part = ClickedPart(x, y);
  if (part != TChartClickedPart::cpSeries && part != TChartClickedPart::cpAxis &&
      part != TChartClickedPart::cpChartRect)
    return;
  // Zooming is not offered by this chart, so a zoom press starts nothing.
  if (allowPanning_ != TPanningMode::pmNone && button == kPanningButton && Held(shift, kPanningModifiers))
    panning_ = TZoomPanning{true, x, y, x, y};
}

void TChart::MouseMove(TShiftState /*shift*/, int x, int y) {
  if (!panning_.active) return;
  if (!plotRect_.Contains(Point{x, y})) {
    panning_.active = false;
    return;
  }
  if (x == panning_.lastX && y == panning_.lastY) return;
  // Ordered like a zoom rectangle; while the pointer travels left or up this
  // makes each step measure from the point two moves back.
  if (panning_.lastX < panning_.pressX) std::swap(panning_.lastX, panning_.pressX);
  if (panning_.lastY < panning_.pressY) std::swap(panning_.lastY, panning_.pressY);

  bool moved = false;
  const auto shift = [&](TChartAxis& axis, int from, int to) {
    // A zero range (every level 0 at start-up, a single ratio) maps every
    // pixel to one value, so there is nothing to move; fixing it as a manual
    // range would squeeze every later chart into one column. It stays automatic.
    if (axis.WorkRange() == 0) return;
    const double a = axis.PixelToValue(from);
    const double b = axis.PixelToValue(to);
    const long double delta = static_cast<long double>(a) - b;
    axis.SetMinMax(StoreAsDouble(axis.Minimum() + delta), StoreAsDouble(axis.Maximum() + delta));
    moved = true;
  };
  const bool horizontal = allowPanning_ == TPanningMode::pmHorizontal || allowPanning_ == TPanningMode::pmBoth;
  const bool vertical = allowPanning_ == TPanningMode::pmVertical || allowPanning_ == TPanningMode::pmBoth;
  if (x != panning_.lastX && horizontal) {
    for (auto& axis : axes_)
      if (axis->Horizontal() && !axis->IsDepthAxis()) shift(*axis, panning_.lastX, x);
  }
  if (y != panning_.lastY && vertical) {
    for (auto& axis : axes_)
      if (!axis->Horizontal() && !axis->IsDepthAxis()) shift(*axis, panning_.lastY, y);
  }
  panning_.lastX = x;
  panning_.lastY = y;
  if (moved) Invalidate();
}

void TChart::MouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {
  zoom_.active = false;
  panning_.active = false;
}

void TChart::MouseWheel(int delta, TShiftState /*shift*/) {
  long long accumulator = static_cast<long long>(wheelAccumulator_) + delta;
  while (std::llabs(accumulator) >= kWheelNotch) {
    const bool down = accumulator < 0;
    accumulator += down ? kWheelNotch : -kWheelNotch;
    ScrollVerticalAxes(down);
  }
  wheelAccumulator_ = static_cast<int>(accumulator);
}

void TChart::ScrollVerticalAxes(bool down) {
  for (auto& axis : axes_) {
    if (axis->Horizontal() || axis->IsDepthAxis()) continue;
    // A zero range does not move and stays automatic, as with panning.
    if (axis->Maximum() == axis->Minimum()) continue;
    long double offset = (static_cast<long double>(axis->Maximum()) - axis->Minimum()) * kWheelStepPercent * 0.01L;
    if (!down) offset = -offset;
    const double minimum = StoreAsDouble(axis->Minimum() + offset);
    const double maximum = StoreAsDouble(axis->Maximum() + offset);
    // Both ends move together and the range goes manual; no limit applies.
    axis->SetAutomatic(false);
    axis->SetAutomaticMinimum(false);
    axis->SetAutomaticMaximum(false);
    if (minimum > axis->Maximum()) {
      axis->SetMaximum(maximum);
      axis->SetMinimum(minimum);
    } else {
      axis->SetMinimum(minimum);
      axis->SetMaximum(maximum);
    }
  }
  Invalidate();
}

}  // namespace tavimo::chart
