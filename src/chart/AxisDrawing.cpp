#include "chart/AxisDrawing.h"

#include <algorithm>
#include <cmath>

#include "chart/Chart.h"
#include "chart/TextLines.h"

namespace tavimo::chart {

namespace {

// A drawing of value labels never walks further than this many steps; the
// range check keeps it below 10000, this stops a step lost in rounding.
constexpr int kMaxValueLabelSteps = 20000;

class AxisPainter {
 public:
  AxisPainter(TChartAxis& axis, TCanvas& canvas)
      : axis_(axis), canvas_(canvas), chart_(axis.ParentChart()), ticks_(axis.TickList()) {}

  void Draw() {
    canvas_.SetFont(axis_.LabelsFont());
    const double step = axis_.LabelStep();
    const Rect plot = chart_.PlotRect();
    switch (axis_.Kind()) {
      case TAxisKind::akLeft: axis_.SetAxisLinePos(plot.left); break;
      case TAxisKind::akRight: axis_.SetAxisLinePos(plot.right); break;
      case TAxisKind::akBottom: axis_.SetAxisLinePos(plot.bottom); break;
      default: axis_.SetAxisLinePos(plot.top); break;
    }
    // A titled axis is not offered by this chart: the caption takes its space but is not drawn.
    ticks_.clear();
    axis_.LabelRecords().clear();
    if (step > 0 && axis_.WorkMaximum() >= axis_.WorkMinimum()) {
      switch (axis_.ResolvedLabelStyle()) {
        case TAxisLabelStyle::talValue: DrawValueLabels(step); break;
        case TAxisLabelStyle::talText: DrawPointLabels(false); break;
        case TAxisLabelStyle::talMark: DrawPointLabels(true); break;
        default: break;
      }
    }
    DrawLineTicksAndGrid();
  }

 private:
  void AddTick(int p) {
    if (static_cast<int>(ticks_.size()) < kMaxAxisTicks) ticks_.push_back(p);
  }

  bool Eligible(const TChartSeries& s) const { return s.Active() && s.UsesAxis(axis_) && s.LabelCount() > 0; }

  void DrawPointLabels(bool markCaptions) {
    int first = -1, last = -1;
    for (int k = 0; k < chart_.SeriesCount(); ++k) {
      TChartSeries& s = chart_.Series(k);
      if (!Eligible(s)) continue;
      s.ComputeVisibleRange();
      if (s.FirstVisible() != -1 && (first == -1 || s.FirstVisible() < first)) first = s.FirstVisible();
      if (s.LastVisible() > last) last = s.LastVisible();
    }
    if (first == -1) return;

    const bool byHeight = axis_.Horizontal() == (axis_.LabelsAngle() == 90 || axis_.LabelsAngle() == 270);
    int lastPos = -1;
    int lastHalf = 0;
    for (int i = first; i <= last; ++i) {
      TChartSeries* owner = nullptr;
      for (int k = 0; k < chart_.SeriesCount() && owner == nullptr; ++k) {
        TChartSeries& s = chart_.Series(k);
        if (Eligible(s) && i < s.LabelCount() && i < s.PointCount()) owner = &s;
      }
      if (owner == nullptr) continue;
      const std::string& text = markCaptions ? owner->Marks().MarkCaption(i) : owner->PointLabel(i);
      const double value = axis_.Horizontal() ? owner->PointX(i) : owner->PointY(i);
      if (!(axis_.WorkMinimum() <= value && value <= axis_.WorkMaximum())) continue;
      const int p = axis_.ValueToPixel(value);
      if (!axis_.TickOnLabelsOnly()) AddTick(p);
      if (!axis_.Labels()) continue;

      canvas_.SetFont(axis_.LabelsFont());
      const int width = MultiLineWidth(canvas_, text);
      const int height = canvas_.TextLineHeight() * CountTextLines(text);
      int size = byHeight ? height : width;
      bool drawn = false;
      if (axis_.LabelsSeparation() != 0 && lastPos != -1) {
        size += static_cast<int>(std::trunc(size * 0.02 * axis_.LabelsSeparation()));
        const int half = size / 2;
        if ((p >= lastPos && p - half >= lastPos + lastHalf) || (p < lastPos && p + half <= lastPos - lastHalf)) {
          drawn = true;
          lastPos = p;
          lastHalf = half;
        }
      } else {
        drawn = true;
        lastPos = p;
        lastHalf = size / 2;
      }
      axis_.LabelRecords().push_back(TAxisLabelRecord{text, p, width, height, drawn});
      if (drawn) DrawLabel(p, text);
    }
  }

  void DrawValueLabels(double step) {
    const double lo = axis_.WorkMinimum();
    const double hi = axis_.WorkMaximum();
    if (!(std::fabs(axis_.WorkRange() / step) < 10000)) return;
    double v = hi;
    if (lo != hi && axis_.RoundFirstLabel()) v = std::trunc(hi / step) * step;
    while (v > hi) v -= step;
    const double bottom = (lo - 1e-12) / 1.000000000001;
    for (int n = 0; v >= bottom && n < kMaxValueLabelSteps; ++n) {
      const int p = axis_.ValueToPixel(v);
      if (axis_.LabelsOnAxis() || (axis_.StartPixel() < p && p < axis_.EndPixel())) {
        if (!axis_.TickOnLabelsOnly()) AddTick(p);
        if (axis_.Labels()) {
          const std::string text = axis_.LabelValueText(v);
          canvas_.SetFont(axis_.LabelsFont());
          axis_.LabelRecords().push_back(TAxisLabelRecord{
              text, p, MultiLineWidth(canvas_, text), canvas_.TextLineHeight() * CountTextLines(text), true});
          DrawLabel(p, text);
        }
      }
      v -= step;
    }
  }

  void DrawLabel(int p, std::string_view text) {
    if (axis_.TickOnLabelsOnly()) AddTick(p);
    canvas_.SetFont(axis_.LabelsFont());
    canvas_.ClearBrush();
    canvas_.SetBackgroundMode(TBackgroundMode::bmTransparent);
    canvas_.SetTextAnchor(AxisLabelAlignment(axis_));
    const int h = canvas_.TextLineHeight();
    const int pos = axis_.LabelsPos();
    if (!axis_.Horizontal()) {
      const int lines = CountTextLines(text);
      const int y0 = p - h / 2 - RoundHalfEven(h * 0.5 * (lines + 1));
      int k = 1;
      ForEachTextLine(text, [&](std::string_view line) { canvas_.PutText(pos, y0 + k++ * h, line); });
    } else if (!axis_.OtherSide()) {
      int y = pos;
      ForEachTextLine(text, [&](std::string_view line) {
        canvas_.PutText(p, y, line);
        y += h;
      });
    } else {
      // Bottom-aligned at LabelsPos, the lines stacked upward.
      int y = pos - (CountTextLines(text) - 1) * h;
      ForEachTextLine(text, [&](std::string_view line) {
        canvas_.PutText(p, y, line);
        y += h;
      });
    }
    canvas_.SetTextAnchor(kTextAlignLeftTop);
  }

  // One tick-like stroke at position t, `length` pixels long, starting one
  // pixel off the axis line on the labels' side (outward) or the plot's side.
  void Stroke(int t, int length, bool outward) {
    const int line = axis_.AxisLinePos();
    // Outward is toward the labels: left for the left axis, down for the bottom axis.
    const bool towardLower = axis_.Horizontal() ? (axis_.OtherSide() == outward) : (axis_.OtherSide() != outward);
    const int from = towardLower ? line - 1 : line + 1;
    const int to = towardLower ? from - length : from + length;
    if (axis_.Horizontal()) canvas_.StrokeLine(t, from, t, to);
    else canvas_.StrokeLine(from, t, to, t);
  }

  void GridLine(int t) {
    const Rect plot = chart_.PlotRect();
    if (axis_.Horizontal()) canvas_.StrokeLine(t, plot.top, t, plot.bottom);
    else canvas_.StrokeLine(plot.left, t, plot.right, t);
  }

  void DrawLineTicksAndGrid() {
    const int line = axis_.AxisLinePos();
    if (axis_.AxisPen().visible) {
      canvas_.SelectChartPen(axis_.AxisPen());
      if (axis_.Horizontal()) canvas_.StrokeLine(axis_.StartPixel(), line, axis_.EndPixel(), line);
      else canvas_.StrokeLine(line, axis_.StartPixel(), line, axis_.EndPixel());
    }
    if (axis_.Ticks().visible) {
      canvas_.SelectChartPen(axis_.Ticks());
      for (int t : ticks_) Stroke(t, axis_.TickLength(), true);
    }
    if (axis_.Grid().visible) {
      canvas_.ClearBrush();
      canvas_.SetBackgroundMode(TBackgroundMode::bmTransparent);
      TChartPen pen = axis_.Grid();
      if (pen.color == clAutoColor) pen.color = clGray;
      canvas_.SelectChartPen(pen);
      if (axis_.GridCentered()) {
        for (std::size_t i = 1; i < ticks_.size(); ++i) GridLine(RoundHalfEven((ticks_[i] + ticks_[i - 1]) * 0.5));
      } else {
        for (int t : ticks_) GridLine(t);
      }
      canvas_.SetBackgroundMode(TBackgroundMode::bmOpaque);
    }
    // A tick of no length draws nothing.
    if (axis_.TicksInner().visible && axis_.TickInnerLength() != 0) {
      canvas_.SelectChartPen(axis_.TicksInner());
      for (int t : ticks_) Stroke(t, axis_.TickInnerLength(), false);
    }
    if (!ticks_.empty() && axis_.MinorTicks().visible) {
      canvas_.SelectChartPen(axis_.MinorTicks());
      ForEachMinorPosition([&](int pos) { Stroke(pos, axis_.MinorTickLength(), true); });
    }
    if (!ticks_.empty() && axis_.MinorGrid().visible) {
      canvas_.SelectChartPen(axis_.MinorGrid());
      ForEachMinorPosition([&](int pos) { GridLine(pos); });
    }
  }

  template <class F>
  void ForEachMinorPosition(F&& f) {
    const int m = axis_.MinorTickCount();
    const int k = static_cast<int>(ticks_.size());
    const auto inside = [&](int pos) {
      if (axis_.StartPixel() < pos && pos < axis_.EndPixel()) f(pos);
    };
    if (k > 1) {
      // Beyond the first and the last tick, spaced like the first gap.
      for (int j = 1; j <= m; ++j) {
        const int d = RoundHalfEven(static_cast<double>(ticks_[1] - ticks_[0]) / (m + 1) * j);
        inside(ticks_[0] - d);
        inside(ticks_[k - 1] + d);
      }
    }
    for (int i = 1; i < k; ++i)
      for (int j = 1; j <= m; ++j)
        inside(ticks_[i] - RoundHalfEven(static_cast<double>(j) * (ticks_[i] - ticks_[i - 1]) / (m + 1)));
  }

  TChartAxis& axis_;
  TCanvas& canvas_;
  TChart& chart_;
  std::vector<int>& ticks_;
};

}  // namespace

int AxisLabelAlignment(const TChartAxis& axis) {
  if (!axis.Horizontal()) return axis.OtherSide() ? kTextAlignLeftTop : kTextAlignRight;
  return axis.OtherSide() ? (kTextAlignCenter | kTextAlignBottom) : kTextAlignCenter;
}

void DrawAxis(TChartAxis& axis, TCanvas& canvas) { AxisPainter(axis, canvas).Draw(); }

}  // namespace tavimo::chart
