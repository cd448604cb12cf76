#pragma once
// The Win32 id of a control: its index in the window's table; the menu's ids, far above them; and
// each shown control's rectangle in its window's client area, found by that id.

#include <windows.h>

#include <string>

#include "app/start_up.h"
#include "window/layout.h"

namespace korvane {

inline constexpr int kFirstControlId = 100;  // control i of windowControls() is 100 + i
// The main window takes the dialog keys: Enter and Escape there send it IDOK (1) and IDCANCEL
// (2), so neither a control nor a menu entry has an id those keys reach. A menu entry's id is
// kFirstMenuId + 1 + its MenuCommand, or kFindMenuId, far above the controls'.
inline constexpr int kFirstMenuId = 0x8000;
inline constexpr int kFindMenuId = kFirstMenuId + 10;  // "コントローラーを探す..."
static_assert(kFirstControlId > IDCONTINUE);

// One ControlRectLine per shown control of the window's table; a combo box as its closed box.
inline std::string ControlRectsOf(HWND window) {
  std::string out;
  const auto table = windowControls();
  for (std::size_t i = 0; i < table.size(); ++i) {
    HWND child = GetDlgItem(window, kFirstControlId + static_cast<int>(i));
    if (table[i].has(kHidden) || child == nullptr) continue;
    RECT r{};
    GetWindowRect(child, &r);
    if (table[i].kind == ControlKind::Combo) {
      RECT closed = r;
      SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
      r.bottom = r.top + (closed.bottom - closed.top);  // the box, not its list
    }
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    out += ControlRectLine(table[i].name, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  return out;
}

}  // namespace korvane
