#include "qt/tool_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "window/layout.h"

namespace korvane {

ToolWindow::ToolWindow(QWidget* parent)
    : QWidget(parent), client_(new MainWindow(this)), menuBar_(new QMenuBar(this)) {
  setWindowTitle(QString::fromUtf8(kWindowTitle.data(), qsizetype(kWindowTitle.size())));
  QMenu* file = menuBar_->addMenu(QStringLiteral("ファイル"));
  // A copy of the handler: it may run for a while, and the menu may be rebound meanwhile.
  QAction* backup = file->addAction(QStringLiteral("設定をバックアップ..."), this, [this] {
    if (const auto handler = menuHandlers_.backup) handler();
  });
  backup->setShortcut(QKeySequence::Save);
  QAction* compare = file->addAction(QStringLiteral("設定を比較・復元..."), this, [this] {
    if (const auto handler = menuHandlers_.compareRestore) handler();
  });
  compare->setShortcut(QKeySequence::Open);
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("終了"), this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar_);
  layout->addWidget(client_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  // The client area ends the program (port closed, waits cut short) as it did on its own.
  client_->close();
  event->accept();
}

}  // namespace korvane
