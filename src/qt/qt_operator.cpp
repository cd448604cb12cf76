#include "qt/qt_operator.h"

#include <QApplication>
#include <QMessageBox>

#include "qt/text.h"
#include "window/layout.h"

namespace korvane {

namespace {

struct BoxLook {
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

BoxLook lookOf(MessageStyle style) {
  switch (style) {
    case MessageStyle::OkCancel:
      return {QMessageBox::NoIcon, QMessageBox::Ok | QMessageBox::Cancel};
    case MessageStyle::OkCancelExclamation:
      return {QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel};
    case MessageStyle::Critical:
      return {QMessageBox::Critical, QMessageBox::Ok};
    case MessageStyle::Ok:
      break;
  }
  return {QMessageBox::NoIcon, QMessageBox::Ok};
}

}  // namespace

MessageButton QtOperator::message(std::string_view text, std::string_view title,
                                  MessageStyle style) {
  const BoxLook look = lookOf(style);
  QMessageBox box(look.icon, qs(title.empty() ? kApplicationTitle : title), qs(text), look.buttons,
                  window_.data());
  box.setDefaultButton(QMessageBox::Ok);
  // Escape answers Cancel where there is one, OK otherwise.
  box.setEscapeButton(look.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                                 : QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok ? MessageButton::Ok : MessageButton::Cancel;
}

void QtOperator::beep() {
  QApplication::beep();
}

}  // namespace korvane
