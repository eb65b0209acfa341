#pragma once

#include <QImage>
#include <QWidget>

#include "canvas/canvas.h"

namespace ws::app {

// Shows one of the model's pixel canvases, scaled by a whole factor without
// smoothing, and reports the mouse in the canvas's own pixels. The widget's
// coordinates are its own, so a scroll area around it does not shift them;
// while a button is held Qt keeps sending moves to the widget, also beyond
// its edges, which gives positions outside the canvas, negative included.
class CanvasView : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasView(int scale, QWidget* parent = nullptr);

  // The canvas to show; it must outlive the view or be replaced first.
  void setCanvas(const canvas::Canvas* canvas);

  // Converts the canvas again and repaints. Call after every change.
  void refresh();

  // What is on screen, in canvas pixels (for tests and screenshots).
  const QImage& image() const { return image_; }

 Q_SIGNALS:
  void mouseMoved(int x, int y);
  // A left press and release both on the view, as a click on a control.
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int toCanvas(double widgetCoordinate) const;

  int scale_;
  const canvas::Canvas* canvas_ = nullptr;
  QImage image_;
  bool pressed_ = false;
};

// A canvas colour 0x00BBGGRR as Qt's 0xAARRGGBB, opaque.
QRgb toQRgb(canvas::Colour colour);

}  // namespace ws::app
