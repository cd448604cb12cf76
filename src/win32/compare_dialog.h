#pragma once
// The comparison's table (the core's CompareTable) as the Windows window shows it: every setting
// in a list with check boxes, "書き込み" and "閉じる" under it. Modal over its owner until closed;
// laid out at the owner's dpi.

#include <windows.h>

namespace korvane {

class CompareTable;

void ShowCompareDialog(HWND owner, HFONT font, int dpi, CompareTable& table);

}  // namespace korvane
