#include "win32/system_dialogs.h"

// after windows.h
#include <commctrl.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/menu_flows.h"
#include "win32/dialog.h"
#include "win32/text.h"
#include "win32/win32_window.h"
#include "window/layout.h"
#include "window/texts.h"

namespace korvane {

namespace {

// A dialog window of class cls over the main window, with object as its WindowObject; a caption
// and `style` (the close box, or WS_POPUP for none). It and its children are laid out at 96 DPI
// and placed at the DPI of the monitor the main window is on, in the main window's font.
struct DialogWindow {
  HWND hwnd;
  HFONT font;
  int dpi;
  DialogWindow(Win32Window& window, const wchar_t* cls, WNDPROC proc, std::string_view title, int w,
               int h, void* object, DWORD style = WS_SYSMENU)
      : font(window.font()), dpi(window.dpi()) {
    RegisterWindowClass(cls, proc, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame{0, 0, scaled(w), scaled(h)};
    AdjustWindowRectEx(&frame, WS_CAPTION | style, FALSE, WS_EX_DLGMODALFRAME);
    hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, cls, Wide(title).c_str(),
                           WS_CAPTION | style, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, window.hwnd(),
                           nullptr, GetModuleHandleW(nullptr), object);
  }
  int scaled(int at96) const { return MulDiv(at96, dpi, kDesignDpi); }
  HWND child(const wchar_t* cls, std::string_view text, DWORD style, int x, int y, int w, int h,
             int id = 0) const {
    HWND c = CreateWindowExW(0, cls, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, scaled(x),
                             scaled(y), scaled(w), scaled(h), hwnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  }
};

// The user's Documents folder, where a save starts; empty if there is none.
std::filesystem::path documentsFolder() {
  PWSTR path = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// A file name from the system's open or save dialog; empty when the operator cancels.
std::filesystem::path askFile(HWND owner, bool save, std::string_view title,
                              const std::wstring& suggested = {}) {
  std::wstring filters;  // "name\0pattern\0...\0"
  for (const FileFilter& f : kBackupFileFilters)
    filters += Wide(f.name) + L'\0' + Wide(f.pattern) + L'\0';
  filters += L'\0';
  std::wstring file = suggested;
  file.resize(MAX_PATH * 4, L'\0');
  const std::wstring caption = Wide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.lpstrDefExt = L"ini";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return {};
  return std::filesystem::path(file.c_str());
}

constexpr wchar_t kProgressClass[] = L"KorvaneSetteiProgress";
constexpr wchar_t kTableClass[] = L"KorvaneSetteiTable";
constexpr int kActionId = 1, kCloseId = 2, kFilterId = 3;  // the cancel button is kCloseId too

struct TableDialog {
  TableModel& model;
  HWND window = nullptr, filter = nullptr, list = nullptr, note = nullptr, action = nullptr;
  bool ticks = false;  // the list has check boxes
  bool open = true;
};

void setItemState(HWND list, std::size_t row, UINT mask, UINT state) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// The rows, each with its box (none where it cannot be ticked), the columns as wide as their
// contents, and the chosen row.
void fill(TableDialog& d) {
  SendMessageW(d.list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < d.model.rowCount(); ++r) {
    const std::vector<std::string> cells = d.model.cells(r);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      std::wstring text = Wide(cells[c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = text.data();
      // The first cell makes the row; the others go into it.
      SendMessageW(d.list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, c == 0 ? 0 : r,
                   reinterpret_cast<LPARAM>(&item));
    }
    if (d.ticks) {
      setItemState(d.list, r, LVIS_STATEIMAGEMASK,
                   d.model.tickable(r) ? INDEXTOSTATEIMAGEMASK(d.model.ticked(r) ? 2 : 1) : 0);
    }
  }
  for (std::size_t c = 0; c < d.model.columns().size(); ++c)
    SendMessageW(d.list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
  if (const auto chosen = d.model.chosen()) {
    setItemState(d.list, *chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(d.list, LVM_ENSUREVISIBLE, *chosen, FALSE);
  }
}

void draw(TableDialog& d) {
  if (d.filter != nullptr) {
    SendMessageW(d.filter, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : d.model.filters())
      SendMessageW(d.filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    SendMessageW(d.filter, CB_SETCURSEL, d.model.filter(), 0);
  }
  SetWindowTextW(d.note, Wide(d.model.note()).c_str());
  EnableControl(d.window, d.action, d.model.actionAvailable());
  fill(d);
}

void act(TableDialog& d) {
  for (std::size_t r = 0; d.ticks && r < d.model.rowCount(); ++r) {
    const auto state = SendMessageW(d.list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK);
    d.model.setTicked(r, (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
  }
  const LRESULT row = SendMessageW(d.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  EnableWindow(d.window, FALSE);
  d.model.act(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
  EnableWindow(d.window, TRUE);
  draw(d);
}

LRESULT CALLBACK tableProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* d = WindowObject<TableDialog>(hwnd, message, l);
  if (d == nullptr) return DefWindowProcW(hwnd, message, w, l);
  switch (message) {
    case DM_GETDEFID:  // the button Enter presses
      return MAKELRESULT(d->model.actionByEnter() ? kActionId : kCloseId, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(w) == kActionId && HIWORD(w) == BN_CLICKED) act(*d);
      if (LOWORD(w) == kCloseId && HIWORD(w) == BN_CLICKED) DestroyWindow(hwnd);
      if (LOWORD(w) == kFilterId && HIWORD(w) == CBN_SELCHANGE) {
        const LRESULT at = SendMessageW(d->filter, CB_GETCURSEL, 0, 0);
        d->model.setFilter(at < 0 ? 0 : std::size_t(at));
        fill(*d);
      }
      return 0;
    case WM_CLOSE:  // the close box, Escape
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      d->open = false;
      break;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace

MessageButton Win32Operator::message(std::string_view text, std::string_view title,
                                     MessageStyle style) {
  const BoxLook look = LookOf(style);
  const UINT flags =
      (look.cancel ? MB_OKCANCEL : MB_OK) | (look.icon == BoxIcon::Exclamation ? MB_ICONEXCLAMATION
                                             : look.icon == BoxIcon::Error     ? MB_ICONERROR
                                                                               : 0);
  const int pressed =
      MessageBoxW(owner_, Wide(text).c_str(),
                  Wide(title.empty() ? kApplicationTitle : title).c_str(), flags | MB_DEFBUTTON1);
  return pressed == IDCANCEL ? MessageButton::Cancel : MessageButton::Ok;
}

std::filesystem::path Win32FileChooser::saveFile(std::string_view title, std::string_view name) {
  return askFile(window_.hwnd(), true, title, (documentsFolder() / Wide(name)).wstring());
}

std::filesystem::path Win32FileChooser::openFile(std::string_view title) {
  return askFile(window_.hwnd(), false, title);
}

void Win32Progress::open(std::string_view title) {
  close();
  cancelled_ = false;
  owner_ = window_.hwnd();
  const DialogWindow d(window_, kProgressClass, &Win32Progress::proc, title, 360, 110, this,
                       WS_POPUP);
  progress_ = d.hwnd;
  CentreOver(progress_, owner_);
  label_ = d.child(L"STATIC", "", SS_LEFT, 16, 18, 328, 24);
  d.child(L"BUTTON", kCancelCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, 250, 62, 94, 30, kCloseId);
  EnableWindow(owner_, FALSE);  // one read or search, and no other press, at a time
  ShowWindow(progress_, SW_SHOW);
  UpdateWindow(progress_);
}

void Win32Progress::step(std::string_view text, int, int) {
  if (progress_ != nullptr) SetWindowTextW(label_, Wide(text).c_str());
}

void Win32Progress::close() {
  if (progress_ == nullptr) return;
  EnableWindow(owner_, TRUE);  // before the window goes, so that the owner gets the focus back
  DestroyWindow(progress_);
  progress_ = nullptr;
}

LRESULT CALLBACK Win32Progress::proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<Win32Progress>(hwnd, message, l);
  if (self != nullptr &&
      ((message == WM_COMMAND && LOWORD(w) == kCloseId) || message == WM_CLOSE)) {
    self->cancelled_ = true;  // the work stops at its next look, and closes this window
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

void ShowTableDialog(Win32Window& window, TableModel& model) {
  TableDialog d{model};
  const DialogWindow dialog(window, kTableClass, &tableProc, model.title(), 960, 520, &d);
  d.window = dialog.hwnd;
  const bool filtered = !model.filters().empty();
  if (filtered) {
    d.filter = dialog.child(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 10,
                            400, 300, kFilterId);
  }
  for (std::size_t r = 0; r < model.rowCount() && !d.ticks; ++r) d.ticks = model.tickable(r);
  const int top = filtered ? 44 : 10;
  d.list = dialog.child(WC_LISTVIEWW, "",
                        LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 10,
                        top, 940, 430 - top);
  SendMessageW(d.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | (d.ticks ? LVS_EX_CHECKBOXES : 0));
  const std::vector<std::string> columns = model.columns();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    std::wstring text = Wide(columns[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = text.data();
    SendMessageW(d.list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  d.note = dialog.child(L"STATIC", "", SS_LEFT, 10, 438, 720, 36);
  const bool byEnter = model.actionByEnter();  // the default button, marked as such
  d.action = dialog.child(L"BUTTON", model.action(),
                          (byEnter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 740, 478, 100,
                          30, kActionId);
  dialog.child(L"BUTTON", kCloseCaption, (byEnter ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON) | WS_TABSTOP,
               850, 478, 100, 30, kCloseId);
  draw(d);

  // Modal: the owner disabled and the focus on the first control until the dialog goes; a
  // WM_QUIT meanwhile ends the dialog and is passed on.
  HWND owner = window.hwnd();
  EnableWindow(owner, FALSE);
  ShowWindow(d.window, SW_SHOW);
  if (HWND first = GetNextDlgTabItem(d.window, nullptr, FALSE)) SetFocus(first);
  MSG msg;
  while (d.open && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(d.window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (d.open) {  // WM_QUIT: the program ends; pass it on
    DestroyWindow(d.window);
    PostQuitMessage(0);
  }
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
}

}  // namespace korvane
