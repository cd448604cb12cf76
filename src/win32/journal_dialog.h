#pragma once
// "変更履歴..." (the core's JournalView) as the Windows window shows it: a filter by setting, the
// journal in a list, the count of lines that could not be read, and "元に戻す" for the chosen
// entry. Modal over its owner until closed; laid out at the owner's dpi.

#include <windows.h>

namespace korvane {

class JournalView;

void ShowJournalDialog(HWND owner, HFONT font, int dpi, JournalView& view);

}  // namespace korvane
