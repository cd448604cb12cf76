#pragma once
// The program's top-level window: the menu bar "ファイル" above the unchanged client area of
// MainWindow. The menu's two backup entries call the handlers the shell gives; "終了" closes the
// window as its close button does.

#include <QWidget>
#include <functional>

#include "qt/main_window.h"

class QMenuBar;

namespace korvane {

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  struct MenuHandlers {
    std::function<void()> backup;          // "設定をバックアップ..."
    std::function<void()> compareRestore;  // "設定を比較・復元..."
  };

  explicit ToolWindow(QWidget* parent = nullptr);

  MainWindow& client() { return *client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  void setMenuHandlers(MenuHandlers handlers) { menuHandlers_ = std::move(handlers); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MainWindow* client_;
  QMenuBar* menuBar_;
  MenuHandlers menuHandlers_;
};

}  // namespace korvane
