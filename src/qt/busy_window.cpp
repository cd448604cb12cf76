#include "qt/busy_window.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include "qt/text.h"
#include "window/layout.h"
#include "window/texts.h"

namespace korvane {

BusyWindow::BusyWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
  setObjectName("Form2");
  setFixedSize(twipsToPixels(kBusyWidthTwips), twipsToPixels(kBusyHeightTwips));
  // The roles are set for every colour group: the calculator disables the main window while the
  // notice shows, and the notice, a child of it, must not turn grey with it.
  QPalette teal = palette();
  teal.setColor(QPalette::Window, QColor(kBusyBackground.r, kBusyBackground.g, kBusyBackground.b));
  teal.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::HighlightedText));
  setPalette(teal);
  setAutoFillBackground(true);

  label_ = new QLabel(qs(kBusyNotice), this);
  label_->setObjectName("Form2.Label1");
  QFont font(qs(kWindowFontFamily));
  font.setPointSizeF(kBusyFontPoints);
  font.setBold(true);
  label_->setFont(font);
  label_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
}

void BusyWindow::showCentred() {
  if (QWidget* owner = parentWidget()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(owner->geometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
}

}  // namespace korvane
