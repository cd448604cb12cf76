#pragma once
// The Qt shell's side of the menu's entries: the system's file dialogs and the progress dialog.
// What is read, checked and written, and when each shows, is the core's (Form1::Menu_Backup,
// Menu_Compare, Menu_Find).

#include <QProgressDialog>
#include <memory>

#include "app/seams.h"

class QWidget;

namespace korvane {

class QtFileChooser : public FileChooser {
 public:
  explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
  std::filesystem::path saveFile(std::string_view title, std::string_view name) override;
  std::filesystem::path openFile(std::string_view title) override;

 private:
  QWidget* parent_;
};

// A window-modal QProgressDialog, made anew each time it opens.
class QtProgress : public Progress {
 public:
  explicit QtProgress(QWidget* parent) : parent_(parent) {}
  ~QtProgress() override { close(); }
  void open(std::string_view title) override;
  void step(std::string_view text, int value, int maximum) override;
  bool cancelled() const override;
  void close() override;

 private:
  QWidget* parent_;
  std::unique_ptr<QProgressDialog> dialog_;
  bool cancelled_ = false;
};

}  // namespace korvane
