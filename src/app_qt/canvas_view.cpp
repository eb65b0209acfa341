#include "app_qt/canvas_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstddef>

namespace ws::app {

QRgb toQRgb(canvas::Colour colour) {
  const int red = static_cast<int>(colour & 0xFFu);
  const int green = static_cast<int>((colour >> 8) & 0xFFu);
  const int blue = static_cast<int>((colour >> 16) & 0xFFu);
  return qRgb(red, green, blue);
}

CanvasView::CanvasView(int scale, QWidget* parent) : QWidget(parent), scale_(scale) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::setCanvas(const canvas::Canvas* canvas) {
  canvas_ = canvas;
  refresh();
}

void CanvasView::refresh() {
  if (canvas_ == nullptr || canvas_->width() <= 0 || canvas_->height() <= 0) {
    image_ = QImage();
    update();
    return;
  }
  const int width = canvas_->width();
  const int height = canvas_->height();
  if (image_.width() != width || image_.height() != height) {
    image_ = QImage(width, height, QImage::Format_RGB32);
  }
  const auto pixels = canvas_->pixels();
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      line[x] = toQRgb(pixels[row + static_cast<std::size_t>(x)]);
    }
  }
  update();
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (image_.isNull()) return;
  // Nearest-neighbour scaling: every canvas pixel becomes a scale x scale block.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, image_.width() * scale_, image_.height() * scale_), image_);
}

int CanvasView::toCanvas(double widgetCoordinate) const {
  return static_cast<int>(std::floor(widgetCoordinate / scale_));
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
  const QPointF position = event->position();
  Q_EMIT mouseMoved(toCanvas(position.x()), toCanvas(position.y()));
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (rect().contains(event->position().toPoint())) Q_EMIT clicked();
}

}  // namespace ws::app
