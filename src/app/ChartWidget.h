#pragma once
// The window control that holds the main chart: it gives the chart its
// client size and its screen's device pixel ratio, paints the chart's
// off-screen image (drawn at that ratio, so it is copied pixel for pixel)
// and passes the mouse and the wheel on to the chart, in logical pixels. A
// right click that does not drag asks for the chart's menu.

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>

namespace tavimo::chart {
class TChart;
class TRasterCanvas;
}  // namespace tavimo::chart

namespace tavimo::app {

class TChartWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TChartWidget(QWidget* parent);
  ~TChartWidget() override;

  chart::TChart& Chart() { return *chart_; }
  const chart::TRasterCanvas& Canvas() const { return *canvas_; }

  // Wheel input the window passes on while this control has the focus.
  void ForwardWheel(QWheelEvent* event);

  // Every axis back to its automatic range, as at start-up, undoing panning
  // and wheel scrolling.
  void ResetView();
  // The chart as shown, with the labels laid over it, one image pixel per
  // widget pixel.
  QImage Picture();

 signals:
  // The first complete frame reached the screen.
  void FirstFramePainted();
  // A right press and release no farther apart than the drag distance.
  void MenuRequested(const QPoint& globalPosition);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The chart follows the device pixel ratio of the screen the control is on.
  void FollowPixelRatio();

  chart::TRasterCanvas* canvas_;  // owned by the chart
  std::unique_ptr<chart::TChart> chart_;
  QPoint lastMousePosition_;
  // Where the right button went down, until the pointer moves a drag's distance away.
  std::optional<QPoint> rightPress_;
  bool painted_ = false;
  // The last paint raised and the chart has not changed since: the fault was
  // reported once and is not raised again by every expose of the control.
  bool paintFailed_ = false;
};

}  // namespace tavimo::app
