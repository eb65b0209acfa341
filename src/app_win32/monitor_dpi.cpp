#include "app_win32/monitor_dpi.h"

#include <algorithm>

#include "app_win32/dpi_scale.h"

namespace ws::app {
namespace {

// The per-monitor awareness contexts, as the system numbers them.
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const auto kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
// PROCESS_PER_MONITOR_DPI_AWARE of the older call.
constexpr int kProcessPerMonitorAware = 2;
// DPI_AWARENESS_UNAWARE.
constexpr int kUnaware = 0;

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) module = LoadLibraryW(library);
  if (module == nullptr) return nullptr;
  // The address is cast to the function's own type, as it was exported.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using SetContextFunction = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFunction = HRESULT(WINAPI*)(int);
using GetContextFunction = HANDLE(WINAPI*)();
using AwarenessFunction = int(WINAPI*)(HANDLE);
using WindowDpiFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int systemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kLayoutDpi;
}

// True when the thread draws its windows unscaled at the monitor's
// resolution. Systems without awareness contexts report false.
bool threadIsDpiAware() {
  static const auto current =
      systemFunction<GetContextFunction>(L"user32.dll", "GetThreadDpiAwarenessContext");
  static const auto awareness =
      systemFunction<AwarenessFunction>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  return current != nullptr && awareness != nullptr && awareness(current()) != kUnaware;
}

}  // namespace

void enablePerMonitorDpiAwareness() {
  if (threadIsDpiAware()) return;  // the manifest was read
  if (const auto setContext =
          systemFunction<SetContextFunction>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    if (setContext(kPerMonitorAwareV2) || setContext(kPerMonitorAware)) return;
  }
  if (const auto setAwareness =
          systemFunction<SetAwarenessFunction>(L"shcore.dll", "SetProcessDpiAwareness")) {
    if (SUCCEEDED(setAwareness(kProcessPerMonitorAware))) return;
  }
  // The oldest systems know only the one system-wide resolution.
  SetProcessDPIAware();
}

// An aware window asks for its monitor's resolution. Otherwise the screen's
// own resolution counts: a system that scales unaware windows reports 96
// there, and one that does not scale them (Wine) reports the resolution the
// window must draw itself at.
int windowDpi(HWND window) {
  static const auto forWindow = systemFunction<WindowDpiFunction>(L"user32.dll", "GetDpiForWindow");
  if (forWindow != nullptr && threadIsDpiAware()) {
    if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  return systemDpi();
}

SIZE outerSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      systemFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT outer{0, 0, client.cx, client.cy};
  if (adjustForDpi != nullptr) {
    adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  return {outer.right - outer.left, outer.bottom - outer.top};
}

RECT keptOnMonitor(RECT outer) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor)) return outer;
  const RECT& work = monitor.rcWork;
  const int dx = std::max(std::min(0L, work.right - outer.right), work.left - outer.left);
  const int dy = std::max(std::min(0L, work.bottom - outer.bottom), work.top - outer.top);
  OffsetRect(&outer, dx, dy);
  return outer;
}

}  // namespace ws::app
