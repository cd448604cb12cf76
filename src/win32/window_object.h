#pragma once
// The object a window was made for (the last argument of CreateWindowEx), kept with the window.

#include <windows.h>

namespace korvane {

template <typename T>
T* WindowObject(HWND hwnd, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace korvane
