#include "qt/backup_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/menu_flows.h"
#include "qt/text.h"
#include "window/texts.h"

namespace korvane {

namespace {

QString filter() {
  QStringList filters;
  for (const FileFilter& f : kBackupFileFilters) filters << qs(f.name);
  return filters.join(";;");
}

std::filesystem::path pathOf(const QString& file) {
  return std::filesystem::path(file.toStdU16String());
}

class CompareDialog : public QDialog {
 public:
  CompareDialog(QWidget* parent, CompareTable& model) : QDialog(parent), model_(model) {
    setWindowTitle(qs(kCompareTitle));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(static_cast<int>(CompareTable::kRows), 4, this);
    QStringList columns;
    for (std::string_view column : kCompareColumns) columns << qs(column);
    table_->setHorizontalHeaderLabels(columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    for (int r = 0; r < table_->rowCount(); ++r) {
      for (int c = 0; c < 4; ++c) table_->setItem(r, c, new QTableWidgetItem());
      const bool tickable = model_.tickable(std::size_t(r));
      QTableWidgetItem* name = table_->item(r, 0);
      name->setFlags(Qt::ItemIsEnabled | (tickable ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
      if (tickable)
        name->setCheckState(model_.ticked(std::size_t(r)) ? Qt::Checked : Qt::Unchecked);
    }
    summary_ = new QLabel(this);
    auto* buttons = new QDialogButtonBox(this);
    write_ = buttons->addButton(qs(kWriteCaption), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs(kCloseCaption), QDialogButtonBox::RejectRole);
    connect(write_, &QPushButton::clicked, this, &CompareDialog::writeTicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
    draw();
    table_->resizeColumnsToContents();
    table_->setMinimumSize(720, 480);
  }

 private:
  void draw() {
    for (int r = 0; r < table_->rowCount(); ++r) {
      const auto& cells = model_.cells(std::size_t(r));
      for (int c = 0; c < 4; ++c) table_->item(r, c)->setText(qs(cells[std::size_t(c)]));
    }
    summary_->setText(qs(model_.summary()));
    write_->setEnabled(model_.writable());
  }

  void writeTicked() {
    for (int r = 0; r < table_->rowCount(); ++r)
      model_.setTicked(std::size_t(r), table_->item(r, 0)->checkState() == Qt::Checked);
    setEnabled(false);
    model_.write();
    setEnabled(true);
    draw();
  }

  CompareTable& model_;
  QTableWidget* table_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* write_ = nullptr;
};

}  // namespace

std::filesystem::path QtFileChooser::saveFile(std::string_view title, std::string_view name) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return pathOf(QFileDialog::getSaveFileName(parent_, qs(title), QDir(documents).filePath(qs(name)),
                                             filter()));
}

std::filesystem::path QtFileChooser::openFile(std::string_view title) {
  return pathOf(QFileDialog::getOpenFileName(parent_, qs(title), QString(), filter()));
}

void QtProgress::open(std::string_view title) {
  close();
  cancelled_ = false;
  dialog_ = std::make_unique<QProgressDialog>(QString(), qs(kCancelCaption), 0, 1, parent_);
  dialog_->setWindowTitle(qs(title));
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setMinimumDuration(0);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] { cancelled_ = true; });
}

void QtProgress::step(std::string_view text, int value, int maximum) {
  if (!dialog_) return;
  dialog_->setMaximum(maximum);
  dialog_->setValue(value);
  dialog_->setLabelText(qs(text));
}

bool QtProgress::cancelled() const {
  return cancelled_;
}

void QtProgress::close() {
  dialog_.reset();
}

std::unique_ptr<QDialog> NewCompareDialog(QWidget* parent, CompareTable& table) {
  return std::make_unique<CompareDialog>(parent, table);
}

}  // namespace korvane
