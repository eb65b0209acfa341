#pragma once

#include <windows.h>

namespace ws::app {

// The screen resolution the window is drawn for. The functions that know
// about per-monitor resolutions exist only on newer systems; each is looked
// up when first needed and falls back to the system-wide resolution.

// Asks the system to leave scaling to the program, per monitor where it can
// (the program's manifest asks the same; this covers systems that do not
// read it). Call before the first window is created.
void enablePerMonitorDpiAwareness();

// The resolution `window` is drawn at, in dots per inch.
int windowDpi(HWND window);

// The outer size of a window whose client area is `client` at `dpi`.
SIZE outerSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

// `outer` moved as little as possible to lie on the work area of the
// monitor it is mostly on; a window larger than that area keeps its top
// left corner (and so its caption) on the screen.
RECT keptOnMonitor(RECT outer);

}  // namespace ws::app
