#pragma once
// A chart series: the points (two value lists with parallel labels and
// colours), adding, clearing and changing them, colour and label lookup, the
// extremes the axes scale to and the visible range the drawing loops use.
// Concrete series kinds (the horizontal bar series) add the drawing.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/Color.h"
#include "chart/Property.h"
#include "chart/SeriesMarks.h"
#include "chart/ValueList.h"

namespace tavimo::chart {

class TChart;
class TChartAxis;
class TCanvas;

enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

inline constexpr const char* kDefaultValueFormat = "#,##0.###";
inline constexpr const char* kDefaultPercentFormat = "##0.## %";

class TChartSeries {
 public:
  TChartSeries();
  virtual ~TChartSeries();
  TChartSeries(const TChartSeries&) = delete;
  TChartSeries& operator=(const TChartSeries&) = delete;

  // --- points -------------------------------------------------------------
  TChartValueList& XValues() { return xValues_; }
  const TChartValueList& XValues() const { return xValues_; }
  TChartValueList& YValues() { return yValues_; }
  const TChartValueList& YValues() const { return yValues_; }
  // Whether the Y list is the main value list (the one a plain add stores and marks show).
  virtual bool YIsMain() const { return true; }
  TChartValueList& MainValues() { return YIsMain() ? yValues_ : xValues_; }
  const TChartValueList& MainValues() const { return YIsMain() ? yValues_ : xValues_; }
  TChartValueList& PositionValues() { return YIsMain() ? xValues_ : yValues_; }
  const TChartValueList& PositionValues() const { return YIsMain() ? xValues_ : yValues_; }

  // Returns the new point's index, or -1 when OnBeforeAdd refuses it.
  int AppendXY(double x, double y, std::string_view label = {}, TColor color = clAutoColor);
  // Adds by the main value; the position is the point count before the add.
  int AppendPoint(double value, std::string_view label = {}, TColor color = clAutoColor);
  void ClearPoints();
  int PointCount() const { return xValues_.ValueCount(); }
  // Changes the X value in place (the point keeps its index) and repaints.
  void SetPointX(int index, double x);
  double PointX(int index) const { return xValues_.ValueAt(index); }
  double PointY(int index) const { return yValues_.ValueAt(index); }
  // Empty when index is beyond the labels or the point has none.
  const std::string& PointLabel(int index) const;
  int LabelCount() const { return static_cast<int>(labels_.size()); }
  TColor PointColor(int index) const;
  TColor StoredColor(int index) const { return colors_[static_cast<std::size_t>(index)]; }
  void SetPointColor(int index, TColor color);

  // The extremes the axes scale to.
  virtual double LowestX() const { return xValues_.MinimumValue(); }
  virtual double HighestX() const { return xValues_.MaximumValue(); }
  virtual double LowestY() const { return yValues_.MinimumValue(); }
  virtual double HighestY() const { return yValues_.MaximumValue(); }

  // Asks the parent chart to invalidate; nothing is drawn here.
  void RequestRepaint();

  // --- settings -------------------------------------------------------------
  TAVIMO_CHART_SETTING(TColor, SeriesColor, seriesColor_)
  TAVIMO_CHART_SETTING(bool, Active, active_)
  // Turning it off also returns every point's own colour to automatic.
  TAVIMO_CHART_SETTING_DECLARED(bool, ColorEachPoint, colorEachPoint_)
  TAVIMO_CHART_SETTING_DECLARED(std::string, ValueFormat, valueFormat_)
  TAVIMO_CHART_SETTING_DECLARED(std::string, PercentFormat, percentFormat_)
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool show) { showInLegend_ = show; }
  TAVIMO_CHART_SETTING_DECLARED(THorizAxis, HorizAxis, horizAxis_)
  TAVIMO_CHART_SETTING_DECLARED(TVertAxis, VertAxis, vertAxis_)
  TSeriesMarks& Marks() { return marks_; }
  const TSeriesMarks& Marks() const { return marks_; }

  std::function<bool(TChartSeries&)> OnBeforeAdd;
  std::function<void(TChartSeries&, int index)> OnAfterAdd;
  std::function<void(TChartSeries&)> OnClearValues;

  // --- chart attachment ---------------------------------------------------------
  TChart* ParentChart() const { return chart_; }
  // Called by the chart when it adopts or releases the series.
  void AttachTo(TChart* chart);
  // The resolved axes; null while detached.
  TChartAxis* GetHorizAxis() const { return horizAxisObject_; }
  TChartAxis* GetVertAxis() const { return vertAxisObject_; }
  bool UsesAxis(const TChartAxis& axis) const;
  // Whether axis runs along this series' positions (not its values).
  bool IsPositionAxis(const TChartAxis& axis) const;

  // --- drawing support --------------------------------------------------------------
  // The point's X (Y) value through the resolved horizontal (vertical) axis.
  virtual int PointPixelX(int index) const;
  virtual int PointPixelY(int index) const;
  // Recomputes FirstVisible/LastVisible from the last layout of the position axis.
  void ComputeVisibleRange();
  int FirstVisible() const { return firstVisible_; }
  int LastVisible() const { return lastVisible_; }
  virtual bool ComputesVisibleRange() const { return true; }
  virtual bool DrawsBetweenPoints() const { return true; }

  // Pixel margins the series asks of its axes, before they are widened.
  virtual void HorizAxisMargins(int& left, int& right) { left = right = 0; }
  virtual void VertAxisMargins(int& top, int& bottom) { top = bottom = 0; }
  virtual void DrawAllValues(TCanvas& /*canvas*/) {}
  // Moves a freshly computed mark position to where this kind of series wants it.
  virtual void AdjustMarkPosition(int /*index*/, TSeriesMarkPosition& /*position*/) {}
  // Index of the point under (x, y), or -1.
  virtual int HitTest(int /*x*/, int /*y*/) const { return -1; }

 protected:
  void Changed();  // repaint request for a settings change

 private:
  void ResolveAxes();

  TChartValueList xValues_;
  TChartValueList yValues_;
  std::vector<TColor> colors_;
  std::vector<std::string> labels_;  // an empty text is an absent label

  TColor seriesColor_ = clAutoColor;
  bool active_ = true;
  bool colorEachPoint_ = false;
  std::string valueFormat_ = kDefaultValueFormat;
  std::string percentFormat_ = kDefaultPercentFormat;
  std::string title_;
  bool showInLegend_ = true;
  THorizAxis horizAxis_ = THorizAxis::aBottomAxis;
  TVertAxis vertAxis_ = TVertAxis::aLeftAxis;
  TSeriesMarks marks_;

  TChart* chart_ = nullptr;
  TChartAxis* horizAxisObject_ = nullptr;
  TChartAxis* vertAxisObject_ = nullptr;
  int firstVisible_ = -1;
  int lastVisible_ = -1;
};

}  // namespace tavimo::chart
