#include "app/PriceChartWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cmath>

#include "chart/Palette.h"

namespace tavimo::app {

namespace {
// One key press pans by this share of the plot, and zooms by this factor.
constexpr double kKeyPanShare = 0.1;
constexpr double kKeyZoom = 1.25;
constexpr chart::TColor kCrosshairColor = chart::clGray;
constexpr qsizetype kLegendLines = 5;

int Round(double v) {
  if (!std::isfinite(v)) return v < 0 ? -1000000 : 1000000;
  return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

// The distance from p to the segment a-b.
double SegmentDistance(QPointF p, QPointF a, QPointF b) {
  const QPointF d = b - a;
  const double length2 = QPointF::dotProduct(d, d);
  double t = length2 > 0 ? QPointF::dotProduct(p - a, d) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const QPointF q = a + t * d - p;
  return std::sqrt(QPointF::dotProduct(q, q));
}
}  // namespace

TPriceChartWidget::TPriceChartWidget(QWidget* parent) : QWidget(parent) {
  // The canvas paints every pixel, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(200, 150);
}

void TPriceChartWidget::SetBars(const chart::TPriceColumns& bars) {
  view_.SetBars(bars);
  FitAll();
}

void TPriceChartWidget::SetColors(chart::TColor rising, chart::TColor falling) {
  series_.SetColors(rising, falling);
  Changed();
}

void TPriceChartWidget::SetZigzag(chart::TZigzag zigzag, bool openLast) {
  zigzag_ = std::move(zigzag);
  openLast_ = openLast;
  selected_.clear();
  Changed();
}

void TPriceChartWidget::SetSelectedSegments(std::vector<int> segments) {
  selected_ = std::move(segments);
  Changed();
}

void TPriceChartWidget::SetZones(std::vector<TChartZone> zones) {
  zones_ = std::move(zones);
  Changed();
}

void TPriceChartWidget::SetDrawnWave(std::optional<TChartWave> wave) {
  drawnWave_ = wave;
  Changed();
}

std::optional<std::pair<int, double>> TPriceChartWidget::SnapToBar(const QPointF& p) {
  const int count = view_.BarCount();
  if (count == 0) return std::nullopt;
  const chart::Rect plot = Plot();
  const int bar = std::clamp(static_cast<int>(std::lround(view_.XToBar(p.x(), plot))), 0, count - 1);
  const double high = view_.Bars().high[static_cast<std::size_t>(bar)];
  const double low = view_.Bars().low[static_cast<std::size_t>(bar)];
  const double toHigh = std::abs(view_.PriceToY(high, plot) - p.y());
  const double toLow = std::abs(view_.PriceToY(low, plot) - p.y());
  return std::pair{bar, toHigh <= toLow ? high : low};
}

void TPriceChartWidget::SetLevelLines(std::vector<TChartLevelLine> lines) {
  levels_ = std::move(lines);
  Changed();
}

bool TPriceChartWidget::SetLogScale(bool on) {
  const bool done = view_.SetScale(on ? chart::TPriceScale::Log : chart::TPriceScale::Linear);
  Changed();
  return done;
}

void TPriceChartWidget::FitAll() {
  view_.FitAll();
  fitPending_ = true;
  if (isVisible()) Plot();  // settles the fit now; a hidden widget waits for its size
  Changed();
}

chart::Rect TPriceChartWidget::LaidOutPlot() {
  // The plot depends on the labels, which depend on the ranges: laid out afresh.
  canvas_.SetScale(devicePixelRatioF());
  canvas_.SetupWindow(width(), height());
  plot_ = chart::LayoutPriceChart(canvas_, {0, 0, width(), height()}, view_, style_).plot;
  return plot_;
}

chart::Rect TPriceChartWidget::Plot() {
  if (fitPending_ && isVisible() && width() > 0 && height() > 0) {
    fitPending_ = false;
    view_.KeepRightFree(chart::LevelLabelSpace(canvas_, levels_, style_.labelFont), LaidOutPlot());
  }
  return LaidOutPlot();
}

void TPriceChartWidget::Render() {
  Plot();  // settles a fit that waited for the size
  canvas_.SetScale(devicePixelRatioF());
  const chart::Rect bounds = canvas_.SetupWindow(width(), height());
  const chart::TPriceChartLayout layout = chart::DrawPriceChart(canvas_, bounds, series_, view_, style_);
  plot_ = layout.plot;
  canvas_.ClipTo(plot_);
  DrawOverlays(plot_);
  DrawCrosshair(plot_);
  canvas_.ClearClip();
  canvas_.ShowImage();
  frame_ = canvas_.Image();
  if (!zones_.empty()) DrawZones(frame_, plot_);
}

void TPriceChartWidget::DrawZones(QImage& image, const chart::Rect& plot) {
  QPainter painter(&image);
  painter.setClipRect(QRect(plot.left, plot.top, plot.Width(), plot.bottom - plot.top));
  QStringList legend;
  for (const TChartZone& zone : zones_) {
    const double top = view_.PriceToY(zone.high, plot);
    const double bottom = view_.PriceToY(zone.low, plot);
    // At least two pixels, so a zone of one price still shows.
    const double height = std::max(2.0, bottom - top);
    const int alpha = std::min(40 + 30 * (std::max(zone.strength, 1) - 1), 160);
    painter.fillRect(QRectF(plot.left, (top + bottom - height) / 2, plot.Width(), height), QColor(255, 140, 0, alpha));
    // The zones come strongest first: the legend names the first few.
    if (legend.size() < kLegendLines) legend << QString::fromStdString(zone.label);
    else if (legend.size() == kLegendLines) legend << QStringLiteral("…");
  }
  painter.setPen(Qt::black);
  QFont font = painter.font();
  font.setPixelSize(12);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int y = plot.top + 4;
  for (const QString& line : legend) {
    const QRect box(plot.left + 4, y, metrics.horizontalAdvance(line) + 8, metrics.height() + 2);
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.drawText(box, Qt::AlignCenter, line);
    y += box.height();
  }
}

void TPriceChartWidget::DrawOverlays(const chart::Rect& plot) {
  // Level lines under the zigzag, so the swings stay readable.
  chart::DrawLevelLines(canvas_, plot, view_, levels_, style_.labelFont, style_.background);
  if (drawnWave_) {
    canvas_.SetPen({chart::clFuchsia, 3, chart::TPenStyle::psSolid});
    canvas_.StrokeLine(Round(view_.BarToX(drawnWave_->fromBar, plot)), Round(view_.PriceToY(drawnWave_->fromPrice, plot)),
                       Round(view_.BarToX(drawnWave_->toBar, plot)), Round(view_.PriceToY(drawnWave_->toPrice, plot)));
  }
  if (waveStart_ && pointer_) {
    canvas_.SetPen({chart::clFuchsia, 1, chart::TPenStyle::psDash});
    canvas_.StrokeLine(Round(view_.BarToX(waveStart_->first, plot)), Round(view_.PriceToY(waveStart_->second, plot)),
                       Round(pointer_->x()), Round(pointer_->y()));
  }
  chart::DrawZigzag(canvas_, plot, view_, zigzag_, openLast_, selected_, style_.labelFont);
}

void TPriceChartWidget::DrawCrosshair(const chart::Rect& plot) {
  if (!pointer_) return;
  const int x = Round(pointer_->x());
  const int y = Round(pointer_->y());
  if (x < plot.left || x >= plot.right || y < plot.top || y >= plot.bottom) return;
  canvas_.SetPen({kCrosshairColor, 1, chart::TPenStyle::psDot});
  canvas_.StrokeLine(plot.left, y, plot.right, y);
  canvas_.StrokeLine(x, plot.top, x, plot.bottom);
}

QImage TPriceChartWidget::Picture() {
  Render();
  return frame_;
}

std::optional<int> TPriceChartWidget::SegmentAt(const QPointF& p) {
  const chart::Rect plot = Plot();
  std::optional<int> best;
  double bestDistance = kPickDistance;
  const std::vector<TChartPivot>& pivots = zigzag_.Pivots();
  for (std::size_t i = 0; i + 1 < pivots.size(); ++i) {
    const QPointF a(view_.BarToX(pivots[i].bar, plot), view_.PriceToY(pivots[i].price, plot));
    const QPointF b(view_.BarToX(pivots[i + 1].bar, plot), view_.PriceToY(pivots[i + 1].price, plot));
    const double d = SegmentDistance(p, a, b);
    if (d <= bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

bool TPriceChartWidget::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal) update();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  if (event->type() == QEvent::DevicePixelRatioChange) update();
#endif
  return QWidget::event(event);
}

void TPriceChartWidget::paintEvent(QPaintEvent*) {
  Render();
  // The image is marked with its ratio, so this copies it 1:1.
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
  if (!painted_) {
    painted_ = true;
    emit FirstFramePainted();
  }
}

void TPriceChartWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  press_ = event->position();
  lastDrag_ = event->position();
  dragging_ = false;
  // Ctrl+drag draws a wave instead of panning.
  if (event->modifiers() & Qt::ControlModifier) waveStart_ = SnapToBar(event->position());
}

void TPriceChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  pointer_ = p;
  if (press_ && (event->buttons() & Qt::LeftButton)) {
    if (!dragging_ && (p - *press_).manhattanLength() >= QApplication::startDragDistance()) dragging_ = true;
    if (dragging_ && !waveStart_) {
      view_.Pan(p.x() - lastDrag_.x(), p.y() - lastDrag_.y(), Plot());
      lastDrag_ = p;
    }
  }
  const chart::Rect plot = Plot();
  if (view_.BarCount() > 0) {
    const int bar = std::clamp(static_cast<int>(std::lround(view_.XToBar(p.x(), plot))), 0, view_.BarCount() - 1);
    emit CrosshairMoved(bar, view_.YToPrice(p.y(), plot));
  }
  update();
}

void TPriceChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !press_) return QWidget::mouseReleaseEvent(event);
  const bool click = !dragging_;
  press_.reset();
  dragging_ = false;
  if (waveStart_) {
    const std::pair<int, double> start = *waveStart_;
    waveStart_.reset();
    update();
    const std::optional<std::pair<int, double>> end = SnapToBar(event->position());
    if (!click && end && (end->first != start.first || end->second != start.second))
      emit WaveDrawn({start.first, start.second, end->first, end->second});
    return;
  }
  if (!click) return;
  if (const std::optional<int> segment = SegmentAt(event->position()))
    emit SegmentClicked(*segment, event->modifiers());
  else
    emit EmptyClicked(event->modifiers());
}

void TPriceChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FitAll();
}

void TPriceChartWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return event->ignore();
  const chart::Rect plot = Plot();
  const double factor = chart::TPriceView::WheelFactor(delta);
  if (event->modifiers() & Qt::ControlModifier)
    view_.ZoomPrice(factor, event->position().y(), plot);
  else
    view_.ZoomTime(factor, event->position().x(), plot);
  event->accept();
  update();
}

void TPriceChartWidget::keyPressEvent(QKeyEvent* event) {
  const chart::Rect plot = Plot();
  const double dx = plot.Width() * kKeyPanShare;
  const double dy = (plot.bottom - plot.top) * kKeyPanShare;
  const double centreX = (plot.left + plot.right) / 2.0;
  switch (event->key()) {
    case Qt::Key_Home: FitAll(); break;
    // The arrow shows more in its direction: the content moves the other way.
    case Qt::Key_Left: view_.Pan(dx, 0, plot); break;
    case Qt::Key_Right: view_.Pan(-dx, 0, plot); break;
    case Qt::Key_Up: view_.Pan(0, dy, plot); break;
    case Qt::Key_Down: view_.Pan(0, -dy, plot); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: view_.ZoomTime(kKeyZoom, centreX, plot); break;
    case Qt::Key_Minus: view_.ZoomTime(1 / kKeyZoom, centreX, plot); break;
    default: return QWidget::keyPressEvent(event);
  }
  event->accept();
  update();
}

void TPriceChartWidget::leaveEvent(QEvent* event) {
  pointer_.reset();
  update();
  QWidget::leaveEvent(event);
}

}  // namespace tavimo::app
