#pragma once

// Reading the native window as a user sees it, for the window tests: the
// message queue run, mouse positions, where controls sit and which pixels
// the screen shows.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app_win32/gdi_objects.h"
#include "canvas/canvas.h"

namespace ws::app::probe {

// Runs what the window has queued: paints, posted messages, timers.
inline void pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

inline LPARAM pointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                    static_cast<WORD>(static_cast<short>(y)));
}

// The window's rectangle in its parent's client coordinates.
inline RECT placeInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The part of `window` the screen shows (its client area clipped by its
// ancestors and by the screen, which at 192 DPI is smaller than the
// window), in its own client coordinates.
inline RECT visiblePart(HWND window) {
  RECT visible{};
  GetClientRect(window, &visible);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&visible), 2);
  const int screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen{screenLeft, screenTop, screenLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    screenTop + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  IntersectRect(&visible, &visible, &screen);
  for (HWND parent = GetParent(window); parent != nullptr; parent = GetParent(parent)) {
    RECT client{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&visible, &visible, &client);
  }
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&visible), 2);
  return visible;
}

// Pixels that the screen shows of `view` and that differ from the model's
// canvas enlarged `scale` times dpi / 96 by repeating pixels (screen pixel s
// shows canvas pixel s * 96 / (scale * dpi)); -1 when nothing could be read.
inline int pixelsDifferingFrom(HWND view, const canvas::Canvas& canvas, int scale, int dpi = 96) {
  RedrawWindow(GetAncestor(view, GA_ROOT), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const RECT area = visiblePart(view);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return -1;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const GdiObject<HBITMAP> shot(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const WindowDC screen(view);
    const MemoryDC memory(screen.get());
    const Selection selected(memory.get(), shot.get());
    if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) {
      return -1;
    }
  }
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t shown = pixels[y * width + x] & 0xFFFFFFu;  // 0x00RRGGBB
      const canvas::Colour expected =
          canvas.pixel((area.left + x) * 96 / (scale * dpi), (area.top + y) * 96 / (scale * dpi));
      const std::uint32_t expectedShown =
          ((expected & 0xFFu) << 16) | (expected & 0xFF00u) | ((expected >> 16) & 0xFFu);
      if (shown != expectedShown) ++differing;
    }
  }
  return differing;
}

inline std::vector<char> fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace ws::app::probe
