#pragma once
// What the Win32 shell's own dialogs share: a window class of their own, child controls in the
// window's font, and a modal loop over the owner in which the port's messages still run.

#include <windows.h>

#include <string>

namespace korvane {

// A top-level dialog window of class cls (registered on first use with proc) over owner, its
// client area w x h, with object as its WindowObject.
HWND MakeDialogWindow(HWND owner, const wchar_t* cls, WNDPROC proc, const std::wstring& title,
                      int w, int h, void* object);

// A child control of dialog in font.
HWND MakeChild(HWND dialog, HFONT font, const wchar_t* cls, const std::wstring& text, DWORD style,
               int x, int y, int w, int h, int id);

// A report list view's column, row (its first cell) and cell.
void AddListColumn(HWND list, int column, const std::string& caption, int width);
void AddListRow(HWND list, int row, const std::string& first);
void SetListCell(HWND list, int row, int column, const std::string& text);

// What a dialog's procedure does with what it does not handle itself: closed (the close box,
// Escape) it goes, and `open` turns false as it goes.
LRESULT DialogDefault(HWND dialog, UINT message, WPARAM w, LPARAM l, bool* open);

// Shows dialog with its owner disabled and runs messages until `open` turns false (the dialog's
// WM_DESTROY sets it); a WM_QUIT meanwhile ends the dialog and is passed on.
void RunModal(HWND owner, HWND dialog, const bool& open);

}  // namespace korvane
