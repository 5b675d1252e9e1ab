#pragma once
// A chart axis: its settings, the automatic value range, the space it takes
// from the plot rectangle, the widening series ask for at its ends, the
// value <-> pixel mapping and the label step. Drawing is in AxisDrawing.

#include <string>
#include <vector>

#include "chart/Canvas.h"
#include "chart/Property.h"

namespace tavimo::chart {

class TChart;

enum class TAxisKind { akBottom, akTop, akLeft, akRight, akDepth };
enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum class TFontCharset { DefaultCharset, GB2312Charset };

struct TChartAxisTitle {
  std::string Caption;
  int Angle = 0;
  TFont Font{"Arial", 8, clBlack};
  TFontCharset Charset = TFontCharset::DefaultCharset;
  friend bool operator==(const TChartAxisTitle&, const TChartAxisTitle&) = default;
};

// One label the last drawing of the axis considered (drawn or skipped).
struct TAxisLabelRecord {
  std::string text;
  int pixel = 0;
  int width = 0;
  int height = 0;
  bool drawn = false;
};

// Where the last layout put the axis: its working range (the set range,
// widened for the series' margins), its pixel span and the positions of its
// line, labels and title. The layout report shows it as it is.
struct TAxisLayoutRecord {
  int startPixel = 0;
  int endPixel = 0;
  double workMinimum = 0.0;
  double workMaximum = 0.0;
  int labelsPos = 0;
  int axisLinePos = 0;
  bool shown = false;  // took part in the layout and was drawn
  double workRange = 0.0;
  int pixelSpan = 0;
  int centerPixel = 0;
  int titlePos = 0;
};

inline constexpr int kMaxAxisTicks = 2000;

class TChartAxis {
 public:
  TChartAxis(TChart& chart, TAxisKind kind);

  TChart& ParentChart() const { return chart_; }
  TAxisKind Kind() const { return kind_; }
  bool Horizontal() const { return kind_ == TAxisKind::akBottom || kind_ == TAxisKind::akTop || kind_ == TAxisKind::akDepth; }
  // At the top or right edge of the plot rectangle.
  bool OtherSide() const { return kind_ == TAxisKind::akTop || kind_ == TAxisKind::akRight || kind_ == TAxisKind::akDepth; }
  bool IsDepthAxis() const { return kind_ == TAxisKind::akDepth; }

  // --- settings (each change invalidates the chart) ---------------------------
  TAVIMO_CHART_SETTING(bool, Visible, visible_)
  TAVIMO_CHART_SETTING_DECLARED(bool, Automatic, automatic_)
  TAVIMO_CHART_SETTING_DECLARED(bool, AutomaticMinimum, automaticMinimum_)
  TAVIMO_CHART_SETTING_DECLARED(bool, AutomaticMaximum, automaticMaximum_)
  // SetMinimum raises AxisException when above Maximum.
  TAVIMO_CHART_SETTING_DECLARED(double, Minimum, minimum_)
  // SetMaximum raises AxisException when below Minimum.
  TAVIMO_CHART_SETTING_DECLARED(double, Maximum, maximum_)
  // Both ends at once, as panning does: automatic off, ends ordered, at least 1e-10 apart.
  void SetMinMax(double minimum, double maximum);
  TAVIMO_CHART_SETTING_DECLARED(double, Increment, increment_)
  TAVIMO_CHART_SETTING(bool, Inverted, inverted_)
  TAVIMO_CHART_SETTING(bool, Labels, labels_)
  TAVIMO_CHART_SETTING(TAxisLabelStyle, LabelStyle, labelStyle_)
  TAVIMO_CHART_SETTING(TFont, LabelsFont, labelsFont_)
  // SetLabelsAngle raises ChartException outside 0 ... 360.
  TAVIMO_CHART_SETTING_DECLARED(int, LabelsAngle, labelsAngle_)
  // SetLabelsSeparation raises AxisException when negative.
  TAVIMO_CHART_SETTING_DECLARED(int, LabelsSeparation, labelsSeparation_)
  TAVIMO_CHART_SETTING(int, LabelsSize, labelsSize_)
  TAVIMO_CHART_SETTING(bool, LabelsOnAxis, labelsOnAxis_)
  TAVIMO_CHART_SETTING(bool, LabelsMultiLine, labelsMultiLine_)
  TAVIMO_CHART_SETTING(std::string, AxisValuesFormat, axisValuesFormat_)
  TAVIMO_CHART_SETTING(bool, RoundFirstLabel, roundFirstLabel_)
  TAVIMO_CHART_SETTING(int, TickLength, tickLength_)
  TAVIMO_CHART_SETTING(int, TickInnerLength, tickInnerLength_)
  TAVIMO_CHART_SETTING(int, MinorTickLength, minorTickLength_)
  TAVIMO_CHART_SETTING(int, MinorTickCount, minorTickCount_)
  TAVIMO_CHART_SETTING(bool, TickOnLabelsOnly, tickOnLabelsOnly_)
  TAVIMO_CHART_SETTING(bool, GridCentered, gridCentered_)
  TAVIMO_CHART_SETTING(TChartPen, AxisPen, axisPen_)
  TAVIMO_CHART_SETTING(TChartPen, Grid, grid_)
  TAVIMO_CHART_SETTING(TChartPen, Ticks, ticks_)
  TAVIMO_CHART_SETTING(TChartPen, TicksInner, ticksInner_)
  TAVIMO_CHART_SETTING(TChartPen, MinorTicks, minorTicks_)
  TAVIMO_CHART_SETTING(TChartPen, MinorGrid, minorGrid_)
  // A caption takes its space beside the labels; titled axes are not drawn by this chart.
  TAVIMO_CHART_SETTING(TChartAxisTitle, Title, title_)
  TAVIMO_CHART_SETTING(int, TitleSize, titleSize_)
  TAVIMO_CHART_SETTING(double, StartPosition, startPosition_)
  TAVIMO_CHART_SETTING(double, EndPosition, endPosition_)
  // Stored only: this chart keeps every axis on the plot rectangle's edge.
  TAVIMO_CHART_SETTING(double, PositionPercent, positionPercent_)
  TAVIMO_CHART_SETTING(bool, ExactDateTime, exactDateTime_)

  // --- scale (working state of the last layout) ------------------------------------
  void AdjustRange();
  // Cuts the title, labels and ticks off this axis' side of r.
  void ReserveAxisSpace(Rect& r);
  void SetPixelSpan();
  void WidenRange(int marginStart, int marginEnd);
  // Both raise EOverflow when a value leaves the double range on the way
  // (EInvalidOp for not-a-number), as every stored value does.
  int ValueToPixel(double value) const;
  double PixelToValue(int pixel) const;
  TAxisLabelStyle ResolvedLabelStyle() const;
  // Uses the canvas' current font (the labels font while laying out and drawing).
  double LabelStep();
  std::string LabelValueText(double value) const;
  // Tick length plus axis pen width (the space beside the labels).
  int TickSize() const;

  bool IsShown() const;  // takes part in the layout and is drawn
  const TAxisLayoutRecord& LastLayout() const { return layout_; }
  bool ShownInLastLayout() const { return layout_.shown; }
  void SetShownInLastLayout(bool shown) { layout_.shown = shown; }
  double WorkMinimum() const { return layout_.workMinimum; }
  double WorkMaximum() const { return layout_.workMaximum; }
  double WorkRange() const { return layout_.workRange; }
  int StartPixel() const { return layout_.startPixel; }
  int EndPixel() const { return layout_.endPixel; }
  int PixelSpan() const { return layout_.pixelSpan; }
  int CenterPixel() const { return layout_.centerPixel; }
  int AxisLinePos() const { return layout_.axisLinePos; }
  void SetAxisLinePos(int pos) { layout_.axisLinePos = pos; }
  int LabelsPos() const { return layout_.labelsPos; }
  int TitlePos() const { return layout_.titlePos; }

  // Drawing scratch kept between paints so the lists are not reallocated.
  std::vector<int>& TickList() { return tickList_; }
  std::vector<TAxisLabelRecord>& LabelRecords() { return labelRecords_; }
  const std::vector<TAxisLabelRecord>& LabelRecords() const { return labelRecords_; }

 private:
  void Changed();
  bool Loading() const;
  void AutomaticExtremes(double& lo, double& hi) const;
  int LabelsSpace();
  int TitleSpace();
  int ValueLabelWidth();
  int WidestLabelText(bool markCaptions);

  TChart& chart_;
  TAxisKind kind_;

  bool visible_ = true;
  bool automatic_ = true;
  bool automaticMinimum_ = true;
  bool automaticMaximum_ = true;
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  double increment_ = 0.0;
  bool inverted_ = false;
  bool labels_ = true;
  TAxisLabelStyle labelStyle_ = TAxisLabelStyle::talAuto;
  TFont labelsFont_{"Arial", 8, clBlack};
  int labelsAngle_ = 0;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0;
  bool labelsOnAxis_ = true;
  bool labelsMultiLine_ = false;
  std::string axisValuesFormat_ = "#,##0.###";
  bool roundFirstLabel_ = true;
  int tickLength_ = 4;
  int tickInnerLength_ = 0;
  int minorTickLength_ = 2;
  int minorTickCount_ = 3;
  bool tickOnLabelsOnly_ = true;
  bool gridCentered_ = false;
  TChartPen axisPen_{true, clBlack, 2, TPenStyle::psSolid, false};
  TChartPen grid_{true, clGray, 1, TPenStyle::psDot, false};
  TChartPen ticks_{true, clGray, 1, TPenStyle::psSolid, false};
  TChartPen ticksInner_{true, clGray, 1, TPenStyle::psSolid, false};
  TChartPen minorTicks_{true, clGray, 1, TPenStyle::psSolid, false};
  TChartPen minorGrid_{false, clGray, 1, TPenStyle::psSolid, false};
  TChartAxisTitle title_;
  int titleSize_ = 0;
  double startPosition_ = 0.0;
  double endPosition_ = 100.0;
  double positionPercent_ = 0.0;
  bool exactDateTime_ = true;

  TAxisLayoutRecord layout_;
  std::vector<int> tickList_;
  std::vector<TAxisLabelRecord> labelRecords_;
};

}  // namespace tavimo::chart
