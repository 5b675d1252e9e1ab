#include "chart/BarSeries.h"

#include <algorithm>
#include <typeinfo>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/ChartExceptions.h"

namespace tavimo::chart {

// ---- TCustomBarSeries --------------------------------------------------------------

TCustomBarSeries::TCustomBarSeries() {
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
}

void TCustomBarSeries::SetBarWidthPercent(int percent) {
  if (percent < 1 || percent > 100) throw BarException(std::string(messages::kBarWidthPercent));
  if (AssignIfChanged(barWidthPercent_, percent)) Changed();
}

void TCustomBarSeries::SetOffsetPercent(int percent) {
  if (percent < -100 || percent > 100) throw BarException(std::string(messages::kBarOffsetPercent));
  if (AssignIfChanged(offsetPercent_, percent)) Changed();
}

bool TCustomBarSeries::SameKind(const TChartSeries& other) const { return typeid(other) == typeid(*this); }

template <class Visit>
bool TCustomBarSeries::ForEachSideBySide(Visit visit, const TChartSeries* stopAt) const {
  const TChart* chart = ParentChart();
  if (multiBar_ != TMultiBar::mbSide || chart == nullptr) return false;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    const TChartSeries& s = chart->Series(i);
    if (&s == stopAt) break;
    if (s.Active() && SameKind(s)) visit(s);
  }
  return true;
}

int TCustomBarSeries::NumBars() const {
  int n = 0;
  ForEachSideBySide([&](const TChartSeries&) { ++n; });
  return n > 0 ? n : 1;
}

int TCustomBarSeries::BarOrder() const {
  int order = 1;
  ForEachSideBySide([&](const TChartSeries&) { ++order; }, this);
  return order;
}

int TCustomBarSeries::BarSlotCount() const {
  int n = 0;
  if (!ForEachSideBySide([&](const TChartSeries& s) { n = std::max(n, s.PointCount()); })) return PointCount();
  return n;
}

double TCustomBarSeries::LowestMain() const {
  double lo = MainValues().MinimumValue();
  if (multiBar_ == TMultiBar::mbStacked100) lo = 0.0;
  if (useYOrigin_ && lo > yOrigin_) lo = yOrigin_;
  return lo;
}

double TCustomBarSeries::HighestMain() const {
  // Stacked bars are not offered by this chart; 100 % stacking has a fixed range.
  double hi = MainValues().MaximumValue();
  if (multiBar_ == TMultiBar::mbStacked100) hi = 100.0;
  if (useYOrigin_ && hi < yOrigin_) hi = yOrigin_;
  return hi;
}

// ---- THorizBarSeries ---------------------------------------------------------------

THorizBarSeries::THorizBarSeries() {
  XValues().SetName("Bar");
  XValues().SetOrder(TChartListOrder::loNone);
}

void THorizBarSeries::ComputeBarThickness() {
  if (customBarHeight_ != 0) {
    barThickness_ = customBarHeight_;
    return;
  }
  const int n = BarSlotCount();
  const TChartAxis* axis = GetVertAxis();
  if (n <= 0 || axis == nullptr) {
    barThickness_ = 0;
    return;
  }
  int slot = SideMargins() ? axis->PixelSpan() / (n + 1) : axis->PixelSpan() / n;
  if (AutoBarSize()) {
    const double divisor = axis->Maximum() + 2 - axis->Minimum();
    slot = divisor != 0 ? RoundHalfEven(axis->PixelSpan() / divisor) : 0;
  }
  barThickness_ = RoundHalfEven(BarWidthPercent() * 0.01 * slot) / NumBars();
  if (barThickness_ % 2 == 1) ++barThickness_;  // the thickness is kept even
}

int THorizBarSeries::LabelAxisMargin() const {
  const int all = NumBars() * barThickness_;
  return SideMargins() ? all : all / 2;
}

void THorizBarSeries::VertAxisMargins(int& top, int& bottom) {
  top = bottom = 0;
  ComputeBarThickness();
  top += LabelAxisMargin();
  bottom += LabelAxisMargin();
}

void THorizBarSeries::HorizAxisMargins(int& left, int& right) {
  left = right = 0;
  int room = MarkRoom();
  if (room > 0) ++room;
  if (UseYOrigin() && XValues().MinimumValue() < YOrigin()) left += room;
  if (!UseYOrigin() || XValues().MaximumValue() > YOrigin()) {
    const TChartAxis* axis = GetHorizAxis();
    if (axis != nullptr && axis->Inverted()) left += room;
    else right += room;
  }
}

int THorizBarSeries::MarkRoom() {
  TChart* chart = ParentChart();
  if (PointCount() == 0 || !Marks().Visible() || chart == nullptr) return 0;
  TCanvas& canvas = chart->Canvas();
  canvas.SetFont(Marks().Font());
  int widest = 0;
  for (int i = 0; i < PointCount(); ++i) widest = std::max(widest, canvas.MeasureWidth(Marks().MarkCaption(i)));
  int room = widest + Marks().ArrowLength();
  if (Marks().Frame().visible) room += 2 * Marks().Frame().width;
  return room;
}

int THorizBarSeries::BarTop(int index) const {
  const TChartAxis* axis = GetVertAxis();
  const int p = axis != nullptr ? axis->ValueToPixel(PointY(index)) : 0;
  int top;
  if (MultiBar() == TMultiBar::mbSide) top = p + RoundHalfEven((NumBars() * 0.5 - BarOrder()) * barThickness_);
  else top = p - barThickness_ / 2;
  if (OffsetPercent() != 0) top += RoundHalfEven(OffsetPercent() * barThickness_ * 0.01);
  return top;
}

int THorizBarSeries::PointPixelX(int index) const {
  const TChartAxis* axis = GetHorizAxis();
  return axis != nullptr ? axis->ValueToPixel(PointX(index)) : 0;
}

int THorizBarSeries::OriginPixel() const {
  const TChartAxis* axis = GetHorizAxis();
  if (axis == nullptr) return 0;
  return UseYOrigin() ? axis->ValueToPixel(YOrigin()) : axis->StartPixel();
}

bool THorizBarSeries::BarPolygon(int index, std::array<Point, 7>& points) const {
  if (index < FirstVisible() || index > LastVisible() || FirstVisible() < 0) return false;
  if (PointColor(index) == clNone || BarStyle() != TBarStyle::bsArrow) return false;
  const int top = BarTop(index);
  const int bottom = top + barThickness_;
  const int value = PointPixelX(index);
  const int origin = OriginPixel();
  const int mid = (top + bottom) / 2;
  return TCanvas::ArrowPoints(Point{std::min(origin, value), mid}, Point{std::max(origin, value), mid},
                              bottom - top, (bottom - top) / 2, points);
}

void THorizBarSeries::DrawAllValues(TCanvas& canvas) {
  const int first = FirstVisible();
  const int last = LastVisible();
  if (first < 0) return;
  const TChartAxis* axis = GetVertAxis();
  // The bar nearest the axis start is drawn last, on top of its neighbours.
  if (axis != nullptr && axis->Inverted()) {
    for (int i = last; i >= first; --i) DrawValue(canvas, i);
  } else {
    for (int i = first; i <= last; ++i) DrawValue(canvas, i);
  }
}

void THorizBarSeries::DrawValue(TCanvas& canvas, int index) {
  const TColor color = PointColor(index);
  if (color == clNone) return;
  const int top = BarTop(index);
  const int bottom = top + barThickness_;
  const int right = PointPixelX(index);
  const int left = OriginPixel();
  DrawBar(canvas, index, std::min(left, right), std::max(left, right), top, bottom, color);
}

void THorizBarSeries::DrawBar(TCanvas& canvas, int /*index*/, int startX, int endX, int top, int bottom,
                              TColor color) {
  canvas.SelectChartPen(BarPen());
  const TChart* chart = ParentChart();
  const TColor background = BarBrush().Color == clAutoColor ? (chart != nullptr ? chart->Color() : clBtnFace)
                                                            : BarBrush().Color;
  canvas.SelectChartBrush(color, BarBrush().Style, background);
  if (BarStyle() == TBarStyle::bsArrow) {
    const int mid = (top + bottom) / 2;
    canvas.ArrowPolygon(true, Point{startX, mid}, Point{endX, mid}, bottom - top, (bottom - top) / 2);
  } else {
    // Only the arrow is offered with its own shape; every other style draws the bar rectangle.
    canvas.DrawBox(Rect{startX, top, endX, bottom});
  }
}

void THorizBarSeries::AdjustMarkPosition(int /*index*/, TSeriesMarkPosition& position) {
  const int half = barThickness_ / 2;
  int length = Marks().ArrowLength();
  if (OriginPixel() > position.ArrowStart.x) length = -length - position.BoxWidth;  // the value lies left of the origin
  position.BoxTopLeft.x += length + position.BoxWidth / 2;
  position.BoxTopLeft.y += half + position.BoxHeight / 2;
  position.ArrowEnd.x += length;
  position.ArrowEnd.y += half;
  position.ArrowStart.y += half;
}

int THorizBarSeries::HitTest(int x, int y) const {
  const int first = FirstVisible();
  if (first < 0) return -1;
  const int origin = OriginPixel();
  // The visible range is that of the last paint; points removed since then cannot be hit.
  const int last = std::min(LastVisible(), PointCount() - 1);
  for (int i = first; i <= last; ++i) {
    const int top = BarTop(i);
    const int value = PointPixelX(i);
    if (top <= y && y <= top + barThickness_ && std::min(origin, value) <= x && x <= std::max(origin, value))
      return i;
  }
  return -1;
}

}  // namespace tavimo::chart
