#pragma once
// The control that shows one price history: candles through a price view on
// the raster canvas at the screen's device pixel ratio, the zigzag of its
// swings and the level lines laid over them, and a crosshair. The mouse and
// keys zoom and pan the view. It computes nothing: the window hands it the
// points and level rows to draw and hears which bar, price and leg the user
// points at.

#include <QImage>
#include <QWidget>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "chart/CandleSeries.h"
#include "chart/PriceOverlays.h"
#include "chart/PriceView.h"
#include "chart/RasterCanvas.h"

namespace tavimo::app {

using chart::TChartLevelLine;
using chart::TChartPivot;

// A price band where levels of several legs meet; `strength` (1 and up)
// makes it more opaque.
struct TChartZone {
  double low = 0.0;
  double high = 0.0;
  int strength = 1;
  std::string label;
};

// A wave from one bar's price to another's.
struct TChartWave {
  int fromBar = 0;
  double fromPrice = 0.0;
  int toBar = 0;
  double toPrice = 0.0;
};

class TPriceChartWidget : public QWidget {
  Q_OBJECT
 public:
  // Pixels from a segment of the zigzag that a click still selects it by.
  static constexpr double kPickDistance = 6;

  explicit TPriceChartWidget(QWidget* parent);

  // The bars are read, not copied: they must outlive the control's use of them.
  void SetBars(const chart::TPriceColumns& bars);
  void SetColors(chart::TColor rising, chart::TColor falling);
  // The zigzag, its points in order; the last segment is drawn dashed when openLast.
  void SetZigzag(chart::TZigzag zigzag, bool openLast);
  // Segments (index i joins point i and i + 1) drawn thicker.
  void SetSelectedSegments(std::vector<int> segments);
  void SetLevelLines(std::vector<TChartLevelLine> lines);
  // Translucent bands across the plot, with a legend of their labels at the top left.
  void SetZones(std::vector<TChartZone> zones);
  // A wave drawn by hand, shown as a thick line; none clears it.
  void SetDrawnWave(std::optional<TChartWave> wave);
  // The bar nearest to x and that bar's high or low, whichever is nearer to y.
  std::optional<std::pair<int, double>> SnapToBar(const QPointF& p);
  // Log scale when possible; false (and linear) when a price is not above 0.
  bool SetLogScale(bool on);
  bool LogScale() const { return view_.Scale() == chart::TPriceScale::Log; }

  void FitAll();
  const chart::TPriceView& View() const { return view_; }
  chart::TPriceView& View() { return view_; }
  const chart::TCandleSeries& Series() const { return series_; }
  // The plot rectangle laid out for the current ranges, in logical pixels
  // (a fit that waited for the widget's size is settled first).
  chart::Rect Plot();
  // The chart as shown, one image pixel per device pixel.
  QImage Picture();
  // The zigzag segment within kPickDistance of p, the nearest; none when none is.
  std::optional<int> SegmentAt(const QPointF& p);

 signals:
  // The pointer is over bar `bar` (clamped to the bars) at price `price`.
  void CrosshairMoved(int bar, double price);
  // A left click that did not drag, at a segment of the zigzag or off it.
  void SegmentClicked(int segment, Qt::KeyboardModifiers modifiers);
  void EmptyClicked(Qt::KeyboardModifiers modifiers);
  // Ctrl+drag ended: the wave between the snapped ends of the drag.
  void WaveDrawn(const TChartWave& wave);
  // The first frame is on screen (start-up measurements wait for it).
  void FirstFramePainted();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Render();
  void DrawOverlays(const chart::Rect& plot);
  void DrawCrosshair(const chart::Rect& plot);
  // The bands, over the canvas' image: the canvas draws opaque colours only.
  void DrawZones(QImage& image, const chart::Rect& plot);
  void Changed() { update(); }

  chart::TRasterCanvas canvas_;
  chart::TPriceView view_;
  chart::TCandleSeries series_;
  chart::TPriceChartStyle style_;
  chart::Rect LaidOutPlot();
  chart::Rect plot_;
  // A fit waits for the plot's size, so the labels' room beside the latest
  // bars is measured on the plot the frame has.
  bool fitPending_ = false;
  bool painted_ = false;
  chart::TZigzag zigzag_;
  bool openLast_ = false;
  std::vector<int> selected_;
  std::vector<TChartLevelLine> levels_;
  std::vector<TChartZone> zones_;
  std::optional<TChartWave> drawnWave_;
  // The snapped start and the pointer of a Ctrl+drag under way.
  std::optional<std::pair<int, double>> waveStart_;
  QImage frame_;
  std::optional<QPointF> pointer_;
  std::optional<QPointF> press_;
  QPointF lastDrag_;
  bool dragging_ = false;
};

}  // namespace tavimo::app
Q_DECLARE_METATYPE(tavimo::app::TChartWave)
