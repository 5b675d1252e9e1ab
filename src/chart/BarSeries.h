#pragma once
// Bar series: TCustomBarSeries holds the bar settings, THorizBarSeries draws
// horizontal bars along the vertical (label) axis, reaching along the
// horizontal (value) axis from the origin to the point's X value.

#include <array>

#include "chart/Property.h"
#include "chart/Series.h"

namespace tavimo::chart {

enum class TBarStyle { bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient };
enum class TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

struct TChartBrush {
  TColor Color = clAutoColor;
  TBrushStyle Style = TBrushStyle::bsSolid;
  friend bool operator==(const TChartBrush&, const TChartBrush&) = default;
};

class TCustomBarSeries : public TChartSeries {
 public:
  TCustomBarSeries();

  TAVIMO_CHART_SETTING(TBarStyle, BarStyle, barStyle_)
  // Raises BarException outside 1 ... 100.
  TAVIMO_CHART_SETTING_DECLARED(int, BarWidthPercent, barWidthPercent_)
  // Raises BarException outside -100 ... 100.
  TAVIMO_CHART_SETTING_DECLARED(int, OffsetPercent, offsetPercent_)
  TAVIMO_CHART_SETTING(bool, SideMargins, sideMargins_)
  TAVIMO_CHART_SETTING(bool, AutoBarSize, autoBarSize_)
  TAVIMO_CHART_SETTING(TMultiBar, MultiBar, multiBar_)
  TAVIMO_CHART_SETTING(bool, UseYOrigin, useYOrigin_)
  TAVIMO_CHART_SETTING(double, YOrigin, yOrigin_)
  TAVIMO_CHART_SETTING(TChartPen, BarPen, barPen_)
  TAVIMO_CHART_SETTING(TChartBrush, BarBrush, barBrush_)
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool on) { dark3D_ = on; }
  bool AutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool on) { autoMarkPosition_ = on; }

  // The bar thickness of the last layout, in pixels (always even).
  int BarThickness() const { return barThickness_; }

 protected:
  // Number of bar series of this kind side by side, and this one's place (from 1).
  int NumBars() const;
  int BarOrder() const;
  // Largest point count of the active series of this kind (mbSide) or this one's.
  int BarSlotCount() const;
  // The main list's extremes, widened to include YOrigin.
  double LowestMain() const;
  double HighestMain() const;
  bool SameKind(const TChartSeries& other) const;

  int barThickness_ = 0;

 private:
  // With bars side by side on a chart: calls visit(series) for each active
  // series of this kind in the chart's order, up to stopAt, and returns true;
  // false, visiting none, otherwise.
  template <class Visit>
  bool ForEachSideBySide(Visit visit, const TChartSeries* stopAt = nullptr) const;

  TBarStyle barStyle_ = TBarStyle::bsRectangle;
  int barWidthPercent_ = 70;
  int offsetPercent_ = 0;
  bool sideMargins_ = true;
  bool autoBarSize_ = false;
  TMultiBar multiBar_ = TMultiBar::mbSide;
  bool useYOrigin_ = true;
  double yOrigin_ = 0.0;
  TChartPen barPen_{true, clBlack, 1, TPenStyle::psSolid, false};
  TChartBrush barBrush_;
  bool dark3D_ = true;
  bool autoMarkPosition_ = true;
};

class THorizBarSeries : public TCustomBarSeries {
 public:
  THorizBarSeries();

  bool YIsMain() const override { return false; }
  bool DrawsBetweenPoints() const override { return false; }
  TAVIMO_CHART_SETTING(int, CustomBarHeight, customBarHeight_)

  double LowestX() const override { return LowestMain(); }
  double HighestX() const override { return HighestMain(); }

  void ComputeBarThickness();
  int LabelAxisMargin() const;
  void HorizAxisMargins(int& left, int& right) override;
  void VertAxisMargins(int& top, int& bottom) override;
  // Widest mark text plus the arrow length (and the frame); 0 without marks.
  int MarkRoom();

  // Pixel of the bar's top edge; the value end; the origin end.
  int BarTop(int index) const;
  int PointPixelY(int index) const override { return BarTop(index); }
  int PointPixelX(int index) const override;
  int OriginPixel() const;

  // The seven points of the arrow of point index; false when nothing is drawn
  // (no visible length or a clNone colour).
  bool BarPolygon(int index, std::array<Point, 7>& points) const;

  void DrawAllValues(TCanvas& canvas) override;
  void DrawValue(TCanvas& canvas, int index);
  void DrawBar(TCanvas& canvas, int index, int startX, int endX, int top, int bottom, TColor color);
  void AdjustMarkPosition(int index, TSeriesMarkPosition& position) override;
  int HitTest(int x, int y) const override;

 private:
  int customBarHeight_ = 0;
};

}  // namespace tavimo::chart
