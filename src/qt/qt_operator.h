#pragma once
// Message boxes and the beep, for the handlers, as real dialogs over the main window.

#include <QPointer>
#include <QWidget>

#include "app/seams.h"

namespace korvane {

class QtOperator : public Operator {
 public:
  explicit QtOperator(QWidget* window) : window_(window) {}

  // Modal over the window; an empty title shows the application's title.
  MessageButton message(std::string_view text, std::string_view title, MessageStyle style) override;
  void beep() override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace korvane
