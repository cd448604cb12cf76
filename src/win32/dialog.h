#pragma once
// What the Win32 shell's own windows and dialogs share: their window classes, child controls in
// the window's font, and a modal loop over the owner in which the port's messages still run.

#include <windows.h>

#include <string>
#include <vector>

namespace korvane {

// Registers the program's window class cls, with proc, the arrow cursor, background and icon,
// unless it is registered already.
void RegisterWindowClass(const wchar_t* cls, WNDPROC proc, HBRUSH background = nullptr,
                         HICON icon = nullptr);

// A length laid out at 96 DPI, at dpi: the dialogs are scaled as the main window is, by the DPI
// of the monitor their owner is on.
int Scaled(int at96, int dpi);

// A top-level dialog window of class cls (registered on first use with proc) over owner, its
// client area w x h (already scaled), with object as its WindowObject; a caption and `style`
// (the close box, or WS_POPUP for none).
HWND MakeDialogWindow(HWND owner, const wchar_t* cls, WNDPROC proc, const std::wstring& title,
                      int w, int h, void* object, DWORD style = WS_SYSMENU);

// Moves window over the middle of owner, with SetWindowPos's flags besides (on top of the others
// unless they say SWP_NOZORDER).
void CentreOver(HWND window, HWND owner, UINT flags = SWP_NOZORDER | SWP_NOACTIVATE);

// A child control of dialog in font.
HWND MakeChild(HWND dialog, HFONT font, const wchar_t* cls, const std::wstring& text, DWORD style,
               int x, int y, int w, int h, int id);

// The children of one dialog, each laid out at 96 DPI and placed at dpi, in font.
struct ScaledChildren {
  HWND dialog;
  HFONT font;
  int dpi;
  HWND operator()(const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int w,
                  int h, int id) const {
    return MakeChild(dialog, font, cls, text, style, Scaled(x, dpi), Scaled(y, dpi), Scaled(w, dpi),
                     Scaled(h, dpi), id);
  }
};
// A report list view's column, and its row of cells (the first column's cell first).
void AddListColumn(HWND list, int column, const std::string& caption, int width);
void AddListRow(HWND list, int row, const std::vector<std::string>& cells);

// Enables or disables a control of window; one that has the keyboard focus hands it on to the next
// control first, or Tab and Escape would go to a window that ignores them.
void EnableControl(HWND window, HWND control, bool enabled);

// What a dialog's procedure does with what it does not handle itself: closed (the close box,
// Escape) it goes, and `open` turns false as it goes.
LRESULT DialogDefault(HWND dialog, UINT message, WPARAM w, LPARAM l, bool* open);

// Shows dialog with its owner disabled and the focus on its first control, and runs messages until
// `open` turns false (the dialog's WM_DESTROY sets it); a WM_QUIT meanwhile ends the dialog and is
// passed on.
void RunModal(HWND owner, HWND dialog, const bool& open);

}  // namespace korvane
