#pragma once
// The menu's backup entries as dialogs over the window: a save dialog and a progress dialog for a
// backup; an open dialog, the progress dialog and a table of every setting for compare and
// restore. What is read, checked and written is Form1's; the dialogs only show it.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/form1.h"

class QWidget;

namespace korvane {

class Operator;

struct BackupShellFacts {
  std::string toolVersion;  // written into the file
  std::string portName;     // "COM3", written into the file
  QString suggestedPath;    // the save dialog's start, korvane-YYYYMMDD-HHMM.ini in Documents
};

void ShowBackupDialogs(QWidget* parent, Form1& form, Operator& op, const BackupShellFacts& facts);
void ShowCompareRestoreDialogs(QWidget* parent, Form1& form, Operator& op);
// "コントローラーを探す...": the search with a progress dialog that can cancel it; Form1 says
// what was found. events are the window's port's.
void ShowFindDialog(QWidget* parent, Form1& form, PortEvents& events,
                    const std::function<std::string(int)>& deviceText);
// The table of a comparison that has been read, with its "書き込み" button.
std::unique_ptr<QDialog> NewCompareDialog(QWidget* parent, Form1& form,
                                          const BackupComparison& comparison);

}  // namespace korvane
