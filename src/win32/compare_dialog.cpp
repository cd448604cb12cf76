#include "win32/compare_dialog.h"

#include <commctrl.h>

#include <vector>

#include "backup/backup_keys.h"
#include "win32/text.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {

constexpr wchar_t kClass[] = L"KorvaneSetteiCompare";
constexpr int kWriteId = 1, kCloseId = 2;

struct Dialog {
  Form1& form;
  const BackupComparison& comparison;
  HWND window = nullptr, list = nullptr, summary = nullptr, write = nullptr;
  bool open = true;
};

void setCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void writeTicked(Dialog& d) {
  std::vector<std::size_t> ticked;
  for (const CompareRow& row : d.comparison.rows) {
    const int r = static_cast<int>(row.position);
    const auto state = SendMessageW(d.list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK);
    if (row.restorable && (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))
      ticked.push_back(row.position);
  }
  EnableWindow(d.write, FALSE);  // one restore per comparison: read again to compare anew
  EnableWindow(d.window, FALSE);
  const RestoreReport report = d.form.Backup_Restore(d.comparison.file, ticked);
  EnableWindow(d.window, TRUE);
  for (const RestoreRow& row : report.rows) {
    std::string result(kVerdictTexts[static_cast<std::size_t>(row.verdict())]);
    if (row.verdict() == RestoreRow::Verdict::Differs)
      result += ShownBackupValue(row.position, *row.now);
    setCell(d.list, static_cast<int>(row.position), 3, result);
  }
  SetWindowTextW(d.summary, Wide(report.summary).c_str());
}

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* d = WindowObject<Dialog>(hwnd, message, l);
  if (d != nullptr && message == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    if (LOWORD(w) == kWriteId) writeTicked(*d);
    if (LOWORD(w) == kCloseId) DestroyWindow(hwnd);
    return 0;
  }
  if (d != nullptr && message == WM_CLOSE) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (d != nullptr && message == WM_DESTROY) d->open = false;
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace

void ShowCompareDialog(HWND owner, HFONT font, Form1& form, const BackupComparison& comparison) {
  static const bool registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = &proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = kClass;
    return RegisterClassExW(&c) != 0;
  }();
  (void)registered;
  Dialog d{form, comparison};
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RECT frame{0, 0, 760, 560};
  AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  d.window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClass,
                             Wide(kCompareTitle).c_str(), WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                             CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                             owner, nullptr, instance, &d);
  const auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y,
                         int w, int h, int id) {
    HWND c =
        CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, d.window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  d.list = child(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, 10, 10,
                 740, 460, 0);
  SendMessageW(d.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const int widths[] = {260, 170, 170, 130};
  for (int c = 0; c < 4; ++c) {
    std::wstring caption = Wide(kCompareColumns[static_cast<std::size_t>(c)]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = widths[c];
    column.pszText = caption.data();
    SendMessageW(d.list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  for (const CompareRow& row : comparison.rows) {
    std::wstring name = Wide(backupSettingName(row.position));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row.position);
    item.pszText = name.data();
    SendMessageW(d.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const int r = static_cast<int>(row.position);
    // A password shows as ******** (the tick says whether it differs), as on the terminal.
    setCell(d.list, r, 1, ShownBackupValue(row.position, comparison.controller[row.position]));
    setCell(d.list, r, 2, ShownBackupValue(row.position, comparison.file.values[row.position]));
    setCell(d.list, r, 3, row.differs ? std::string(kDiffersMark) : std::string());
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = row.restorable ? INDEXTOSTATEIMAGEMASK(row.toRestore() ? 2 : 1) : 0;
    SendMessageW(d.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&state));
  }
  d.summary = child(
      L"STATIC", Wide(std::to_string(comparison.differing.size()) + std::string(kDifferingCount)),
      SS_LEFT, 10, 480, 740, 20, 0);
  d.write = child(L"BUTTON", Wide(kWriteCaption), BS_DEFPUSHBUTTON | WS_TABSTOP, 540, 515, 100, 30,
                  kWriteId);
  child(L"BUTTON", Wide(kCloseCaption), BS_PUSHBUTTON | WS_TABSTOP, 650, 515, 100, 30, kCloseId);

  // Modal: the owner waits; the messages of both (and the port's) still run.
  EnableWindow(owner, FALSE);
  ShowWindow(d.window, SW_SHOW);
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
