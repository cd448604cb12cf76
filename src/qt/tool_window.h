#pragma once
// The program's top-level window: the menu bar ("ファイル", "通信") above the unchanged client
// area of MainWindow. The menu's backup entries and the search call the handlers the shell
// gives; "終了" closes the window as its close button does. The search is greyed out while
// findAvailable says no (a port is open).

#include <QWidget>
#include <functional>

#include "app/menu_flows.h"
#include "qt/main_window.h"

class QAction;
class QMenuBar;

namespace korvane {

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ToolWindow(QWidget* parent = nullptr);

  MainWindow& client() { return *client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QAction* findAction() const { return find_; }
  void setMenuHandlers(MenuHandlers handlers) { menuHandlers_ = std::move(handlers); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MainWindow* client_;
  QMenuBar* menuBar_;
  MenuHandlers menuHandlers_;
  QAction* find_ = nullptr;
};

}  // namespace korvane
