#include "chart/RasterCanvas.h"

#include <QGuiApplication>
#include <algorithm>
#include <stdexcept>

#include "chart/RasterCanvasInternal.h"

// Setting up the image and its painter, and the clip. The primitives are in
// RasterFill, RasterLines, RasterPolygon and RasterText.

namespace tavimo::chart {

using raster::ToQRect;

TRasterCanvas::TRasterCanvas() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::logic_error("the raster canvas needs a QGuiApplication for its fonts");
}

TRasterCanvas::~TRasterCanvas() { EndPainter(); }

Rect TRasterCanvas::SetupWindow(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  // The image has the device size: the design size at the scale.
  const int deviceWidth = Device(width);
  const int deviceHeight = Device(height);
  if (image_.width() != deviceWidth || image_.height() != deviceHeight) {
    EndPainter();
    image_ = width > 0 && height > 0 ? QImage(deviceWidth, deviceHeight, QImage::Format_RGB32) : QImage();
    if (!image_.isNull()) image_.fill(0xFFFFFFFFu);
    width_ = image_.width();
    height_ = image_.height();
  }
  clipped_ = false;
  painterClipValid_ = false;
  EnsurePainter();
  return {0, 0, width, height};
}

// The painter stays on the image between frames: beginning and ending it
// costs as much as filling a small frame. An image of another scale is
// presented with that device pixel ratio; the painter, which would draw in
// its logical pixels, is ended first and begun again on the next drawing.
void TRasterCanvas::ShowImage() {
  if (image_.isNull() || image_.devicePixelRatio() == Scale()) return;
  EndPainter();
  image_.setDevicePixelRatio(Scale());
}

bool TRasterCanvas::EnsurePainter() {
  // A copy of Image() taken by a caller shares the pixels; it must keep the
  // picture it was taken with, so the image is detached before drawing on.
  if (painter_.isActive() && image_.isDetached()) return true;
  EndPainter();
  if (image_.isNull()) return false;
  // Drawing is in device pixels: the image is unmarked until it is presented.
  image_.setDevicePixelRatio(1.0);
  // Detach before the painter takes the pixels, so direct writes and the
  // painter's always share one buffer.
  bits_ = image_.bits();
  stride_ = image_.bytesPerLine();
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setPen(Qt::NoPen);
  painterPenColor_ = 0;
  painterPenValid_ = false;
  painterClipValid_ = false;
  return true;
}

void TRasterCanvas::EndPainter() {
  if (painter_.isActive()) painter_.end();
  bits_ = nullptr;
}

Rect TRasterCanvas::DrawableArea() const {
  const Rect whole{0, 0, width_, height_};
  return clipped_ ? whole.Intersected(clip_) : whole;
}

void TRasterCanvas::ClipTo(const Rect& r) {
  const Rect n = Device(r.Normalized());
  clip_ = clipped_ ? clip_.Intersected(n) : n;
  clipped_ = true;
  painterClipValid_ = false;
}

void TRasterCanvas::ClearClip() {
  clipped_ = false;
  painterClipValid_ = false;
}

// colour 0 stands for "no pen" (every drawn colour carries alpha 0xFF).
void TRasterCanvas::SyncPainterPen(QRgb color) {
  if (painterPenValid_ && painterPenColor_ == color) return;
  if (color == 0)
    painter_.setPen(Qt::NoPen);
  else
    painter_.setPen(QColor::fromRgb(color));
  painterPenColor_ = color;
  painterPenValid_ = true;
}

void TRasterCanvas::SyncPainterClip() {
  if (painterClipValid_) return;
  if (clipped_)
    painter_.setClipRect(ToQRect(DrawableArea()));
  else
    painter_.setClipping(false);
  painterClipValid_ = true;
}

}  // namespace tavimo::chart
