#include "win32/dialog.h"

#include <commctrl.h>

#include "win32/text.h"
#include "window/layout.h"

namespace korvane {

int Scaled(int at96, int dpi) {
  return MulDiv(at96, dpi, kDesignDpi);
}

void RegisterWindowClass(const wchar_t* cls, WNDPROC proc, HBRUSH background, HICON icon) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW c{};
  if (GetClassInfoExW(instance, cls, &c)) return;
  c.cbSize = sizeof c;
  c.lpfnWndProc = proc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  c.hIcon = icon;
  c.hbrBackground = background;
  c.lpszClassName = cls;
  RegisterClassExW(&c);
}

HWND MakeDialogWindow(HWND owner, const wchar_t* cls, WNDPROC proc, const std::wstring& title,
                      int w, int h, void* object, DWORD style) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(cls, proc, GetSysColorBrush(COLOR_BTNFACE));
  RECT frame{0, 0, w, h};
  AdjustWindowRectEx(&frame, WS_CAPTION | style, FALSE, WS_EX_DLGMODALFRAME);
  return CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, cls, title.c_str(),
                         WS_CAPTION | style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                         frame.bottom - frame.top, owner, nullptr, instance, object);
}

void CentreOver(HWND window, HWND owner, UINT flags) {
  RECT o, r;
  GetWindowRect(owner, &o);
  GetWindowRect(window, &r);
  SetWindowPos(window, HWND_TOP, (o.left + o.right - (r.right - r.left)) / 2,
               (o.top + o.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | flags);
}

HWND MakeChild(HWND dialog, HFONT font, const wchar_t* cls, const std::wstring& text, DWORD style,
               int x, int y, int w, int h, int id) {
  HWND c = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return c;
}

void AddListColumn(HWND list, int column, const std::string& caption, int width) {
  std::wstring text = Wide(caption);
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH;
  c.cx = width;
  c.pszText = text.data();
  SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
}

void AddListRow(HWND list, int row, const std::vector<std::string>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    std::wstring text = Wide(cells[c]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = static_cast<int>(c);
    item.pszText = text.data();
    // The first cell makes the row; the others go into it.
    SendMessageW(list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, c == 0 ? 0 : row,
                 reinterpret_cast<LPARAM>(&item));
  }
}

void EnableControl(HWND window, HWND control, bool enabled) {
  if (!enabled && GetFocus() == control) {
    HWND next = GetNextDlgTabItem(window, control, FALSE);
    if (next != nullptr && next != control) SetFocus(next);
  }
  EnableWindow(control, enabled ? TRUE : FALSE);
}

LRESULT DialogDefault(HWND dialog, UINT message, WPARAM w, LPARAM l, bool* open) {
  if (open != nullptr && message == WM_CLOSE) {
    DestroyWindow(dialog);
    return 0;
  }
  if (open != nullptr && message == WM_DESTROY) *open = false;
  return DefWindowProcW(dialog, message, w, l);
}

void RunModal(HWND owner, HWND dialog, const bool& open) {
  EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);
  MSG msg;
  while (open && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (open) {  // WM_QUIT: the program ends; pass it on
    DestroyWindow(dialog);
    PostQuitMessage(0);
  }
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
}

}  // namespace korvane
