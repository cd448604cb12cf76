#include "win32/journal_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/menu_flows.h"
#include "win32/dialog.h"
#include "win32/text.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {

constexpr wchar_t kClass[] = L"KorvaneSetteiJournal";
constexpr int kUndoId = 1, kCloseId = 2, kFilterId = 3;

struct Dialog {
  JournalView& view;
  HWND window = nullptr, filter = nullptr, list = nullptr, skipped = nullptr;
  bool open = true;
};

void fill(Dialog& d) {
  SendMessageW(d.list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < d.view.rowCount(); ++r) {
    const auto cells = d.view.cells(r);
    AddListRow(d.list, int(r), cells[0]);
    for (std::size_t c = 1; c < cells.size(); ++c) SetListCell(d.list, int(r), int(c), cells[c]);
  }
  if (const auto chosen = d.view.chosen()) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(d.list, LVM_SETITEMSTATE, *chosen, reinterpret_cast<LPARAM>(&state));
    SendMessageW(d.list, LVM_ENSUREVISIBLE, *chosen, FALSE);
  }
}

void draw(Dialog& d) {
  SendMessageW(d.filter, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : d.view.filters())
    SendMessageW(d.filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  SendMessageW(d.filter, CB_SETCURSEL, d.view.filter(), 0);
  SetWindowTextW(d.skipped, Wide(d.view.skippedText()).c_str());
  fill(d);
}

void undoChosen(Dialog& d) {
  const LRESULT row = SendMessageW(d.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  EnableWindow(d.window, FALSE);
  d.view.undo(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
  EnableWindow(d.window, TRUE);
  draw(d);
}

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* d = WindowObject<Dialog>(hwnd, message, l);
  if (d != nullptr && message == WM_COMMAND) {
    if (LOWORD(w) == kUndoId && HIWORD(w) == BN_CLICKED) undoChosen(*d);
    if (LOWORD(w) == kCloseId && HIWORD(w) == BN_CLICKED) DestroyWindow(hwnd);
    if (LOWORD(w) == kFilterId && HIWORD(w) == CBN_SELCHANGE) {
      const LRESULT at = SendMessageW(d->filter, CB_GETCURSEL, 0, 0);
      d->view.setFilter(at < 0 ? 0 : std::size_t(at));
      fill(*d);
    }
    return 0;
  }
  return DialogDefault(hwnd, message, w, l, d != nullptr ? &d->open : nullptr);
}

}  // namespace

void ShowJournalDialog(HWND owner, HFONT font, int dpi, JournalView& view) {
  Dialog d{view};
  const auto px = [dpi](int at96) { return Scaled(at96, dpi); };
  d.window = MakeDialogWindow(owner, kClass, &proc, Wide(kJournalTitle), px(960), px(520), &d);
  const ScaledChildren child{d.window, font, dpi};
  d.filter = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 10, 400, 300,
                   kFilterId);
  d.list = child(WC_LISTVIEWW, L"",
                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 10, 44,
                 940, 390, 0);
  SendMessageW(d.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  const std::vector<std::string> columns = JournalColumns();
  const int widths[] = {190, 70, 170, 160, 110, 110, 120, 120};
  for (std::size_t c = 0; c < columns.size(); ++c)
    AddListColumn(d.list, int(c), columns[c], px(widths[c]));
  d.skipped = child(L"STATIC", L"", SS_LEFT, 10, 444, 600, 20, 0);
  child(L"BUTTON", Wide(kUndoCaption), BS_PUSHBUTTON | WS_TABSTOP, 740, 478, 100, 30, kUndoId);
  child(L"BUTTON", Wide(kCloseCaption), BS_PUSHBUTTON | WS_TABSTOP, 850, 478, 100, 30, kCloseId);
  draw(d);
  RunModal(owner, d.window, d.open);
}

}  // namespace korvane
