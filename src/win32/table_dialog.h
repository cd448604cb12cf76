#pragma once
// The menu's tables ("設定を比較・復元", "変更履歴", the core's TableModel) as the Windows window
// shows them: the filter above when the model has one, the rows in a list (with check boxes where
// rows can be ticked), the line under it, and the model's button (id 1) beside "閉じる" (id 2);
// Enter presses the model's button where the model says so, else "閉じる".
// Modal over its owner until closed; laid out at the owner's dpi.

#include <windows.h>

namespace korvane {

class TableModel;

void ShowTableDialog(HWND owner, HFONT font, int dpi, TableModel& model);

}  // namespace korvane
