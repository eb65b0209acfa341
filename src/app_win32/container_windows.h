#pragma once

#include <windows.h>

namespace ws::app {

// The two containers of the window: ScrollBox1, which scrolls the one
// child it holds (the world map) with its scroll bars and the arrow keys,
// and Panel1, a raised frame around the kind buttons and the object lists.
// Both hand their children's notifications on to their parent.
inline constexpr wchar_t kScrollBoxClass[] = L"WorldsmithScrollBox";
inline constexpr wchar_t kPanelClass[] = L"WorldsmithPanel";

void registerContainerClasses(HINSTANCE instance);

// The screen resolution the box scrolls for: one arrow moves 16 pixels at
// 96 DPI, and as many more at a higher resolution.
void setScrollBoxDpi(HWND scrollBox, int dpi);

// Fits the scroll bars to the scroll box's child after it was resized and
// keeps the scroll position within the new range.
void updateScrollBox(HWND scrollBox);

}  // namespace ws::app
