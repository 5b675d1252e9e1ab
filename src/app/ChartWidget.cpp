#include "app/ChartWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <exception>
#include <optional>

#include "app/ErrorReporting.h"
#include "chart/Chart.h"
#include "chart/MainChart.h"
#include "chart/RasterCanvas.h"

namespace tavimo::app {

namespace {
chart::TShiftState ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  chart::TShiftState state = 0;
  if (modifiers & Qt::ShiftModifier) state |= chart::ssShift;
  if (modifiers & Qt::ControlModifier) state |= chart::ssCtrl;
  if (modifiers & Qt::AltModifier) state |= chart::ssAlt;
  if (buttons & Qt::LeftButton) state |= chart::ssLeft;
  if (buttons & Qt::RightButton) state |= chart::ssRight;
  if (buttons & Qt::MiddleButton) state |= chart::ssMiddle;
  return state;
}

std::optional<chart::TMouseButton> MouseButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return chart::TMouseButton::mbLeft;
    case Qt::RightButton: return chart::TMouseButton::mbRight;
    case Qt::MiddleButton: return chart::TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}
}  // namespace

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent) {
  auto canvas = std::make_unique<chart::TRasterCanvas>();
  canvas_ = canvas.get();
  chart_ = chart::BuildMainChart(std::move(canvas));
  chart_->SetInvalidateHandler([this] {
    paintFailed_ = false;
    update();
  });
  FollowPixelRatio();
  // The chart paints every pixel of its image, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
}

TChartWidget::~TChartWidget() = default;

void TChartWidget::FollowPixelRatio() { chart_->SetScale(devicePixelRatioF()); }

bool TChartWidget::event(QEvent* event) {
  // Moved to a screen of another ratio (or the ratio changed): redraw at it.
  if (event->type() == QEvent::ScreenChangeInternal) FollowPixelRatio();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  if (event->type() == QEvent::DevicePixelRatioChange) FollowPixelRatio();
#endif
  if (event->type() == CancelModeEventType()) {
    // An error box is about to open: end a drag as a release would.
    chart_->MouseUp(chart::TMouseButton::mbRight, 0, lastMousePosition_.x(),
                    lastMousePosition_.y());
    return true;
  }
  return QWidget::event(event);
}

void TChartWidget::paintEvent(QPaintEvent*) {
  // Any change of ratio repaints; a change that came without its event is met here.
  FollowPixelRatio();
  try {
    // After a failed paint the image stays as that paint left it until the
    // chart changes, so the error box (which exposes the control when it
    // closes) does not bring the same fault back.
    if (!paintFailed_) chart_->PaintRequest();
  } catch (...) {
    paintFailed_ = true;
    // Reported from the event loop, outside the paint: a box must not open
    // while the window system waits for this frame.
    QMetaObject::invokeMethod(
        this, [error = std::current_exception()] { std::rethrow_exception(error); }, Qt::QueuedConnection);
  }
  // The image is marked with its ratio, so this copies it 1:1.
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_->Image());
  if (!painted_) {
    painted_ = true;
    emit FirstFramePainted();
  }
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
  FollowPixelRatio();
  chart_->SetClientSize(width(), height());
  QWidget::resizeEvent(event);
}

void TChartWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  lastMousePosition_ = p;
  if (event->button() == Qt::RightButton) rightPress_ = p;
  if (const auto button = MouseButton(event->button())) {
    // Held explicitly, so an error box can find and end the drag.
    grabMouse();
    chart_->MouseDown(*button, ShiftState(event->modifiers(), event->buttons()), p.x(), p.y());
  }
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  lastMousePosition_ = p;
  if (rightPress_ && (p - *rightPress_).manhattanLength() >= QApplication::startDragDistance()) rightPress_.reset();
  chart_->MouseMove(ShiftState(event->modifiers(), event->buttons()), p.x(), p.y());
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  lastMousePosition_ = p;
  if (event->buttons() == Qt::NoButton && QWidget::mouseGrabber() == this) releaseMouse();
  if (const auto button = MouseButton(event->button()))
    chart_->MouseUp(*button, ShiftState(event->modifiers(), event->buttons()), p.x(), p.y());
  if (event->button() == Qt::RightButton) {
    // A right click that stayed within the drag distance was not a pan.
    const bool click = rightPress_ && (p - *rightPress_).manhattanLength() < QApplication::startDragDistance();
    rightPress_.reset();
    if (click) emit MenuRequested(event->globalPosition().toPoint());
  }
}

void TChartWidget::wheelEvent(QWheelEvent* event) {
  // Wheel input reaches the chart only while it has the keyboard focus.
  if (!hasFocus()) {
    event->ignore();
    return;
  }
  ForwardWheel(event);
}

void TChartWidget::ResetView() { chart::RestoreAutomaticAxes(*chart_); }

QImage TChartWidget::Picture() {
  chart_->PaintRequest();
  QImage picture = canvas_->Image().convertToFormat(QImage::Format_RGB32);
  QPainter painter(&picture);
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible()) child->render(&painter, child->pos(), QRegion(), QWidget::DrawChildren);
  return picture;
}

void TChartWidget::ForwardWheel(QWheelEvent* event) {
  chart_->MouseWheel(event->angleDelta().y(), ShiftState(event->modifiers(), event->buttons()));
  event->accept();
}

}  // namespace tavimo::app
