// Events of the window reach the handlers, and only the events that have one: button clicks by
// control name, Combo1 losing the focus (before the click that took it), a pick from Combo2's
// list (never typing), and closing. Also Form2, the busy notice.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>
#include <set>
#include <vector>

#include "ui/busy_window.h"
#include "widget_support.h"

namespace korvane::test {
namespace {

using Events = std::vector<std::string>;

// Stands in for Form1: writes down each handler call with what the window showed at that moment.
class Recorder {
 public:
  explicit Recorder(MainWindow& window) {
    window.setHandlers({
        [this](std::string_view control) { events.push_back("click " + std::string(control)); },
        [this, &window] { events.push_back("lost focus " + window.text("Combo1")); },
        [this, &window] { events.push_back("preset " + window.text("Combo2")); },
        [this] { events.push_back("unload"); },
    });
  }
  Events events;
};

class WindowEvents : public ShownWindow {
 protected:
  Recorder recorder{window};
  Events& events = recorder.events;
};

TEST_F(WindowEvents, EveryButtonPressesTheHandlerOfItsOwnName) {
  std::set<std::string> pressed;
  for (QPushButton* button : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
    events.clear();
    button->click();
    const std::string name = button->objectName().toStdString();
    EXPECT_EQ(events, Events{"click " + name});
    pressed.insert(name);
  }
  // Command1..4, 7..37 but 5 and 6, Command5(0..15), Command6(0..20)
  EXPECT_EQ(pressed.size(), 4u + 31u + 16u + 21u);
}

TEST_F(WindowEvents, AMouseClickOnASetButton) {
  QTest::mouseClick(child(window, "Command6(14)"), Qt::LeftButton);
  EXPECT_EQ(events, Events{"click Command6(14)"});
}

TEST_F(WindowEvents, ADisabledWindowPassesNoClick) {
  window.setEnabled("Form1", false);
  QTest::mouseClick(child(window, "Command19"), Qt::LeftButton);
  EXPECT_TRUE(events.empty());
}

TEST(UnboundWindowTest, ClicksAndClosingDoNothing) {
  MainWindow window;
  window.show();
  Events events;
  window.setHandlers({[&events](std::string_view c) { events.emplace_back(c); }, {}, {}, {}});
  window.bind(nullptr);
  for (QPushButton* button : window.findChildren<QPushButton*>()) button->click();
  child<QComboBox>(window, "Combo2")->activated(0);
  window.close();
  EXPECT_TRUE(events.empty());
}

TEST_F(WindowEvents, ThePortChoiceRunsBeforeTheClickThatTookTheFocus) {
  auto* combo1 = child<QComboBox>(window, "Combo1");
  QTest::mouseClick(combo1->lineEdit(), Qt::LeftButton);
  ASSERT_TRUE(combo1->hasFocus());
  combo1->lineEdit()->selectAll();
  QTest::keyClicks(combo1->lineEdit(), "COM5");
  QTest::mouseClick(child(window, "Command11"), Qt::LeftButton);
  EXPECT_EQ(events, (Events{"lost focus COM5", "click Command11"}));
}

TEST_F(WindowEvents, EachLossOfFocusIsReportedOnceChangedOrNot) {
  auto* combo1 = child<QComboBox>(window, "Combo1");
  for (int round = 0; round < 2; ++round) {
    combo1->setFocus(Qt::TabFocusReason);
    child(window, "Text1(1)")->setFocus(Qt::TabFocusReason);
  }
  combo1->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(combo1, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), combo1);
  EXPECT_EQ(events, (Events{"lost focus COM10", "lost focus COM10", "lost focus COM10"}));
}

TEST_F(WindowEvents, OpeningTheListOrAnotherWindowIsNotLeavingThePortBox) {
  auto* combo1 = child<QComboBox>(window, "Combo1");
  combo1->setFocus(Qt::MouseFocusReason);
  combo1->showPopup();
  QAbstractItemView* list = combo1->view();
  list->setCurrentIndex(list->model()->index(6, 0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(window.text("Combo1"), "COM7");

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_TRUE(events.empty()) << events.front();

  child(window, "Command12")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(events, Events{"lost focus COM7"});
}

TEST_F(WindowEvents, OnlyAPickFromThePresetListLoadsAPreset) {
  auto* combo2 = child<QComboBox>(window, "Combo2");
  combo2->setFocus(Qt::MouseFocusReason);
  QTest::keyClicks(combo2->lineEdit(), "EQ5");
  QTest::keyClick(combo2->lineEdit(), Qt::Key_Return);
  child(window, "Text1(1)")->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(events.empty()) << "typing loaded a preset";
  EXPECT_EQ(window.text("Combo2"), "EQ5");

  // Neither does a turn of the mouse wheel over the box.
  QWheelEvent wheel(QPointF(5, 5), combo2->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(combo2, &wheel);
  EXPECT_TRUE(events.empty()) << "the wheel loaded a preset";

  combo2->showPopup();
  QAbstractItemView* list = combo2->view();
  list->setCurrentIndex(list->model()->index(2, 0));
  QTest::keyClick(list, Qt::Key_Return);
  combo2->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(combo2, Qt::Key_Down);
  EXPECT_EQ(events, (Events{"preset EQ5", "preset NJP"}));
}

TEST_F(WindowEvents, TheOtherBoxesHaveNoHandler) {
  for (const char* name : {"Combo3", "Text1(5)", "Text2"}) {
    QWidget* box = child(window, name);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, "12");
    QTest::keyClick(box, Qt::Key_Return);
    child(window, "Command1")->setFocus(Qt::TabFocusReason);
  }
  auto* combo3 = child<QComboBox>(window, "Combo3");
  combo3->showPopup();
  combo3->view()->setCurrentIndex(combo3->view()->model()->index(4, 0));
  QTest::keyClick(combo3->view(), Qt::Key_Return);
  EXPECT_EQ(window.text("Combo3"), " 5");
  EXPECT_TRUE(events.empty());
}

TEST_F(WindowEvents, ClosingUnloadsAndKeepsTheWindowAlive) {
  QPointer<MainWindow> alive(&window);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(events, Events{"unload"});
  EXPECT_FALSE(window.isVisible());
  // A handler may still be inside a wait on this window: it must not be deleted under it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive.isNull());
}

// ---------------------------------------------------------------------------------------------
// Form2

TEST_F(ShownWindow, TheBusyNoticeIsASmallTealWindowCentredOnTheMainWindow) {
  BusyWindow* busy = window.busyWindow();
  ASSERT_NE(busy, nullptr);
  EXPECT_FALSE(busy->isVisible());
  window.setEnabled("Form1", false);  // as the calculator does first
  window.showBusy(true);
  EXPECT_TRUE(busy->isVisible());
  EXPECT_TRUE(busy->isWindow());
  EXPECT_EQ(busy->windowType(), Qt::Tool);
  EXPECT_FALSE(busy->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(busy->size(), QSize(205, 54));
  const QPoint offset = busy->geometry().center() - window.geometry().center();
  EXPECT_LE(offset.manhattanLength(), 4);
  EXPECT_TRUE(busy->findChildren<QPushButton*>().isEmpty());

  auto* label = busy->findChild<QLabel*>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QString::fromUtf8("書き込み中....."));
  EXPECT_TRUE(label->font().bold());
  EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 15.75);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
  const QImage image = busy->grab().toImage();
  EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 128, 128));
  // White text although the window it belongs to is disabled.
  const QColor white = QApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
  int whitePixels = 0;
  for (int x = 0; x < image.width(); ++x) {
    whitePixels += image.pixelColor(x, image.height() / 2) == white ? 1 : 0;
  }
  EXPECT_GT(whitePixels, 5);

  window.showBusy(false);
  EXPECT_FALSE(busy->isVisible());
}

}  // namespace
}  // namespace korvane::test
