#include "chart/Series.h"

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/Palette.h"

namespace tavimo::chart {

TChartSeries::TChartSeries()
    : xValues_(this, "X"), yValues_(this, "Y"), marks_(*this) {
  xValues_.SetOrder(TChartListOrder::loAscending);
  yValues_.SetOrder(TChartListOrder::loNone);
}

TChartSeries::~TChartSeries() = default;

int TChartSeries::AppendXY(double x, double y, std::string_view label, TColor color) {
  xValues_.Stage(x);
  yValues_.Stage(y);
  if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
  // The X list alone decides where the point goes; the Y list follows it.
  const int index = xValues_.InsertOrdered(xValues_.StagedValue());
  yValues_.InsertAt(index, yValues_.StagedValue());
  colors_.insert(colors_.begin() + index, color);
  labels_.insert(labels_.begin() + index, std::string(label));
  if (OnAfterAdd) OnAfterAdd(*this, index);
  if (active_) RequestRepaint();
  return index;
}

int TChartSeries::AppendPoint(double value, std::string_view label, TColor color) {
  const double n = PointCount();
  return YIsMain() ? AppendXY(n, value, label, color) : AppendXY(value, n, label, color);
}

void TChartSeries::ClearPoints() {
  xValues_.RemoveAll();
  yValues_.RemoveAll();
  colors_.clear();
  labels_.clear();
  marks_.ClearPositions();
  marks_.ForgetCaptions();
  marks_.SetPointTexts({});
  firstVisible_ = lastVisible_ = -1;
  if (OnClearValues) OnClearValues(*this);
  if (active_ && chart_ != nullptr) RequestRepaint();
}

void TChartSeries::SetPointX(int index, double x) {
  xValues_.SetValueAt(index, x);
  RequestRepaint();
}

const std::string& TChartSeries::PointLabel(int index) const {
  static const std::string kNoLabel;
  if (index < 0 || index >= LabelCount()) return kNoLabel;
  return labels_[static_cast<std::size_t>(index)];
}

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return seriesColor_;
  const TColor own = colors_[static_cast<std::size_t>(index)];
  if (own != clAutoColor) return own;
  return colorEachPoint_ ? PaletteColor(index) : seriesColor_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return;
  colors_[static_cast<std::size_t>(index)] = color;
  RequestRepaint();
}

void TChartSeries::RequestRepaint() {
  if (chart_ != nullptr) chart_->Invalidate();
}

void TChartSeries::Changed() { RequestRepaint(); }

void TChartSeries::SetColorEachPoint(bool on) {
  if (AssignIfChanged(colorEachPoint_, on)) Changed();
  if (!on) {
    for (int i = 0; i < static_cast<int>(colors_.size()); ++i) SetPointColor(i, clAutoColor);
  }
}

void TChartSeries::SetValueFormat(const std::string& format) {
  if (!AssignIfChanged(valueFormat_, format)) return;
  marks_.ForgetCaptions();
  Changed();
}

void TChartSeries::SetPercentFormat(const std::string& format) {
  if (!AssignIfChanged(percentFormat_, format)) return;
  marks_.ForgetCaptions();
  Changed();
}

void TChartSeries::SetHorizAxis(THorizAxis axis) {
  if (!AssignIfChanged(horizAxis_, axis)) return;
  ResolveAxes();
  Changed();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
  if (!AssignIfChanged(vertAxis_, axis)) return;
  ResolveAxes();
  Changed();
}

void TChartSeries::AttachTo(TChart* chart) {
  chart_ = chart;
  ResolveAxes();
  if (chart_ == nullptr || seriesColor_ != clAutoColor) return;
  // The first palette colour no other series, nor the panel or back colour, already shows.
  for (TColor candidate : kDefaultPalette) {
    bool taken = candidate == chart_->Color() || candidate == chart_->BackColor();
    for (int i = 0; i < chart_->SeriesCount() && !taken; ++i) {
      const TChartSeries& other = chart_->Series(i);
      if (&other != this && other.SeriesColor() == candidate) taken = true;
    }
    if (!taken) {
      seriesColor_ = candidate;
      return;
    }
  }
  seriesColor_ = clRed;
}

void TChartSeries::ResolveAxes() {
  if (chart_ == nullptr) {
    horizAxisObject_ = vertAxisObject_ = nullptr;
    return;
  }
  horizAxisObject_ = horizAxis_ == THorizAxis::aTopAxis ? &chart_->TopAxis() : &chart_->BottomAxis();
  vertAxisObject_ = vertAxis_ == TVertAxis::aRightAxis ? &chart_->RightAxis() : &chart_->LeftAxis();
}

bool TChartSeries::UsesAxis(const TChartAxis& axis) const {
  if (axis.IsDepthAxis()) return false;
  if (axis.Horizontal()) return &axis == horizAxisObject_ || horizAxis_ == THorizAxis::aBothHorizAxis;
  return &axis == vertAxisObject_ || vertAxis_ == TVertAxis::aBothVertAxis;
}

bool TChartSeries::IsPositionAxis(const TChartAxis& axis) const {
  return YIsMain() ? axis.Horizontal() : !axis.Horizontal();
}

int TChartSeries::PointPixelX(int index) const {
  return horizAxisObject_ != nullptr ? horizAxisObject_->ValueToPixel(PointX(index)) : 0;
}

int TChartSeries::PointPixelY(int index) const {
  return vertAxisObject_ != nullptr ? vertAxisObject_->ValueToPixel(PointY(index)) : 0;
}

void TChartSeries::ComputeVisibleRange() {
  firstVisible_ = lastVisible_ = -1;
  const int n = PointCount();
  if (n == 0) return;
  const TChartValueList& positions = PositionValues();
  const TChartAxis* axis = YIsMain() ? horizAxisObject_ : vertAxisObject_;
  if (positions.Order() == TChartListOrder::loNone || !ComputesVisibleRange() || axis == nullptr || chart_ == nullptr) {
    firstVisible_ = 0;
    lastVisible_ = n - 1;
    return;
  }
  const Rect plot = chart_->PlotRect();
  double lowest, highest;
  if (axis->Horizontal()) {
    lowest = axis->PixelToValue(plot.left);
    highest = axis->PixelToValue(plot.right);
  } else {
    lowest = axis->PixelToValue(plot.bottom);
    highest = axis->PixelToValue(plot.top);
  }
  if (axis->Inverted()) std::swap(lowest, highest);

  int first = 0;
  while (first < n && positions.ValueAt(first) < lowest) ++first;
  if (first == n) return;
  firstVisible_ = first;
  if (positions.ValueAt(n - 1) <= highest) {
    lastVisible_ = n - 1;
    return;
  }
  int last = first;
  while (last < n - 1 && positions.ValueAt(last) < highest) ++last;
  if (!DrawsBetweenPoints() && positions.ValueAt(last) > highest) --last;
  lastVisible_ = last;
}

}  // namespace tavimo::chart
