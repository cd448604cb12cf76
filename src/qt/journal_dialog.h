#pragma once
// "変更履歴...": the journal of settings written as a table, newest first, filtered by setting,
// with "元に戻す" for the chosen entry. What is read and written is Form1's and the journal's.

#include <QDialog>
#include <memory>

class QWidget;

namespace korvane {

class Form1;
class Operator;

std::unique_ptr<QDialog> NewJournalDialog(QWidget* parent, Form1& form, Operator& op);
void ShowJournalDialog(QWidget* parent, Form1& form, Operator& op);

}  // namespace korvane
