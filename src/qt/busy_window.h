#pragma once
// Form2: the small notice that stays up while the calculator writes the step parameters. It has
// no buttons and no handlers, and never blocks: the writing goes on behind it.

#include <QWidget>

class QLabel;

namespace korvane {

class BusyWindow : public QWidget {
  Q_OBJECT

 public:
  explicit BusyWindow(QWidget* owner);

  // Shows the notice centred on its owner, without waiting for anything.
  void showCentred();

  QLabel* label() const { return label_; }

 private:
  QLabel* label_ = nullptr;
};

}  // namespace korvane
