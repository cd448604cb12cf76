#include "qt/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "protocol/controls.h"
#include "protocol/presets.h"
#include "qt/busy_window.h"
#include "qt/text.h"
#include "window/layout.h"
#include "window/window_faces.h"

namespace korvane {

namespace {

QColor toQColor(Colour c) {
  return QColor(c.r, c.g, c.b);
}
Colour toColour(const QColor& c) {
  return Colour{c.red(), c.green(), c.blue()};
}

QRect pixels(const ControlEntry& entry) {
  return QRect(twipsToPixels(entry.x), twipsToPixels(entry.y), twipsToPixels(entry.w),
               std::max(1, twipsToPixels(entry.h)));
}

Qt::Alignment alignment(Align align) {
  switch (align) {
    case Align::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Centre:
      return Qt::AlignCenter;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// The window is measured in ＭＳ Ｐゴシック; where it is missing, IPAPGothic has the same metrics.
void installFontSubstitutions() {
  static const bool installed = [] {
    QFont::insertSubstitutions(qs(kWindowFontFamily), {"IPAPGothic", "Noto Sans CJK JP"});
    return true;
  }();
  (void)installed;
}

// Fills a plain widget with one colour in every colour group, so that nothing (a disabled
// window, an inactive one) tints it: lamps and lines.
void fill(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

void setBase(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Base, colour);
  widget.setPalette(palette);
}

QColor resolve(Paint paint) {
  if (const auto* rgb = std::get_if<Colour>(&paint)) return toQColor(*rgb);
  const QPalette system = QApplication::palette();
  switch (std::get<SystemColour>(paint)) {
    case SystemColour::HighlightText:
      return system.color(QPalette::Active, QPalette::HighlightedText);
    case SystemColour::AppWorkspace:  // Qt has none; its own workspace, QMdiArea, paints with Dark
      return system.color(QPalette::Active, QPalette::Dark);
    case SystemColour::ButtonFace:
      return system.color(QPalette::Active, QPalette::Button);
    case SystemColour::Default:
      break;
  }
  return {};
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  installFontSubstitutions();
  setObjectName("Form1");
  setWindowTitle(qs(kWindowTitle));
  QFont font(qs(kWindowFontFamily));
  font.setPointSizeF(kWindowFontPoints);
  setFont(font);
  // The background is painted rather than put in the palette, which every child would inherit.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
  build();
  busy_ = new BusyWindow(this);
  control(TabOrder().front())->setFocus();
}

MainWindow::~MainWindow() {
  // Qt closes the window only after this destructor, and the focus-out of that close would call
  // back into a MainWindow that is already gone.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->disconnect(this);
}

QWidget* MainWindow::makeLabel(const ControlEntry& entry) {
  auto* label = new QLabel(qs(entry.caption), this);
  label->setAlignment(alignment(entry.align));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, resolve(CaptionColour(entry)));
  label->setPalette(palette);
  return label;
}

QWidget* MainWindow::makeButton(const ControlEntry& entry) {
  auto* button = new QPushButton(qs(entry.caption), this);
  // Enter presses the button that has the focus, as Space does. Outside a dialog no button is
  // the default one, so Enter in a field or a box still presses nothing.
  button->setAutoDefault(true);
  if (!entry.access.empty()) {
    button->setAccessibleDescription(qs(entry.caption) + ": " + qs(entry.access));
  }
  connect(button, &QPushButton::clicked, this, [this, name = std::string(entry.name)] {
    if (events_ != nullptr) events_->Click(name);
  });
  return button;
}

QWidget* MainWindow::makeField(const ControlEntry& entry) {
  auto* edit = new QLineEdit(qs(entry.caption), this);
  edit->setAlignment(alignment(entry.align));
  edit->setReadOnly(entry.has(kReadOnly));
  edit->setFrame(!entry.has(kFlat));
  edit->setAccessibleName(qs(entry.access));
  if (const auto* rgb = std::get_if<Colour>(&entry.back)) setBase(*edit, toQColor(*rgb));
  return edit;
}

QWidget* MainWindow::makeCombo(const ControlEntry& entry) {
  auto* combo = new QComboBox(this);
  // On Enter or on leaving the box, Qt picks the item that the typed text names and reports it
  // as activated, as if it had been picked from the list. Our connections around the combo's own
  // one mark that moment, so that typing "EQ5" loads no preset.
  auto* edit = new QLineEdit;
  connect(edit, &QLineEdit::editingFinished, this, [this] { committingTypedText_ = true; });
  combo->setLineEdit(edit);
  connect(edit, &QLineEdit::editingFinished, this, [this] { committingTypedText_ = false; });
  // The lists never change, and a typed text stays exactly as typed: no inline completion (it
  // would turn "com3" into "COM3" and pick an item on Enter).
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  combo->setAccessibleName(qs(entry.access));
  combo->installEventFilter(this);
  combo->lineEdit()->installEventFilter(this);
  return combo;
}

// Lamps and lines: plain widgets filled with one colour.
QWidget* MainWindow::makeFill(const ControlEntry& entry) {
  auto* widget = new QWidget(this);
  fill(*widget, resolve(entry.back));
  return widget;
}

QWidget* MainWindow::make(const ControlEntry& entry) {
  switch (entry.kind) {
    case ControlKind::Label:
      return makeLabel(entry);
    case ControlKind::Button:
      return makeButton(entry);
    case ControlKind::Field:
      return makeField(entry);
    case ControlKind::Combo:
      return makeCombo(entry);
    case ControlKind::Lamp:
    case ControlKind::Line:
      break;
  }
  return makeFill(entry);
}

void MainWindow::build() {
  for (const ControlEntry& entry : windowControls()) {
    QWidget* widget = make(entry);
    widget->setObjectName(qs(entry.name));
    widget->setGeometry(pixels(entry));
    if (entry.points != kWindowFontPoints) {
      QFont small = widget->font();
      small.setPointSizeF(entry.points);
      widget->setFont(small);
    }
    if (entry.has(kHidden)) {
      widget->setFocusPolicy(Qt::NoFocus);
      widget->hide();
    }
    controls_.emplace(std::string(entry.name), widget);
  }
  // Tab goes from the port on through the window as it reads, not in the order of creation.
  const std::vector<std::string_view> order = TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i)
    setTabOrder(control(order[i - 1]), control(order[i]));
  fillLists();
}

// The three lists, which never change.
void MainWindow::fillLists() {
  for (const char* name : {kCombo1, kCombo2, kCombo3}) {
    auto* combo = qobject_cast<QComboBox*>(control(name));
    for (const std::string& item : ComboItems(name)) combo->addItem(qs(item));
    setText(name, ComboFirstText(name));
  }
  combo1_ = qobject_cast<QComboBox*>(control(kCombo1));
  combo2_ = qobject_cast<QComboBox*>(control(kCombo2));
  // activated is a pick from the list, by mouse or arrow keys.
  connect(combo2_, &QComboBox::activated, this, [this] {
    if (!committingTypedText_ && events_ != nullptr) events_->Combo2_Click();
  });
}

void MainWindow::setPortTooltips(PortTexts texts) {
  portTips_ = std::move(texts);
  combo1_->view()->installEventFilter(this);  // its Show: the list drops down
}

void MainWindow::tipPortItems() {
  std::vector<std::string> items;
  for (int i = 0; i < combo1_->count(); ++i) items.push_back(combo1_->itemText(i).toStdString());
  const std::vector<std::string> tips = PortItemTips(items, portTips_);
  for (std::size_t i = 0; i < tips.size(); ++i)
    combo1_->setItemData(int(i), qs(tips[i]), Qt::ToolTipRole);
}

void MainWindow::addItem(std::string_view name, std::string_view text) {
  auto* combo = qobject_cast<QComboBox*>(control(name));
  if (combo == nullptr) return;
  combo->addItem(qs(text));
}

QWidget* MainWindow::control(std::string_view name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

std::string MainWindow::text(std::string_view name) const {
  QWidget* widget = control(name);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText().toStdString();
  return {};
}

void MainWindow::setText(std::string_view name, std::string_view value) {
  QWidget* widget = control(name);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(qs(value));
    // Show the start of a long value (a 15-digit gear ratio), not its end.
    edit->setCursorPosition(0);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    // The list position follows the text where an item matches it exactly, so that the arrow
    // keys go on from there; the text itself is always exactly the value.
    combo->setCurrentIndex(combo->findText(qs(value), Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(qs(value));
    combo->lineEdit()->setCursorPosition(0);
  }
}

Colour MainWindow::lamp(int shape) const {
  QWidget* widget = control("Shape" + std::to_string(shape));
  return widget ? toColour(widget->palette().color(QPalette::Window)) : Colour{};
}

void MainWindow::setLamp(int shape, Colour colour) {
  if (QWidget* widget = control("Shape" + std::to_string(shape))) fill(*widget, toQColor(colour));
}

void MainWindow::setHighlighted(std::string_view name, bool highlighted) {
  QWidget* widget = control(name);
  if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget)) return;
  const auto entry = std::ranges::find(windowControls(), name, &ControlEntry::name);
  setBase(*widget,
          resolve(ControlBack(*entry, highlighted ? Highlight::Now : Highlight::Before, {})));
}

bool MainWindow::isEnabled(std::string_view name) const {
  if (name == kForm1) return QWidget::isEnabled();
  QWidget* widget = control(name);
  return widget != nullptr && widget->isEnabledTo(this);
}

void MainWindow::setEnabled(std::string_view name, bool enabled) {
  if (name == kForm1) {
    // The whole top-level window, the menu bar above the client area included.
    window()->setEnabled(enabled);
  } else if (QWidget* widget = control(name)) {
    widget->setEnabled(enabled);
  }
}

void MainWindow::showBusy(bool shown) {
  if (shown) {
    busy_->showCentred();
  } else {
    busy_->hide();
  }
}

// The list dropping down (and the focus moving about inside it), or another window coming to
// the front, is not leaving the box.
bool MainWindow::combo1KeepsFocus(Qt::FocusReason reason) const {
  if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return true;
  if (QApplication::activePopupWidget() != nullptr) return true;
  // By now the focus widget is where the focus went.
  QWidget* next = QApplication::focusWidget();
  return next != nullptr && (next == combo1_ || combo1_->isAncestorOf(next) ||
                             combo1_->view()->window()->isAncestorOf(next));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (portTips_ && event->type() == QEvent::Show && watched == combo1_->view()) tipPortItems();
  if (event->type() == QEvent::Wheel && (qobject_cast<QComboBox*>(watched) != nullptr ||
                                         qobject_cast<QComboBox*>(watched->parent()) != nullptr)) {
    // A turn of the wheel over Combo2 would load a preset, and with the port open write it to
    // the controller; the lists are picked by click or keys only.
    return true;
  }
  if (combo1_ != nullptr && (watched == combo1_ || watched == combo1_->lineEdit())) {
    if (event->type() == QEvent::FocusIn) {
      combo1Focused_ = true;
    } else if (event->type() == QEvent::FocusOut && combo1Focused_ &&
               !combo1KeepsFocus(static_cast<QFocusEvent*>(event)->reason())) {
      // The flag keeps the box and its line edit from reporting one loss of focus twice.
      combo1Focused_ = false;
      if (events_ != nullptr) events_->Combo1_LostFocus();
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), toQColor(kWindowBackground));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (events_ != nullptr) events_->Form_Unload();
  event->accept();
}

}  // namespace korvane
