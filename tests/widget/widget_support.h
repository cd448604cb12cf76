#pragma once
// Shared by the widget tests: a shown main window and controls found by their object names
// (through Qt, not through the window's own lookup).

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <string>

#include "ui/main_window.h"

namespace korvane::test {

inline QWidget* child(const QWidget& window, const std::string& name) {
  return window.findChild<QWidget*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly);
}

template <typename T>
T* child(const QWidget& window, const std::string& name) {
  return qobject_cast<T*>(child(window, name));
}

class ShownWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  MainWindow window;
};

}  // namespace korvane::test
