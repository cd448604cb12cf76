#pragma once
// "変更履歴...": the journal of settings written as a table, newest first, filtered by setting,
// with "元に戻す" for the chosen entry. What it shows and does is the core's JournalView.

#include <QDialog>
#include <memory>

class QWidget;

namespace korvane {

class JournalView;

std::unique_ptr<QDialog> NewJournalDialog(QWidget* parent, JournalView& view);

}  // namespace korvane
