#include "app_win32/canvas_view.h"

#include <windowsx.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app_win32/control_notifications.h"
#include "app_win32/window_owner.h"

namespace ws::app {
namespace {

constexpr wchar_t kClassName[] = L"WorldsmithCanvas";

// A canvas colour is 0x00BBGGRR; a 32-bit DIB pixel reads 0x00RRGGBB.
std::uint32_t toDibPixel(canvas::Colour colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The canvas pixel each of `shownLength` screen pixels shows.
std::vector<int> sourcePixels(int shownLength, const Magnification& magnification) {
  std::vector<int> sources(static_cast<std::size_t>(shownLength));
  for (int i = 0; i < shownLength; ++i)
    sources[static_cast<std::size_t>(i)] = magnification.canvasPixelAt(i);
  return sources;
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
    : canvas_(canvas), scale_(scale), magnification_(magnification(scale, kLayoutDpi)) {
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
  // arrive negative, and are rounded down to the pixels there too.
  notification.point.x = magnification_.canvasPixelAt(GET_X_LPARAM(position));
  notification.point.y = magnification_.canvasPixelAt(GET_Y_LPARAM(position));
  SendMessageW(GetParent(window_), WM_NOTIFY, notification.header.idFrom,
               reinterpret_cast<LPARAM>(&notification));
}

void CanvasView::setDpi(int dpi) {
  magnification_ = magnification(scale_, dpi);
  canvasWidth_ = 0;  // the next refresh makes the bitmap again
  canvasHeight_ = 0;
  refresh();
}

void CanvasView::resize(int width, int height) {
  bitmap_.reset();
  bits_ = nullptr;
  canvasWidth_ = width;
  canvasHeight_ = height;
  const int shownWidth = magnification_.firstScreenPixel(width);
  const int shownHeight = magnification_.firstScreenPixel(height);
  sourceColumns_ = sourcePixels(shownWidth, magnification_);
  sourceRows_ = sourcePixels(shownHeight, magnification_);
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shownWidth;
    info.bmiHeader.biHeight = -shownHeight;  // top-down, as the canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  }
  SetWindowPos(window_, nullptr, 0, 0, shownWidth, shownHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The enlargement is done here rather than by a stretching blit, whose
// choice of source pixel differs between systems: this way the pixel shown
// under the mouse is always the one the mouse reports.
void CanvasView::refresh() {
  if (window_ == nullptr) return;
  const int width = canvas_.width();
  const int height = canvas_.height();
  if (width != canvasWidth_ || height != canvasHeight_) resize(width, height);
  if (bits_ != nullptr) {
    GdiFlush();  // GDI may still be reading the bitmap
    auto* out = static_cast<std::uint32_t*>(bits_);
    const auto pixels = canvas_.pixels();
    for (const int row : sourceRows_) {
      const std::size_t rowStart = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
      for (const int column : sourceColumns_)
        *out++ = toDibPixel(pixels[rowStart + static_cast<std::size_t>(column)]);
    }
  }
  InvalidateRect(window_, nullptr, FALSE);
}

// The bitmap goes through a memory device context: drawing the DIB directly
// with a partial source rectangle is not placed the same way by every GDI,
// while a blit from a selected bitmap is.
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
  BitBlt(dc.get(), 0, 0, static_cast<int>(sourceColumns_.size()),
         static_cast<int>(sourceRows_.size()), source.get(), 0, 0, SRCCOPY);
}

}  // namespace ws::app
