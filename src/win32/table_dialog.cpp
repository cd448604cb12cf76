#include "win32/table_dialog.h"

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

constexpr wchar_t kClass[] = L"KorvaneSetteiTable";
constexpr int kActionId = 1, kCloseId = 2, kFilterId = 3;

struct Dialog {
  TableModel& model;
  HWND window = nullptr, filter = nullptr, list = nullptr, note = nullptr, action = nullptr;
  bool ticks = false;  // the list has check boxes
  bool open = true;
};

// The rows, each with its box (none where it cannot be ticked), the columns as wide as their
// contents, and the chosen row.
void fill(Dialog& d) {
  SendMessageW(d.list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < d.model.rowCount(); ++r) {
    AddListRow(d.list, int(r), d.model.cells(r));
    if (!d.ticks) continue;
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = d.model.tickable(r) ? INDEXTOSTATEIMAGEMASK(d.model.ticked(r) ? 2 : 1) : 0;
    SendMessageW(d.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&state));
  }
  for (std::size_t c = 0; c < d.model.columns().size(); ++c)
    SendMessageW(d.list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
  if (const auto chosen = d.model.chosen()) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(d.list, LVM_SETITEMSTATE, *chosen, reinterpret_cast<LPARAM>(&state));
    SendMessageW(d.list, LVM_ENSUREVISIBLE, *chosen, FALSE);
  }
}

void draw(Dialog& d) {
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

void act(Dialog& d) {
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

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* d = WindowObject<Dialog>(hwnd, message, l);
  if (d != nullptr && message == DM_GETDEFID)  // the button Enter presses
    return MAKELRESULT(d->model.actionByEnter() ? kActionId : kCloseId, DC_HASDEFID);
  if (d != nullptr && message == WM_COMMAND) {
    if (LOWORD(w) == kActionId && HIWORD(w) == BN_CLICKED) act(*d);
    if (LOWORD(w) == kCloseId && HIWORD(w) == BN_CLICKED) DestroyWindow(hwnd);
    if (LOWORD(w) == kFilterId && HIWORD(w) == CBN_SELCHANGE) {
      const LRESULT at = SendMessageW(d->filter, CB_GETCURSEL, 0, 0);
      d->model.setFilter(at < 0 ? 0 : std::size_t(at));
      fill(*d);
    }
    return 0;
  }
  return DialogDefault(hwnd, message, w, l, d != nullptr ? &d->open : nullptr);
}

}  // namespace

void ShowTableDialog(HWND owner, HFONT font, int dpi, TableModel& model) {
  Dialog d{model};
  d.window = MakeDialogWindow(owner, kClass, &proc, Wide(model.title()), Scaled(960, dpi),
                              Scaled(520, dpi), &d);
  const ScaledChildren child{d.window, font, dpi};
  const bool filtered = !model.filters().empty();
  if (filtered) {
    d.filter = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 10, 400, 300,
                     kFilterId);
  }
  for (std::size_t r = 0; r < model.rowCount() && !d.ticks; ++r) d.ticks = model.tickable(r);
  const int top = filtered ? 44 : 10;
  d.list = child(WC_LISTVIEWW, L"",
                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 10, top,
                 940, 430 - top, 0);
  SendMessageW(d.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | (d.ticks ? LVS_EX_CHECKBOXES : 0));
  const std::vector<std::string> columns = model.columns();
  for (std::size_t c = 0; c < columns.size(); ++c) AddListColumn(d.list, int(c), columns[c], 100);
  d.note = child(L"STATIC", L"", SS_LEFT, 10, 438, 720, 36, 0);
  const bool byEnter = model.actionByEnter();  // the default button, marked as such
  d.action = child(L"BUTTON", Wide(model.action()),
                   (byEnter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 740, 478, 100, 30,
                   kActionId);
  child(L"BUTTON", Wide(kCloseCaption), (byEnter ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON) | WS_TABSTOP,
        850, 478, 100, 30, kCloseId);
  draw(d);
  RunModal(owner, d.window, d.open);
}

}  // namespace korvane
