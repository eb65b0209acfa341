#pragma once

#include <windows.h>

namespace ws::app {

// WM_NOTIFY codes of the window's own controls. Positive codes stay clear
// of the common controls' notifications, which are all negative.
enum ControlNotification : UINT {
  kCanvasMouseMove = 1,  // NotifyPoint: the mouse moved over a canvas
  kCanvasClick = 2,      // NotifyPoint: pressed and released over a canvas
  kCheckToggle = 3,      // NotifyItem: the user toggled an item's check mark
};

// A position in the canvas's own pixels; negative or past its size while
// the button is held and the mouse has left it.
struct NotifyPoint {
  NMHDR header;
  POINT point;
};

struct NotifyItem {
  NMHDR header;
  int item;
};

// The containers (the scroll box, the panel) hand their children's
// notifications on to their own parent, so that the main window sees every
// control's WM_COMMAND, WM_NOTIFY and owner-draw messages.
bool isForwardedToParent(UINT message);

}  // namespace ws::app
