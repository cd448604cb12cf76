#include "qt/journal_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/backup_sequences.h"
#include "app/form1.h"
#include "app/journal_shown.h"
#include "backup/backup_keys.h"
#include "files/journal.h"
#include "qt/text.h"
#include "window/texts.h"

namespace korvane {

namespace {

class JournalDialog : public QDialog {
 public:
  JournalDialog(QWidget* parent, Form1& form, Operator& op)
      : QDialog(parent), form_(form), op_(op) {
    setWindowTitle(qs(kJournalTitle));
    auto* layout = new QVBoxLayout(this);
    filter_ = new QComboBox(this);
    filter_->setObjectName("journalFilter");
    layout->addWidget(filter_);
    table_ = new QTableWidget(0, int(kJournalFields), this);
    table_->setObjectName("journalTable");
    QStringList columns;
    for (const std::string& column : JournalColumns()) columns << qs(column);
    table_->setHorizontalHeaderLabels(columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    skipped_ = new QLabel(this);
    layout->addWidget(skipped_);
    auto* buttons = new QDialogButtonBox(this);
    undo_ = buttons->addButton(qs(kUndoCaption), QDialogButtonBox::ActionRole);
    buttons->addButton(qs(kCloseCaption), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(undo_, &QPushButton::clicked, this, [this] { undoChosen(); });
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { fill(); });
    resize(960, 480);
    load();
  }

 private:
  void load() {
    read_ = ReadJournal(form_.folder());
    const QString chosen = filter_->currentData().toString();
    filter_->blockSignals(true);
    filter_->clear();
    filter_->addItem(qs(kJournalAllSettings), QString());
    for (const std::string& key : JournalKeys(read_.entries))
      filter_->addItem(qs(backupSettingName(key)), qs(key));
    filter_->setCurrentIndex(std::max(0, filter_->findData(chosen)));
    filter_->blockSignals(false);
    skipped_->setText(read_.skipped > 0 ? qs(JournalSkippedText(read_.skipped)) : QString());
    fill();
  }

  void fill() {
    rows_ = JournalRows(read_.entries, filter_->currentData().toString().toStdString());
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
      const JournalEntry shown = ShownJournalEntry(read_.entries[rows_[std::size_t(r)]], false);
      const auto cells = JournalCells(shown);
      for (std::size_t c = 0; c < cells.size(); ++c)
        table_->setItem(r, int(c), new QTableWidgetItem(qs(cells[c])));
    }
    table_->resizeColumnsToContents();
    if (const auto chosen = JournalChosenRow(rows_)) table_->selectRow(int(*chosen));
  }

  void undoChosen() {
    const int row = table_->currentRow();
    if (row < 0 || std::size_t(row) >= rows_.size()) return;
    const JournalEntry entry = read_.entries[rows_[std::size_t(row)]];
    setEnabled(false);
    const RestoreReport report = form_.Journal_Undo(entry);
    setEnabled(true);
    op_.message(report.summary, kJournalTitle, TroubleStyle(report.trouble));
    load();  // the undo is an entry of its own
  }

  Form1& form_;
  Operator& op_;
  QComboBox* filter_;
  QTableWidget* table_;
  QLabel* skipped_;
  QPushButton* undo_;
  JournalRead read_;
  std::vector<std::size_t> rows_;
};

}  // namespace

std::unique_ptr<QDialog> NewJournalDialog(QWidget* parent, Form1& form, Operator& op) {
  return std::make_unique<JournalDialog>(parent, form, op);
}

void ShowJournalDialog(QWidget* parent, Form1& form, Operator& op) {
  NewJournalDialog(parent, form, op)->exec();
}

}  // namespace korvane
