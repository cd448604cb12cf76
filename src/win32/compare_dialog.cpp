#include "win32/compare_dialog.h"

#include <commctrl.h>

#include <vector>

#include "app/menu_flows.h"
#include "win32/dialog.h"
#include "win32/text.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {

constexpr wchar_t kClass[] = L"KorvaneSetteiCompare";
constexpr int kWriteId = 1, kCloseId = 2;

struct Dialog {
  CompareTable& table;
  HWND window = nullptr, list = nullptr, summary = nullptr, write = nullptr;
  bool open = true;
};

// Each row's cells, its box (none where it cannot be ticked), the summary and "書き込み".
void draw(Dialog& d) {
  for (std::size_t r = 0; r < CompareTable::kRows; ++r) {
    for (int c = 0; c < 4; ++c) SetListCell(d.list, int(r), c, d.table.cells(r)[std::size_t(c)]);
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = d.table.tickable(r) ? INDEXTOSTATEIMAGEMASK(d.table.ticked(r) ? 2 : 1) : 0;
    SendMessageW(d.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&state));
  }
  SetWindowTextW(d.summary, Wide(d.table.summary()).c_str());
  EnableControl(d.window, d.write, d.table.writable());
}

void writeTicked(Dialog& d) {
  for (std::size_t r = 0; r < CompareTable::kRows; ++r) {
    const auto state = SendMessageW(d.list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK);
    d.table.setTicked(r, (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
  }
  EnableWindow(d.window, FALSE);
  d.table.write();
  EnableWindow(d.window, TRUE);
  draw(d);
}

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* d = WindowObject<Dialog>(hwnd, message, l);
  if (d != nullptr && message == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    if (LOWORD(w) == kWriteId) writeTicked(*d);
    if (LOWORD(w) == kCloseId) DestroyWindow(hwnd);
    return 0;
  }
  return DialogDefault(hwnd, message, w, l, d != nullptr ? &d->open : nullptr);
}

}  // namespace

void ShowCompareDialog(HWND owner, HFONT font, int dpi, CompareTable& table) {
  Dialog d{table};
  const auto px = [dpi](int at96) { return Scaled(at96, dpi); };
  d.window = MakeDialogWindow(owner, kClass, &proc, Wide(kCompareTitle), px(760), px(560), &d);
  const ScaledChildren child{d.window, font, dpi};
  d.list = child(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, 10, 10,
                 740, 460, 0);
  SendMessageW(d.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const int widths[] = {260, 170, 170, 130};
  for (int c = 0; c < 4; ++c)
    AddListColumn(d.list, c, std::string(kCompareColumns[static_cast<std::size_t>(c)]),
                  px(widths[c]));
  for (std::size_t r = 0; r < CompareTable::kRows; ++r) AddListRow(d.list, int(r), "");
  d.summary = child(L"STATIC", L"", SS_LEFT, 10, 474, 740, 36, 0);
  d.write = child(L"BUTTON", Wide(kWriteCaption), BS_DEFPUSHBUTTON | WS_TABSTOP, 540, 515, 100, 30,
                  kWriteId);
  child(L"BUTTON", Wide(kCloseCaption), BS_PUSHBUTTON | WS_TABSTOP, 650, 515, 100, 30, kCloseId);
  draw(d);

  // Modal: the owner waits; the messages of both (and the port's) still run.
  RunModal(owner, d.window, d.open);
}

}  // namespace korvane
