#pragma once
// The comparison as the Qt shell shows it: every setting in a list with the controller's value,
// the file's and a mark where they differ; the differing restorable rows ticked, the clock never
// tickable. "書き込み" restores the ticked rows and each row then says what the controller holds.
// Modal over its owner until closed; laid out at the owner's dpi.

#include <windows.h>

#include "app/backup_sequences.h"
#include "app/form1.h"

namespace korvane {

void ShowCompareDialog(HWND owner, HFONT font, int dpi, Form1& form,
                       const BackupComparison& comparison);

}  // namespace korvane
