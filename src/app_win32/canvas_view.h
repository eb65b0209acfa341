#pragma once

#include <windows.h>

#include <vector>

#include "app_win32/dpi_scale.h"
#include "app_win32/gdi_objects.h"
#include "canvas/canvas.h"

namespace ws::app {

// A child window that shows a pixel canvas at an integer scale times the
// screen's dpi / 96, each canvas pixel a block of whole screen pixels (no
// smoothing), and reports mouse moves and clicks to its parent in the canvas
// pixels under the mouse (WM_NOTIFY, control_notifications.h). While
// the left button is held it keeps the mouse, so positions outside it,
// negative ones included, still arrive.
class CanvasView {
 public:
  static void registerClass(HINSTANCE instance);

  CanvasView(HWND parent, int id, POINT place, const canvas::Canvas& canvas, int scale);
  ~CanvasView();
  CanvasView(const CanvasView&) = delete;
  CanvasView& operator=(const CanvasView&) = delete;

  HWND handle() const { return window_; }

  // Copies the canvas into the shown bitmap, resizes the window to the
  // canvas's size times the magnification, and repaints.
  void refresh();

  // Shows the canvas for a screen of `dpi` from now on.
  void setDpi(int dpi);

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void notify(UINT code, LPARAM position);

  // Makes the shown bitmap and the window fit the canvas's size.
  void resize(int width, int height);

  const canvas::Canvas& canvas_;
  int scale_;
  Magnification magnification_;
  HWND window_ = nullptr;
  // The canvas enlarged, one bitmap pixel per screen pixel.
  GdiObject<HBITMAP> bitmap_;
  void* bits_ = nullptr;
  int canvasWidth_ = 0;
  int canvasHeight_ = 0;
  // For every shown column and row, the canvas column and row it shows.
  std::vector<int> sourceColumns_;
  std::vector<int> sourceRows_;
  bool pressed_ = false;
};

}  // namespace ws::app
