#include "app_win32/canvas_view.h"

#include <windowsx.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app_win32/control_notifications.h"
#include "app_win32/window_owner.h"

namespace ws::app {
namespace {

constexpr wchar_t kClassName[] = L"WorldsmithCanvas";

// A canvas colour is 0x00BBGGRR; a 32-bit DIB pixel reads 0x00RRGGBB.
std::uint32_t toDibPixel(canvas::Colour colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// Floor division, so that -1 .. -scale are canvas pixel -1 and not 0.
int toCanvas(int windowCoordinate, int scale) {
  return windowCoordinate >= 0 ? windowCoordinate / scale
                               : -((-windowCoordinate + scale - 1) / scale);
}

}  // namespace

void CanvasView::registerClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &CanvasView::windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
}

CanvasView::CanvasView(HWND parent, int id, POINT place, const canvas::Canvas& canvas, int scale)
    : canvas_(canvas), scale_(scale) {
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, place.x, place.y,
                  canvas.width() * scale, canvas.height() * scale, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                  this);
  refresh();
}

CanvasView::~CanvasView() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK CanvasView::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CanvasView* view = windowOwner<CanvasView>(window, message, lParam);
  if (view == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) view->window_ = window;
  return view->handleMessage(message, wParam, lParam);
}

LRESULT CanvasView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the bitmap covers the whole window
    case WM_MOUSEMOVE:
      notify(kCanvasMouseMove, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(window_);
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      ReleaseCapture();
      RECT client{};
      GetClientRect(window_, &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      // Released elsewhere, the press is abandoned as a button does it.
      if (PtInRect(&client, at)) notify(kCanvasClick, lParam);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void CanvasView::notify(UINT code, LPARAM position) {
  NotifyPoint notification{};
  notification.header.hwndFrom = window_;
  notification.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window_));
  notification.header.code = code;
  // Signed: with the mouse captured, positions left of or above the window
  // arrive negative.
  notification.point.x = toCanvas(GET_X_LPARAM(position), scale_);
  notification.point.y = toCanvas(GET_Y_LPARAM(position), scale_);
  SendMessageW(GetParent(window_), WM_NOTIFY, notification.header.idFrom,
               reinterpret_cast<LPARAM>(&notification));
}

void CanvasView::refresh() {
  const int width = canvas_.width();
  const int height = canvas_.height();
  if (window_ == nullptr) return;
  if (width != bitmapWidth_ || height != bitmapHeight_) {
    bitmap_.reset();
    bits_ = nullptr;
    bitmapWidth_ = width;
    bitmapHeight_ = height;
    if (width > 0 && height > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top-down, as the canvas
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    }
    SetWindowPos(window_, nullptr, 0, 0, width * scale_, height * scale_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (bits_ != nullptr) {
    GdiFlush();  // GDI may still be reading the bitmap
    auto* out = static_cast<std::uint32_t*>(bits_);
    const auto pixels = canvas_.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i)
      out[i] = toDibPixel(pixels[i]);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

// The bitmap goes through a memory device context and StretchBlt: drawing
// the DIB directly with a partial source rectangle is not placed the same
// way by every GDI, while a blit from a selected bitmap is.
void CanvasView::paint() {
  const PaintDC dc(window_);
  RECT client{};
  GetClientRect(window_, &client);
  if (bitmap_ == nullptr) {
    FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  const MemoryDC source(dc.get());
  const Selection selected(source.get(), bitmap_.get());
  // Plain pixel replication, no smoothing.
  SetStretchBltMode(dc.get(), COLORONCOLOR);
  StretchBlt(dc.get(), 0, 0, bitmapWidth_ * scale_, bitmapHeight_ * scale_, source.get(), 0, 0,
             bitmapWidth_, bitmapHeight_, SRCCOPY);
}

}  // namespace ws::app
