#pragma once

#include <windows.h>

#include "app_win32/gdi_objects.h"
#include "canvas/canvas.h"

namespace ws::app {

// A child window that shows a pixel canvas at an integer scale, every
// canvas pixel a scale x scale block, and reports mouse moves and clicks to
// its parent in canvas pixels (WM_NOTIFY, control_notifications.h). While
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
  // canvas's size times the scale, and repaints.
  void refresh();

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void notify(UINT code, LPARAM position);

  const canvas::Canvas& canvas_;
  int scale_;
  HWND window_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  void* bits_ = nullptr;
  int bitmapWidth_ = 0;
  int bitmapHeight_ = 0;
  bool pressed_ = false;
};

}  // namespace ws::app
