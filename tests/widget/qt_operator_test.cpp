// The message boxes the handlers show: buttons, icon, title and the answer given back.

#include "ui/qt_operator.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "widget_support.h"

namespace korvane::test {
namespace {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QWidget* parent = nullptr;
};

// Waits for the next modal message box, notes what it shows and answers it with answer().
void answerNextBox(SeenBox& seen, std::function<void(QMessageBox&)> answer) {
  auto* poll = new QTimer;
  auto attempts = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, attempts, &seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr && ++*attempts < 300) return;
    poll->stop();
    poll->deleteLater();
    if (box == nullptr) return;  // the test fails on what it did not see
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
            box->parentWidget()};
    answer(*box);
  });
  poll->start(10);
}

void press(QMessageBox::StandardButton which, QMessageBox& box) {
  box.button(which)->click();
}

struct BoxCase {
  MessageStyle style;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  std::function<void(QMessageBox&)> answer;
  MessageButton expected;
};

class MessageBoxTest : public ShownWindow {
 protected:
  QtOperator op{&window};
};

TEST_F(MessageBoxTest, EachStyleShowsItsButtonsAndIconAndReturnsThePress) {
  using MB = QMessageBox;
  const auto escape = [](MB& box) { QTest::keyClick(&box, Qt::Key_Escape); };
  const BoxCase cases[] = {
      {MessageStyle::Ok, MB::NoIcon, MB::Ok, [](MB& b) { press(MB::Ok, b); }, MessageButton::Ok},
      {MessageStyle::Ok, MB::NoIcon, MB::Ok, escape, MessageButton::Ok},
      {MessageStyle::OkCancel, MB::NoIcon, MB::Ok | MB::Cancel, [](MB& b) { press(MB::Cancel, b); },
       MessageButton::Cancel},
      {MessageStyle::OkCancelExclamation, MB::Warning, MB::Ok | MB::Cancel,
       [](MB& b) { press(MB::Ok, b); }, MessageButton::Ok},
      {MessageStyle::OkCancelExclamation, MB::Warning, MB::Ok | MB::Cancel, escape,
       MessageButton::Cancel},
      {MessageStyle::Critical, MB::Critical, MB::Ok, [](MB& b) { press(MB::Ok, b); },
       MessageButton::Ok},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(int(c.style));
    SeenBox seen;
    answerNextBox(seen, c.answer);
    const MessageButton result =
        op.message("現在使用できるポートがありません。", "通信エラー", c.style);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.buttons);
    EXPECT_EQ(seen.text, QString::fromUtf8("現在使用できるポートがありません。"));
    EXPECT_EQ(seen.title, QString::fromUtf8("通信エラー"));
    EXPECT_EQ(seen.parent, &window);
  }
}

TEST_F(MessageBoxTest, ABoxWithoutATitleShowsTheApplicationsTitle) {
  SeenBox seen;
  answerNextBox(seen, [](QMessageBox& b) { press(QMessageBox::Ok, b); });
  op.message("赤経中間ギア比を入力してください", "", MessageStyle::Ok);
  EXPECT_EQ(seen.title, QString::fromUtf8("Korvane ｾｯﾃｲ"));
  EXPECT_EQ(seen.text, QString::fromUtf8("赤経中間ギア比を入力してください"));
}

}  // namespace
}  // namespace korvane::test
