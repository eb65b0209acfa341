#include "app_win32/container_windows.h"

#include <algorithm>

#include "app_win32/control_notifications.h"
#include "app_win32/dpi_scale.h"
#include "app_win32/gdi_objects.h"

namespace ws::app {

bool isForwardedToParent(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return true;
    default:
      return false;
  }
}

namespace {

// Pixels one arrow (of the keyboard or of a scroll bar) moves the content
// at 96 DPI; the box keeps the resolution setScrollBoxDpi gave it.
constexpr int kLineStep = 16;

int lineStep(HWND box) {
  const auto dpi = static_cast<int>(GetWindowLongPtrW(box, GWLP_USERDATA));
  return scaleToDpi(kLineStep, dpi > 0 ? dpi : kLayoutDpi);
}

int scrollPosition(HWND box, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  GetScrollInfo(box, bar, &info);
  return info.nPos;
}

void placeContent(HWND box) {
  HWND content = GetWindow(box, GW_CHILD);
  if (content == nullptr) return;
  SetWindowPos(content, nullptr, -scrollPosition(box, SB_HORZ), -scrollPosition(box, SB_VERT), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void scroll(HWND box, int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(box, bar, &info);
  const int page = static_cast<int>(info.nPage);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP:
      position -= lineStep(box);
      break;
    case SB_LINEDOWN:
      position += lineStep(box);
      break;
    case SB_PAGEUP:
      position -= page;
      break;
    case SB_PAGEDOWN:
      position += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = info.nMin;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  const int last = std::max(info.nMin, info.nMax - std::max(page, 1) + 1);
  info.fMask = SIF_POS;
  info.nPos = std::clamp(position, info.nMin, last);
  SetScrollInfo(box, bar, &info, TRUE);
  placeContent(box);
}

LRESULT CALLBACK scrollBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isForwardedToParent(message)) return SendMessageW(GetParent(box), message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      updateScrollBox(box);
      return 0;
    case WM_HSCROLL:
      scroll(box, SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      scroll(box, SB_VERT, LOWORD(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT:
          scroll(box, SB_HORZ, SB_LINEUP);
          return 0;
        case VK_RIGHT:
          scroll(box, SB_HORZ, SB_LINEDOWN);
          return 0;
        case VK_UP:
          scroll(box, SB_VERT, SB_LINEUP);
          return 0;
        case VK_DOWN:
          scroll(box, SB_VERT, SB_LINEDOWN);
          return 0;
        default:
          break;
      }
      break;
    case WM_LBUTTONDOWN:
      SetFocus(box);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(box, message, wParam, lParam);
}

LRESULT CALLBACK panelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isForwardedToParent(message)) return SendMessageW(GetParent(panel), message, wParam, lParam);
  if (message == WM_PAINT) {
    const PaintDC dc(panel);
    RECT client{};
    GetClientRect(panel, &client);
    DrawEdge(dc.get(), &client, BDR_RAISEDINNER, BF_RECT);
    return 0;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

}  // namespace

void registerContainerClasses(HINSTANCE instance) {
  registerClass(instance, kScrollBoxClass, &scrollBoxProc);
  registerClass(instance, kPanelClass, &panelProc);
}

void setScrollBoxDpi(HWND box, int dpi) {
  SetWindowLongPtrW(box, GWLP_USERDATA, dpi);
}

void updateScrollBox(HWND box) {
  HWND content = GetWindow(box, GW_CHILD);
  if (content == nullptr) return;
  RECT contentRect{};
  GetWindowRect(content, &contentRect);
  const int sizes[2] = {contentRect.right - contentRect.left, contentRect.bottom - contentRect.top};
  // Showing one bar can make the other necessary; two rounds settle it.
  for (int round = 0; round < 2; ++round) {
    RECT client{};
    GetClientRect(box, &client);
    const int pages[2] = {client.right, client.bottom};
    for (int bar : {SB_HORZ, SB_VERT}) {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_RANGE | SIF_PAGE;
      info.nMin = 0;
      info.nMax = sizes[bar] - 1;
      info.nPage = static_cast<UINT>(std::max(pages[bar], 0));
      SetScrollInfo(box, bar, &info, TRUE);
    }
  }
  placeContent(box);
}

}  // namespace ws::app
