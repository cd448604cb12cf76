#pragma once
// Message boxes and the beep, for the handlers, as real dialogs over the main window.

#include <QPointer>
#include <QWidget>

#include "app/seams.h"

namespace korvane {

// What a message box without a title of its own shows. Not the application display name: Qt
// would append that to every window title as well.
inline constexpr const char* kApplicationTitle = "Korvane ｾｯﾃｲ";

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
