#pragma once
// What the Win32 shell's windows share: the object a window was made for, their window classes,
// placing one over another, and disabling a control without stranding the focus.

#include <windows.h>

namespace korvane {

// The object a window was made for (the last argument of CreateWindowEx), kept with the window.
template <typename T>
T* WindowObject(HWND hwnd, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Registers the program's window class cls, with proc, the arrow cursor, background and icon,
// unless it is registered already.
inline void RegisterWindowClass(const wchar_t* cls, WNDPROC proc, HBRUSH background = nullptr,
                                HICON icon = nullptr) {
  WNDCLASSEXW c{};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), cls, &c)) return;
  c.cbSize = sizeof c;
  c.lpfnWndProc = proc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  c.hIcon = icon;
  c.hbrBackground = background;
  c.lpszClassName = cls;
  RegisterClassExW(&c);
}

// Moves window over the middle of owner, with SetWindowPos's flags besides (on top of the others
// unless they say SWP_NOZORDER).
inline void CentreOver(HWND window, HWND owner, UINT flags = SWP_NOZORDER | SWP_NOACTIVATE) {
  RECT o, r;
  GetWindowRect(owner, &o);
  GetWindowRect(window, &r);
  SetWindowPos(window, HWND_TOP, (o.left + o.right - (r.right - r.left)) / 2,
               (o.top + o.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | flags);
}

// Enables or disables a control of window; one that has the keyboard focus hands it on to the next
// control first, or Tab and Escape would go to a window that ignores them.
inline void EnableControl(HWND window, HWND control, bool enabled) {
  if (!enabled && GetFocus() == control) {
    HWND next = GetNextDlgTabItem(window, control, FALSE);
    if (next != nullptr && next != control) SetFocus(next);
  }
  EnableWindow(control, enabled ? TRUE : FALSE);
}

}  // namespace korvane
