#pragma once
// The chart panel: owns the canvas, the series and the five axes; lays out the
// plot rectangle (margins, title, axes, series margins) and paints the whole
// chart into the canvas' off-screen image when it is dirty. Mouse panning and
// wheel scrolling move the axis ranges (Panning.cpp).

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/Axis.h"
#include "chart/BarSeries.h"
#include "chart/Canvas.h"
#include "chart/Panning.h"
#include "chart/Property.h"
#include "chart/Series.h"

namespace tavimo::chart {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TTitleAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TLegendAlignment { laLeft, laRight, laTop, laBottom };

struct TChartGradient {
  bool Visible = false;
  TColor StartColor = clWhite;
  TColor EndColor = clYellow;
  TGradientDirection Direction = TGradientDirection::gdTopBottom;
  friend bool operator==(const TChartGradient&, const TChartGradient&) = default;
};

// The title above the plot rectangle, or the foot below it.
struct TChartTitle {
  bool Visible = true;
  std::vector<std::string> Text;  // one entry per line
  TTitleAlignment Alignment = TTitleAlignment::taCenter;
  TFont Font{"Arial", 8, clBlue};
  TColor Color = clAutoColor;
  TChartBrush Brush;
  TChartPen Frame{false, clBlack, 1, TPenStyle::psSolid, false};
  bool AdjustFrame = true;
  friend bool operator==(const TChartTitle&, const TChartTitle&) = default;
};

struct TChartWall {
  TColor Color = clAutoColor;
  TChartBrush Brush;
  TChartPen Pen{true, clBlack, 1, TPenStyle::psSolid, false};
  friend bool operator==(const TChartWall&, const TChartWall&) = default;
};

// Stored only: the legend is never drawn by this chart.
struct TChartLegend {
  bool Visible = true;
  TLegendAlignment Alignment = TLegendAlignment::laRight;
  TColor ShadowColor = clBlack;
  friend bool operator==(const TChartLegend&, const TChartLegend&) = default;
};

// Stored only: the chart is drawn in two dimensions.
struct TView3DOptions {
  int Elevation = 345;
  int HorizOffset = 0;
  int VertOffset = 0;
  friend bool operator==(const TView3DOptions&, const TView3DOptions&) = default;
};

inline constexpr int kTitleGap = 5;
inline constexpr bool kAxesUnderSeries = true;

class TChart {
 public:
  explicit TChart(std::unique_ptr<TCanvas> canvas);
  ~TChart();
  TChart(const TChart&) = delete;
  TChart& operator=(const TChart&) = delete;

  TCanvas& Canvas() { return *canvas_; }

  // --- series -----------------------------------------------------------------
  THorizBarSeries& AddHorizBarSeries();
  TChartSeries& Series(int index) { return *series_[static_cast<std::size_t>(index)]; }
  const TChartSeries& Series(int index) const { return *series_[static_cast<std::size_t>(index)]; }
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  int ActiveSeriesCount() const;

  // --- axes, in the order of every pass over them ---------------------------------
  TChartAxis& BottomAxis() { return *axes_[0]; }
  TChartAxis& TopAxis() { return *axes_[1]; }
  TChartAxis& LeftAxis() { return *axes_[2]; }
  TChartAxis& RightAxis() { return *axes_[3]; }
  TChartAxis& DepthAxis() { return *axes_[4]; }
  TChartAxis& Axis(int index) { return *axes_[static_cast<std::size_t>(index)]; }
  static constexpr int AxisCount() { return 5; }

  // --- size, invalidation and painting --------------------------------------------
  void SetClientSize(int width, int height);  // a change invalidates
  // Device pixels per design pixel of the surface the chart is shown on (see
  // Canvas.h); the layout, the client size and the mouse stay in design
  // pixels. A change invalidates; a value the canvas refuses is ignored.
  double Scale() const { return canvas_->Scale(); }
  void SetScale(double scale);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // Called by every invalidation so the window can schedule a repaint; nothing is drawn in it.
  void SetInvalidateHandler(std::function<void()> handler) { invalidateHandler_ = std::move(handler); }
  void Invalidate();
  bool Dirty() const { return dirty_; }
  // Paints into the off-screen image when it is dirty and returns true;
  // returns false when the existing image is still good (the window only copies it).
  bool PaintRequest();
  // Paints the whole chart at the client size, whether dirty or not.
  void PaintChart();

  // --- layout of the last paint ------------------------------------------------
  Rect PlotRect() const { return plotRect_; }
  void SetPlotRect(const Rect& r) { plotRect_ = r; }
  Rect PaintBounds() const { return paintBounds_; }
  int PlotWidth() const { return plotWidth_; }
  int PlotHeight() const { return plotHeight_; }
  int PlotXCenter() const { return plotXCenter_; }
  int PlotYCenter() const { return plotYCenter_; }
  void RecalcPlotSize();
  Rect TitleRect() const { return titleRect_; }
  Rect FootRect() const { return footRect_; }
  int TitleLineHeight() const { return titleLineHeight_; }

  // While the stored settings are being applied some setters skip their checks.
  void BeginLoading() { loading_ = true; }
  void EndLoading() { loading_ = false; }
  bool Loading() const { return loading_; }

  // --- settings (each change invalidates) ----------------------------------------
  TAVIMO_CHART_SETTING(TColor, Color, color_)
  TAVIMO_CHART_SETTING(TChartGradient, Gradient, gradient_)
  int MarginLeft() const { return marginLeft_; }
  int MarginTop() const { return marginTop_; }
  int MarginRight() const { return marginRight_; }
  int MarginBottom() const { return marginBottom_; }
  void SetMargins(int left, int top, int right, int bottom);
  TAVIMO_CHART_SETTING(TPanelBevel, BevelOuter, bevelOuter_)
  TAVIMO_CHART_SETTING(TPanelBevel, BevelInner, bevelInner_)
  TAVIMO_CHART_SETTING(int, BevelWidth, bevelWidth_)
  TAVIMO_CHART_SETTING(int, BorderWidth, borderWidth_)
  TAVIMO_CHART_SETTING(bool, View3D, view3D_)
  TAVIMO_CHART_SETTING(TView3DOptions, View3DOptions, view3DOptions_)
  TAVIMO_CHART_SETTING(TChartTitle, Title, title_)
  TAVIMO_CHART_SETTING(TChartTitle, Foot, foot_)
  TAVIMO_CHART_SETTING(TChartLegend, Legend, legend_)
  TAVIMO_CHART_SETTING(TChartWall, BackWall, backWall_)
  TAVIMO_CHART_SETTING(TChartWall, LeftWall, leftWall_)
  // The back wall colour; outside loading it also makes the wall brush solid.
  TAVIMO_CHART_SETTING_DECLARED(TColor, BackColor, backWall_.Color)
  TAVIMO_CHART_SETTING_DECLARED(bool, FrameVisible, backWall_.Pen.visible)
  TAVIMO_CHART_SETTING(bool, AxisVisible, axisVisible_)
  TAVIMO_CHART_SETTING(bool, ClipPoints, clipPoints_)
  // Stored only: zooming is not offered, so no press ever starts a zoom.
  TAVIMO_CHART_SETTING(bool, AllowZoom, allowZoom_)
  TAVIMO_CHART_SETTING(bool, AnimatedZoom, animatedZoom_)
  TAVIMO_CHART_SETTING(TPanningMode, AllowPanning, allowPanning_)

  // --- mouse (client pixels of the chart) -------------------------------------------
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Forwarded by the window only while the chart holds the keyboard focus.
  void MouseWheel(int delta, TShiftState shift);
  bool Panning() const { return panning_.active; }
  const TZoomPanning& PanningRecord() const { return panning_; }
  int WheelAccumulator() const { return wheelAccumulator_; }
  // Which part of the chart (x, y) lies on, by the last layout.
  TChartClickedPart ClickedPart(int x, int y) const;

 private:
  // What a change of a setting does.
  void Changed() { Invalidate(); }
  void InternalDraw();
  void PanelPaint();
  void DrawBevelRing(Rect& r, TColor topLeft, TColor bottomRight);
  void DrawTitlesAndLegend();
  void DrawTitle(const TChartTitle& title, bool foot);
  void LayoutAxes();
  void ApplySeriesMargins();
  void DrawBackWall();
  // The back wall's frame: the plot rectangle with its right and bottom edge
  // lines, on which the right and bottom axes stand.
  Rect WallRect() const;
  void DrawOneSeries(TChartSeries& series);
  bool AxisHit(TChartAxis& axis, int x, int y) const;
  void ScrollVerticalAxes(bool down);

  std::unique_ptr<TCanvas> canvas_;
  std::vector<std::unique_ptr<TChartSeries>> series_;
  std::array<std::unique_ptr<TChartAxis>, 5> axes_;

  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::function<void()> invalidateHandler_;
  bool autoRepaint_ = false;
  bool dirty_ = true;
  bool loading_ = false;

  Rect paintBounds_;
  Rect plotRect_;
  int plotWidth_ = 0;
  int plotHeight_ = 0;
  int plotXCenter_ = 0;
  int plotYCenter_ = 0;
  Rect titleRect_;
  Rect footRect_;
  int titleLineHeight_ = 0;

  TColor color_ = clBtnFace;
  TChartGradient gradient_;
  int marginLeft_ = 3;
  int marginTop_ = 4;
  int marginRight_ = 3;
  int marginBottom_ = 4;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  bool view3D_ = true;
  TView3DOptions view3DOptions_;
  TChartTitle title_;
  TChartTitle foot_;
  TChartLegend legend_;
  TChartWall backWall_;
  TChartWall leftWall_;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  bool allowZoom_ = true;
  bool animatedZoom_ = false;
  TPanningMode allowPanning_ = TPanningMode::pmBoth;

  TZoomPanning zoom_;
  TZoomPanning panning_;
  int wheelAccumulator_ = 0;
};

}  // namespace tavimo::chart
