#pragma once
// Form1 as Qt widgets. The widgets are the window's state: Panel reads and writes them by control
// name and keeps no copy. Events go to the handlers of a bound Form1; the window makes no
// decision of its own.

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "app/port_tooltip.h"
#include "app/seams.h"

class QComboBox;
class QLineEdit;

namespace korvane {

class BusyWindow;
struct ControlEntry;

class MainWindow : public QWidget, public Panel {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Where the window's events go (Form1's face for shells); nullptr: nowhere.
  void bind(WindowEvents* events) { events_ = events; }

  // Each item of the port box gets the text of its port number as its tooltip, made anew each
  // time the list drops down.
  void setPortTooltips(PortTexts texts);

  // The widget of a control, nullptr for an unknown name. Form2 is busyWindow().
  QWidget* control(std::string_view name) const;
  BusyWindow* busyWindow() const { return busy_; }

  // Panel
  std::string text(std::string_view control) const override;
  void setText(std::string_view control, std::string_view value) override;
  Colour lamp(int shape) const override;
  void setLamp(int shape, Colour colour) override;
  void setHighlighted(std::string_view control, bool highlighted) override;
  bool isEnabled(std::string_view control) const override;
  void setEnabled(std::string_view control, bool enabled) override;
  void showBusy(bool shown) override;
  void addItem(std::string_view control, std::string_view text) override;

  using QWidget::isEnabled;
  using QWidget::setEnabled;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void build();
  QWidget* make(const ControlEntry& entry);
  QWidget* makeLabel(const ControlEntry& entry);
  QWidget* makeButton(const ControlEntry& entry);
  QWidget* makeField(const ControlEntry& entry);
  QWidget* makeCombo(const ControlEntry& entry);
  QWidget* makeFill(const ControlEntry& entry);
  void fillLists();
  bool combo1KeepsFocus(Qt::FocusReason reason) const;

  std::map<std::string, QWidget*, std::less<>> controls_;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  PortTexts portTips_;
  void tipPortItems();
  bool combo1Focused_ = false;
  bool committingTypedText_ = false;
  BusyWindow* busy_ = nullptr;
  WindowEvents* events_ = nullptr;
};

}  // namespace korvane
