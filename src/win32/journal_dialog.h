#pragma once
// "変更履歴..." as the Qt shell shows it: the journal in a list, newest first, a filter by
// setting, the count of lines that could not be read, and "元に戻す" for the chosen entry (the
// newest shown, until the owner chooses another). Modal over its owner until closed; laid out at
// the owner's dpi.

#include <windows.h>

namespace korvane {

class Form1;
class Operator;

void ShowJournalDialog(HWND owner, HFONT font, int dpi, Form1& form, Operator& op);

}  // namespace korvane
