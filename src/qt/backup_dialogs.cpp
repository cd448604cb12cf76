#include "qt/backup_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <vector>

#include "app/backup_sequences.h"
#include "app/progress_shown.h"
#include "qt/text.h"
#include "window/texts.h"

namespace korvane {

namespace {

std::filesystem::path pathOf(const QString& file) {
  return std::filesystem::path(file.toStdU16String());
}

// A fresh read of every setting, shown as "n / 30"; Cancel stops it after the setting in hand.
class ReadProgress {
 public:
  explicit ReadProgress(QWidget* parent)
      : dialog_(qs(kReadingSettings), qs(kCancelCaption), 0, static_cast<int>(kBackupSettingCount),
                parent) {
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
  }
  BackupProgress callback() {
    return [this](int done, int total) {
      const ProgressStep step = ReadProgressStep(done, total);
      if (step.ends) return dialog_.hide(), true;  // the result comes next
      dialog_.setMaximum(total);
      dialog_.setValue(done);
      dialog_.setLabelText(qs(step.text));
      return !dialog_.wasCanceled();
    };
  }

 private:
  QProgressDialog dialog_;
};

// The search's progress: the port in hand, "n / total"; Cancel closes it and stops.
class FindProgressDialog {
 public:
  explicit FindProgressDialog(QWidget* parent)
      : dialog_(qs(kFindTitle), qs(kCancelCaption), 0, 1, parent) {
    dialog_.setWindowTitle(qs(kFindTitle));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
  }
  FindProgress callback() {
    return [this](int done, int total, int number) {
      const ProgressStep step = FindProgressStep(done, total, number);
      if (step.ends) return dialog_.hide(), true;  // the result comes next
      dialog_.setMaximum(total);
      dialog_.setValue(done);
      dialog_.setLabelText(qs(step.text));
      return !dialog_.wasCanceled();
    };
  }

 private:
  QProgressDialog dialog_;
};

// Every setting with the controller's value and the file's; the differing restorable ones
// ticked, date and time shown but never tickable. After "書き込み" each written row says whether
// the controller now holds the file's value.
class CompareDialog : public QDialog {
 public:
  CompareDialog(QWidget* parent, Form1& form, const BackupComparison& comparison)
      : QDialog(parent), form_(form), comparison_(comparison) {
    setWindowTitle(qs(kCompareTitle));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(static_cast<int>(kBackupSettingCount), 4, this);
    QStringList columns;
    for (std::string_view column : kCompareColumns) columns << qs(column);
    table_->setHorizontalHeaderLabels(columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    for (const CompareRow& row : comparison.rows) {
      const int r = static_cast<int>(row.position);
      const auto cells = CompareCells(comparison, row);
      for (int c = 0; c < 4; ++c) table_->setItem(r, c, new QTableWidgetItem(qs(cells[c])));
      QTableWidgetItem* name = table_->item(r, 0);
      name->setFlags(Qt::ItemIsEnabled |
                     (row.restorable ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
      if (row.restorable) name->setCheckState(row.toRestore() ? Qt::Checked : Qt::Unchecked);
    }
    table_->resizeColumnsToContents();
    table_->setMinimumSize(720, 480);
    layout->addWidget(table_);
    summary_ = new QLabel(qs(CompareSummary(comparison)), this);
    layout->addWidget(summary_);
    auto* buttons = new QDialogButtonBox(this);
    write_ = buttons->addButton(qs(kWriteCaption), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs(kCloseCaption), QDialogButtonBox::RejectRole);
    connect(write_, &QPushButton::clicked, this, &CompareDialog::writeTicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
  }

 private:
  void writeTicked() {
    std::vector<std::size_t> ticked;
    for (int r = 0; r < table_->rowCount(); ++r) {
      if (table_->item(r, 0)->checkState() == Qt::Checked)
        ticked.push_back(static_cast<std::size_t>(r));
    }
    write_->setEnabled(false);  // one restore per comparison: read again to compare anew
    setEnabled(false);
    const RestoreReport report = form_.Backup_Restore(comparison_, ticked);
    setEnabled(true);
    write_->setEnabled(report.written() == 0);  // nothing written: the owner may choose again
    for (const RestoreRow& row : report.rows)
      table_->item(static_cast<int>(row.position), 3)->setText(qs(RestoredCell(row)));
    summary_->setText(qs(report.summary));
  }

  Form1& form_;
  const BackupComparison& comparison_;
  QTableWidget* table_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* write_ = nullptr;
};

}  // namespace

void ShowBackupDialogs(QWidget* parent, Form1& form, Operator& op, const BackupShellFacts& facts) {
  if (!form.Backup_Ready()) return;
  const QString file = QFileDialog::getSaveFileName(parent, qs(kBackupTitle), facts.suggestedPath,
                                                    qs(kBackupFileFilter));
  if (file.isEmpty()) return;
  BackupSaveResult result;
  {
    ReadProgress progress(parent);
    result = form.Backup_Save(pathOf(file), facts.toolVersion, facts.portName, progress.callback());
  }
  op.message(result.message, kBackupTitle, TroubleStyle(result.trouble));
}

void ShowCompareRestoreDialogs(QWidget* parent, Form1& form, Operator& op) {
  if (!form.Backup_Ready()) return;
  const QString file =
      QFileDialog::getOpenFileName(parent, qs(kCompareTitle), QString(), qs(kBackupFileFilter));
  if (file.isEmpty()) return;
  BackupComparison comparison;
  {
    ReadProgress progress(parent);
    comparison = form.Backup_Compare(pathOf(file), progress.callback());
  }
  if (comparison.trouble != BackupTrouble::None) {
    op.message(comparison.message, kCompareTitle, MessageStyle::Critical);
    return;
  }
  NewCompareDialog(parent, form, comparison)->exec();
}

std::unique_ptr<QDialog> NewCompareDialog(QWidget* parent, Form1& form,
                                          const BackupComparison& comparison) {
  return std::make_unique<CompareDialog>(parent, form, comparison);
}

}  // namespace korvane

namespace korvane {

void ShowFindDialog(QWidget* parent, Form1& form, PortEvents& events,
                    const std::function<std::string(int)>& deviceText) {
  FindProgressDialog progress(parent);
  form.Find_Controller(events, deviceText, progress.callback());
}

}  // namespace korvane
