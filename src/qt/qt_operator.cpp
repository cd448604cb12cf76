#include "qt/qt_operator.h"

#include <QApplication>
#include <QMessageBox>

#include "qt/text.h"
#include "window/layout.h"

namespace korvane {

MessageButton QtOperator::message(std::string_view text, std::string_view title,
                                  MessageStyle style) {
  const BoxLook look = LookOf(style);
  const QMessageBox::Icon icon = look.icon == BoxIcon::Exclamation ? QMessageBox::Warning
                                 : look.icon == BoxIcon::Error     ? QMessageBox::Critical
                                                                   : QMessageBox::NoIcon;
  const auto buttons = look.cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
  QMessageBox box(icon, qs(title.empty() ? kApplicationTitle : title), qs(text), buttons,
                  window_.data());
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(look.cancel ? QMessageBox::Cancel : QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok ? MessageButton::Ok : MessageButton::Cancel;
}

void QtOperator::beep() {
  QApplication::beep();
}

}  // namespace korvane
