#include "qt/tool_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "qt/text.h"
#include "window/layout.h"
#include "window/texts.h"
#include "window/window_faces.h"

namespace korvane {

ToolWindow::ToolWindow(QWidget* parent)
    : QWidget(parent), client_(new MainWindow(this)), menuBar_(new QMenuBar(this)) {
  setWindowTitle(qs(kWindowTitle));
  QMenu* file = menuBar_->addMenu(qs(kFileMenu));
  for (const MenuEntry& entry : kFileMenuEntries) {
    if (entry.command == MenuCommand::Separator) {
      file->addSeparator();
      continue;
    }
    QAction* action = file->addAction(qs(entry.caption), this, [this, command = entry.command] {
      if (command == MenuCommand::Quit) return void(close());
      if (const auto handler = menuHandlers_.of(command)) handler();
    });
    if (entry.key != StandardKey::None) {
      action->setShortcut(entry.key == StandardKey::Save   ? QKeySequence::Save
                          : entry.key == StandardKey::Open ? QKeySequence::Open
                                                           : QKeySequence::Quit);
    }
  }
  QMenu* comm = menuBar_->addMenu(qs(kCommMenu));
  find_ = comm->addAction(qs(kFindMenuEntry), this, [this] {
    const auto handler = menuHandlers_.find;
    if (handler && find_->isEnabled()) handler();
  });
  // Greyed out while a port is open: that port already answers the question.
  connect(comm, &QMenu::aboutToShow, this,
          [this] { find_->setEnabled(menuHandlers_.searchAvailable()); });

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
