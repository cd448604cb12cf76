#include "qt/backup_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

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

}  // namespace korvane
