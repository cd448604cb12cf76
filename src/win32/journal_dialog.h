#pragma once
// "変更履歴..." as the Qt shell shows it: the journal in a list, newest first, a filter by
// setting, the count of lines that could not be read, and "元に戻す" for the chosen entry. Modal
// over its owner until closed.

#include <windows.h>

namespace korvane {

class Form1;
class Operator;

void ShowJournalDialog(HWND owner, HFONT font, Form1& form, Operator& op);

}  // namespace korvane
