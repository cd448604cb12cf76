// The window offscreen: its controls inside the fixed client area, none overlapping, no caption
// cut off or without its glyphs; the events that reach the handlers; and the lamps, the
// highlight, the busy notice and the message boxes as the operator sees them.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <set>

#include "app/backup_sequences.h"
#include "app/menu_flows.h"
#include "kit/virtual_kit.h"
#include "qt/backup_dialogs.h"
#include "qt/busy_window.h"
#include "qt/main_window.h"
#include "qt/qt_operator.h"
#include "qt/table_dialog.h"
#include "qt/tool_window.h"
#include "window/layout.h"

namespace korvane {
namespace {

using Events = std::vector<std::string>;

// A window's events written down instead of handled.
struct Recorded : WindowEvents {
  Recorded(const MainWindow& window, Events& events) : window(window), events(events) {}
  void Click(std::string_view c) override { events.push_back(std::string(c)); }
  void Combo1_LostFocus() override { events.push_back("left " + window.text("Combo1")); }
  void Combo2_Click() override { events.push_back("preset " + window.text("Combo2")); }
  void Form_Unload() override { events.push_back("unload"); }
  const MainWindow& window;
  Events& events;
};

// The window shown, with its events written down.
class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    window.bind(&recorded);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QColor pixel(const char* control, QPoint offset = {}) {
    const QRect r = window.control(control)->geometry();
    return window.grab().toImage().pixelColor(offset.isNull() ? r.center() : r.topLeft() + offset);
  }
  MainWindow window;
  Events events;
  Recorded recorded{window, events};
};

TEST_F(Window, EveryControlLiesInsideTheClientAreaAloneAndWithItsWholeCaption) {
  EXPECT_EQ(window.minimumSize(), QSize(925, 568));
  EXPECT_EQ(window.maximumSize(), QSize(925, 568));
  std::vector<QWidget*> shown;
  std::set<QString> names;  // a screen reader tells every field and every SET button apart
  for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isVisible()) {
      EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << "a hidden Tab stop";
      continue;
    }
    if (!w->isWindow()) shown.push_back(w);
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))
      names.insert(w->accessibleName());
    if (w->accessibleDescription().startsWith("SET: ")) names.insert(w->accessibleDescription());
  }
  EXPECT_EQ(names.size(), 35u + 22u);  // 22 parameters, Text2..Text11, the combos; 22 SET buttons
  ASSERT_GT(shown.size(), 150u);
  for (QWidget* w : shown) {
    const std::string name = w->objectName().toStdString();
    EXPECT_TRUE(QRect(0, 0, 925, 568).contains(w->geometry())) << name;
    for (QWidget* other : shown) {
      EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry())) << name;
    }
    QString caption;  // it fits: a label's text its contents, a button's inside its frame
    int room = w->width() - 4;
    if (auto* label = qobject_cast<QLabel*>(w))
      caption = label->text(), room = label->contentsRect().width();
    if (auto* button = qobject_cast<QPushButton*>(w)) caption = button->text();
    EXPECT_LE(w->fontMetrics().horizontalAdvance(caption), room) << name;
    for (const QChar c : caption)
      EXPECT_TRUE(w->fontMetrics().inFont(c)) << name << " lacks a glyph";
  }
}

TEST_F(Window, EveryButtonPressesTheHandlerOfItsOwnName) {
  Events pressed;
  for (QPushButton* button : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
    button->click();
    pressed.push_back(button->objectName().toStdString());
  }
  EXPECT_EQ(events, pressed);
  EXPECT_EQ(std::set(pressed.begin(), pressed.end()).size(), 4u + 31u + 16u + 21u);
}

// Leaving the port box runs before the click that left it; only a pick from the preset list,
// not typing there, loads a preset; closing unloads and keeps the window for handlers in a wait.
TEST_F(Window, TheBoxesAndClosingReachTheirHandlers) {
  auto* combo1 = window.findChild<QComboBox*>("Combo1");
  QTest::mouseClick(combo1->lineEdit(), Qt::LeftButton);
  combo1->lineEdit()->selectAll();
  QTest::keyClicks(combo1->lineEdit(), "COM5");
  QTest::mouseClick(window.control("Command11"), Qt::LeftButton);
  auto* combo2 = window.findChild<QComboBox*>("Combo2");
  combo2->setFocus(Qt::MouseFocusReason);
  QTest::keyClicks(combo2->lineEdit(), "EQ5");
  QTest::keyClick(combo2->lineEdit(), Qt::Key_Return);
  combo2->showPopup();
  combo2->view()->setCurrentIndex(combo2->view()->model()->index(3, 0));
  QTest::keyClick(combo2->view(), Qt::Key_Return);
  QPointer<MainWindow> alive(&window);
  EXPECT_TRUE(window.close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive.isNull());
  EXPECT_EQ(events, (Events{"left COM5", "Command11", "preset NJP", "unload"}));
}

// The focus starts at the port, Tab follows TabOrder(), Enter presses a button but not a field.
TEST_F(Window, TheFocusStartsAtThePortAndEnterPressesTheFocusedButton) {
  for (std::string_view name : TabOrder()) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus == window.control(name) || window.control(name)->isAncestorOf(focus)) << name;
    if (name == "Combo1" || name == "Text1(0)" || name == "Command11" || name == "Command6(0)")
      QTest::keyClick(focus, name == "Command6(0)" ? Qt::Key_Enter : Qt::Key_Return);  // keypad's
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(events, (Events{"left COM10", "Command11", "Command6(0)"}));
}

// Another window coming to the front is no leaving of the port box; Tab away from it is.
TEST_F(Window, AnotherWindowInFrontKeepsThePortBoxItsFocus) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QLineEdit other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_TRUE(events.empty()) << testing::PrintToString(events);
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].starts_with("left ")) << events[0];
}

// The progress of a read from the menu: its line, how far of how many, and Cancel taken.
TEST_F(Window, TheProgressDialogShowsHowFarAndTakesCancel) {
  QtProgress progress(&window);
  progress.open("設定をバックアップ");
  progress.step("12 / 30", 12, 30);
  auto* dialog = window.findChild<QProgressDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(
      std::tuple(dialog->windowTitle(), dialog->labelText(), dialog->value(), dialog->maximum()),
      std::tuple(QString::fromUtf8("設定をバックアップ"), QStringLiteral("12 / 30"), 12, 30));
  EXPECT_FALSE(progress.cancelled());
  QPushButton* cancel = dialog->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), QString::fromUtf8("キャンセル"));
  cancel->click();
  EXPECT_TRUE(progress.cancelled());
  progress.close();
  EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

// A box shows exactly the text it is given, in the list or not ("切断" empties the channel box),
// and the arrow keys go on from a listed value.
TEST_F(Window, ABoxShowsExactlyItsTextAndTheArrowKeysGoOnFromIt) {
  auto* combo3 = window.findChild<QComboBox*>("Combo3");
  for (const char* value : {" 6", "6", ""}) {
    window.setText("Combo3", value);
    EXPECT_EQ(window.text("Combo3"), value);
  }
  window.setText("Combo3", " 6");
  QTest::keyClick(combo3, Qt::Key_Down);
  EXPECT_EQ(window.text("Combo3"), " 7");
  // The port list's tooltips are made as it drops down, each time: what is plugged in then.
  std::string plugged = "/dev/port";
  window.setPortTooltips([&](const std::vector<int>& numbers) {
    std::vector<std::string> texts;
    for (int n : numbers) texts.push_back(plugged + std::to_string(n));
    return texts;
  });
  auto* combo1 = window.findChild<QComboBox*>("Combo1");
  for (const char* device : {"/dev/port", "/dev/usb"}) {
    plugged = device;
    combo1->showPopup();
    EXPECT_EQ(combo1->itemData(2, Qt::ToolTipRole).toString(), QString(device) + "3");  // COM3's
    combo1->hidePopup();
  }
}

// The operator reads state from the lamps: a disabled window must not grey them.
TEST_F(Window, LampsShowTheirExactColourAndAFieldIsHighlightedPaleYellow) {
  EXPECT_EQ(pixel("Shape1"), QColor(0, 128, 0));
  for (int shape = 1; shape <= 14; ++shape) window.setLamp(shape, {shape, 34, 56});
  window.setEnabled("Form1", false);
  for (int shape = 1; shape <= 14; ++shape) {
    EXPECT_EQ(pixel(("Shape" + std::to_string(shape)).c_str()), QColor(shape, 34, 56)) << shape;
    EXPECT_EQ(window.lamp(shape), (Colour{shape, 34, 56})) << shape;
  }
  EXPECT_EQ(pixel("Text1(0)", {3, 3}), QColor(128, 128, 128));  // a read-only-looking field
  window.setHighlighted("Text4", true);
  EXPECT_EQ(pixel("Text4", {3, 3}), QColor(255, 255, 128));
  window.setHighlighted("Text4", false);
  EXPECT_EQ(pixel("Text4", {3, 3}), window.control("Text4")->palette().color(QPalette::Button));
}

TEST_F(Window, TheBusyNoticeIsASmallToolWindowCentredOnTheWindowThatBlocksNothing) {
  window.showBusy(true);
  BusyWindow* busy = window.busyWindow();
  EXPECT_TRUE(busy->isVisible() && busy->windowType() == Qt::Tool);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(busy->size(), QSize(205, 54));
  EXPECT_LE((busy->geometry().center() - window.geometry().center()).manhattanLength(), 4);
  EXPECT_EQ(busy->label()->text(), QString::fromUtf8("書き込み中....."));
  EXPECT_EQ(busy->grab().toImage().pixelColor(2, 2), QColor(0, 128, 128));  // teal
  window.showBusy(false);
  EXPECT_FALSE(busy->isVisible());
}

// Each style of message box: its icon and buttons, its title, and the button pressed.
TEST_F(Window, AMessageBoxShowsItsStyleAndGivesBackThePress) {
  using MB = QMessageBox;
  const std::tuple<MessageStyle, MB::Icon, MB::StandardButtons, int, MessageButton> cases[] = {
      {MessageStyle::Ok, MB::NoIcon, MB::Ok, Qt::Key_Escape, MessageButton::Ok},
      {MessageStyle::OkCancel, MB::NoIcon, MB::Ok | MB::Cancel, Qt::Key_Escape,
       MessageButton::Cancel},
      {MessageStyle::OkCancelExclamation, MB::Warning, MB::Ok | MB::Cancel, Qt::Key_Return,
       MessageButton::Ok},
      {MessageStyle::Critical, MB::Critical, MB::Ok, Qt::Key_Return, MessageButton::Ok}};
  QtOperator op(&window);
  for (const auto& [style, icon, buttons, key, pressed] : cases) {
    const QString title =
        QString::fromUtf8(style == MessageStyle::Ok ? "Korvane ｾｯﾃｲ" : "通信エラー");
    QTimer::singleShot(50, [&, key = key] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(
          std::tuple(box->icon(), box->standardButtons(), box->windowTitle(), box->parentWidget(),
                     box->defaultButton()),
          std::tuple(icon, buttons, title, static_cast<QWidget*>(&window), box->button(MB::Ok)));
      QTest::keyClick(box, Qt::Key(key));
    });
    EXPECT_EQ(op.message("text", style == MessageStyle::Ok ? "" : "通信エラー", style), pressed);
  }
}

// The two tables of the menu draw what their models hold and hand the operator's choices on: a
// tick taken off is not written, the write's results replace the cells, the filter and the row
// chosen reach the journal's undo.
TEST(MenuDialogs, DrawTheirModelsAndHandOnTicksFilterAndTheChosenRow) {
  kit::Rig rig;
  rig.open();
  CompareTable compare(rig.form, kit::ComparedWithTwoChanged(rig));
  const int maxRate = backupPositionOfKey("max_rate"), slew = backupPositionOfKey("backlash_ra");
  const auto click = [](QDialog& dialog, const char* caption) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QString::fromUtf8(caption)) button->click();
  };
  {
    const auto dialog = NewTableDialog(nullptr, compare);
    auto* table = dialog->findChild<QTableWidget*>();
    EXPECT_EQ(table->item(maxRate, 3)->text(), QStringLiteral("違う"));
    EXPECT_EQ(table->item(slew, 0)->checkState(), Qt::Checked);
    table->item(slew, 0)->setCheckState(Qt::Unchecked);
    const std::size_t before = rig.port.writes.size();
    click(*dialog, "書き込み");
    EXPECT_EQ(rig.port.sent().at(before), ":$PA450#");  // max_rate alone
    EXPECT_EQ(table->item(maxRate, 3)->text(), QStringLiteral("一致"));
    EXPECT_EQ(dialog->findChild<QLabel*>()->text(), QString::fromStdString(compare.summary()));
  }
  rig.panel.texts["Text1(0)"] = "460";  // after the restore's max_rate 400 -> 450
  rig.press("Command6(0)");
  JournalView view(rig.form);
  const auto dialog = NewTableDialog(nullptr, view);
  auto* table = dialog->findChild<QTableWidget*>();
  auto* filter = dialog->findChild<QComboBox*>();
  EXPECT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->currentRow(), 0);
  EXPECT_EQ(table->item(0, 5)->text(), QStringLiteral("460"));
  filter->setCurrentIndex(1);
  EXPECT_EQ(view.filter(), 1u);
  table->selectRow(1);  // 400 -> 450: back to 400
  click(*dialog, "元に戻す");
  EXPECT_EQ(rig.port.sent().at(rig.port.sent().size() - 2), ":$PA400#");
  EXPECT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->item(0, 5)->text(), QStringLiteral("400"));
  // Enter in the list closes the journal: an undo is only ever its own button's.
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  table->setFocus();
  const std::size_t written = rig.port.writes.size();
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(rig.port.writes.size(), written);
  EXPECT_FALSE(dialog->isVisible());
}

// The program's window: the menu bar above the unchanged client area, its shortcuts reaching the
// handlers, and a disabled client (the send phase, a restore) taking the menu with it.
TEST(ToolWindowTest, TheMenuSitsAboveTheUnchangedClientAreaAndReachesItsHandlers) {
  ToolWindow tool;
  Events events;
  bool portOpen = true;
  tool.setMenuHandlers({[&] { events.push_back("backup"); }, [&] { events.push_back("compare"); },
                        [&] { events.push_back("journal"); }, [&] { events.push_back("find"); },
                        [&] { return !portOpen; }});
  Recorded closed(tool.client(), events);
  tool.client().bind(&closed);
  tool.show();
  tool.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&tool));
  EXPECT_EQ(tool.client().size(), QSize(925, 568));
  EXPECT_EQ(tool.windowTitle(), QString::fromUtf8(kWindowTitle.data(), kWindowTitle.size()));
  EXPECT_EQ(tool.client().y(), tool.menuBar()->height());
  EXPECT_EQ(tool.menuBar()->actions().at(0)->text(), QStringLiteral("ファイル"));
  // "通信": the search greyed out while a port is open, and reaching its handler once closed.
  ASSERT_EQ(tool.menuBar()->actions().at(1)->text(), QStringLiteral("通信"));
  QMenu* comm = tool.menuBar()->actions().at(1)->menu();
  emit comm->aboutToShow();
  EXPECT_FALSE(tool.findAction()->isEnabled());
  tool.findAction()->trigger();
  portOpen = false;
  emit comm->aboutToShow();
  tool.findAction()->trigger();
  tool.client().setEnabled("Form1", false);
  QTest::keySequence(&tool, QKeySequence::Save);
  EXPECT_FALSE(tool.menuBar()->isEnabled());
  tool.client().setEnabled("Form1", true);
  QTest::keySequence(&tool, QKeySequence::Save);
  QTest::keySequence(&tool, QKeySequence::Open);
  tool.menuBar()->actions().at(0)->menu()->actions().at(2)->trigger();   // "変更履歴..."
  tool.menuBar()->actions().at(0)->menu()->actions().last()->trigger();  // "終了"
  // (The port box left as the window was disabled is the client's, tested above.)
  std::erase_if(events, [](const std::string& e) { return e.starts_with("left "); });
  EXPECT_EQ(events, (Events{"find", "backup", "compare", "journal", "unload"}));
  EXPECT_FALSE(tool.isVisible());
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
