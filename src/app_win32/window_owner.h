#pragma once

#include <windows.h>

namespace ws::app {

// The C++ object that a window of one of our window classes belongs to: the
// object passed as CreateWindowExW's last argument is stored with the window
// when it is created (WM_NCCREATE) and read back for every later message.
// Nothing before WM_NCCREATE, or after the object let go of the window.
template <typename Owner>
Owner* windowOwner(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return owner;
  }
  return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace ws::app
