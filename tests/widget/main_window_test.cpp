// The window as the operator sees it: every control at its place with its caption and spoken
// name, nothing overlapping or cut off, the colours, and the Panel reading and writing the widgets.
//
// The places below are copied from the window's layout tables (twips, 15 to a pixel), not read
// from the program's own table, so that a control put in the wrong place fails here.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <set>
#include <tuple>
#include <vector>

#include "widget_support.h"

namespace korvane::test {
namespace {

constexpr int kTwips = 15;
constexpr int kAny = -1;

QString caption(const QWidget* widget) {
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  return {};
}

std::vector<QWidget*> controlsOf(const QWidget& window) {
  std::vector<QWidget*> out;
  for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow()) out.push_back(w);
  }
  return out;
}

// A sample across the three columns, the instruction strip and the hidden fields.
struct Place {
  const char* name;
  const char* caption;  // nullptr: not checked (fields, lamps, lines)
  int x, y;             // twips; kAny where the tables give no position
  int w = kAny, h = kAny;
  // What a screen reader says: a field's name, a SET button's description. nullptr: unchecked.
  const char* spoken = nullptr;
};

// clang-format off
const Place kPlaces[] = {
    // left column, x 120
    {"Label1(0)", "モーター回転方向", 120, 120},
    {"Command1", "赤経+", 120, 360},
    {"Command4", "赤緯-", kAny, 360},
    {"Shape1", nullptr, 120, 720, 975, 135},
    {"Line1", nullptr, 120, 960},
    {"Command5(0)", "MaxRate", 120, 1320, 2055},
    {"Text1(0)", nullptr, kAny, kAny, kAny, kAny, "MaxRate"},
    {"Command6(0)", "SET", kAny, kAny, kAny, kAny, "SET: MaxRate"},
    {"Text1(1)", nullptr, kAny, kAny, kAny, kAny, "赤経角度対ステップ"},
    {"Command5(3)", "赤経ウォーム対ステップ", 120, 2760, 2055},
    {"Text1(4)", nullptr, kAny, 3240, kAny, kAny, "赤緯ウォーム対ステップ"},
    {"Command6(4)", "SET", kAny, 3240},
    {"Label1(7)", "ﾓｰﾀｰｽﾃｯﾌﾟ", kAny, 3720},
    {"Label1(11)", "赤経", 120, 3960},
    {"Text2", nullptr, kAny, kAny, kAny, kAny, "赤経 ﾓｰﾀｰｽﾃｯﾌﾟ"},
    {"Text5", "144", kAny, 3960},
    {"Text9", nullptr, kAny, kAny, kAny, kAny, "赤緯 ｳｫｰﾑｷﾞｱ"},
    {"Command19", "手動計算", kAny, 4740, 1215, 600},
    {"Label1(13)", "Maximum slew rate (°/s)  ", 120, 5040},
    {"Label1(17)", "赤道儀モデル　プリセット(タイトル）", 120, 5475},
    {"Command28", "USERﾌﾟﾘｾｯﾄ保存", kAny, 5520},
    {"Combo2", nullptr, 120, 5715},
    {"Command5(9)", "バックラッシュ　赤緯", 120, 6960, 2055},
    // middle column, x 4320
    {"Label1(22)", "観測地情報", 4320, 120},
    {"Command34", "Set", kAny, 120},
    {"Command5(5)", "観測地　経度", 4320, 600, 2055},
    {"Text1(5)", nullptr, kAny, kAny, kAny, kAny, "観測地　経度"},
    {"Command6(11)", "SET", kAny, kAny, kAny, kAny, "SET: 観測地　経度"},
    {"Text1(7)", nullptr, kAny, kAny, kAny, kAny, "UTC OFFSET（時差）"},
    {"Label1(27)", "日本 = (+9)", kAny, 2040},
    {"Command37", "GPS 再捕捉", kAny, 2040},
    {"Label1(38)", "Sidereal time Drive Limits stop: ", kAny, 2880},
    {"Command7", "Limit OFF", kAny, 2640},
    {"Shape5", nullptr, kAny, 3000, 735, 135},
    {"Command5(13)", "地平線", 4320, 3240, 2055},
    {"Command6(5)", "SET", kAny, kAny, kAny, kAny, "SET: 地平線"},
    {"Text1(10)", nullptr, kAny, kAny, kAny, kAny, "子午線　西側"},
    {"Command6(8)", "SET", kAny, kAny, kAny, kAny, "SET: 子午線　西側"},
    {"Text1(11)", nullptr, kAny, kAny, kAny, kAny, "子午線　東側"},
    {"Text1(14)", nullptr, kAny, kAny, kAny, kAny, "日時 (1)"},
    {"Text1(20)", nullptr, kAny, kAny, kAny, kAny, "HOMEポジション　高度"},
    {"Command29", "SET", kAny, 6480, kAny, kAny, "SET: 極北ホームポジション"},
    {"Label1(43)", "SPEED:", 4320, 6700},
    {"Command30", "ガイド×0.5", 4320, 6960},
    // right column, x 9240; ON at 11760 with its lamp at 11640, OFF at 12840 with its at 12720
    {"Label1(18)", "赤道儀　モーター運転動作", 9240, 120},
    {"Label1(16)", "恒星時運転子午線自動反転", 9240, 960},
    {"Shape9", nullptr, 11640, 960, 135, 375},
    {"Command15", "ON", 11760, 960},
    {"Shape10", nullptr, 12720, 960, 135, 375},
    {"Command16", "OFF", 12840, 960},
    {"Shape13", nullptr, 11640, 2400, 135, 375},
    {"Command14", "OFF", 12840, 2400},
    {"Label1(26)", "注：コントローラーを再起動しますと恒星時に戻ります。", 9240, 3000},
    {"Command27", "恒星時", 9240, 3240},
    {"Label1(28)", "WIFI (AP)", 9240, 4560},
    {"Combo3", nullptr, kAny, 4560, kAny, kAny, "WIFI (AP) チャンネル"},
    {"Command6(16)", "SET", kAny, 4560, kAny, kAny, "SET: WIFI (AP) チャンネル"},
    {"Text1(23)", nullptr, kAny, kAny, kAny, kAny, "WIFI (AP) SSID"},
    {"Text1(24)", nullptr, kAny, kAny, kAny, kAny, "WIFI (AP) PASSWORD"},
    {"Label1(31)", "PASSWORD", kAny, 5400},
    {"Label1(20)", "WIFI (ST)", 9240, 5805},
    {"Command36", "STモード", kAny, 6000},
    {"Text1(22)", nullptr, kAny, kAny, kAny, kAny, "WIFI (ST) SSID"},
    {"Command6(19)", "SET", kAny, kAny, kAny, kAny, "SET: WIFI (ST) SSID"},
    {"Text1(25)", nullptr, kAny, kAny, kAny, kAny, "WIFI (ST) PASSWORD"},
    {"Command6(20)", "SET", kAny, kAny, kAny, kAny, "SET: WIFI (ST) PASSWORD"},
    {"Label1(3)", "コントローラーとの通信", 9240, 6960},
    {"Combo1", nullptr, kAny, 6960},
    {"Command11", "接続", kAny, 6960},
    // the instruction strip
    {"Line6", nullptr, 120, 7440},
    {"Label1(24)",
     "モーターギア設定は中間ギア、ウォームギアを入力して手動計算をさせると各項目の数値が算出できま"
     "す。SETもボタンをを押して反映させます。",
     120, 7800},
    // reply stores outside the client area
    {"Text1(16)", nullptr, 14040, kAny},
    {"Text1(99)", "Text1", kAny, 15000},
};
// clang-format on

TEST(Layout, EveryControlStandsAtItsPlaceWithItsCaptionAndSpokenName) {
  MainWindow window;
  for (const Place& place : kPlaces) {
    SCOPED_TRACE(place.name);
    QWidget* w = child(window, place.name);
    ASSERT_NE(w, nullptr);
    if (place.caption != nullptr) {
      EXPECT_EQ(caption(w), QString::fromUtf8(place.caption));
    }
    if (place.spoken != nullptr) {
      const bool button = qobject_cast<QAbstractButton*>(w) != nullptr;
      EXPECT_EQ(button ? w->accessibleDescription() : w->accessibleName(),
                QString::fromUtf8(place.spoken));
    }
    const QRect r = w->geometry();
    const std::pair<int, int> checks[] = {
        {place.x, r.x()}, {place.y, r.y()}, {place.w, r.width()}, {place.h, r.height()}};
    for (std::size_t i = 0; i < 4; ++i) {  // a place within four pixels, a size within two
      if (checks[i].first == kAny) continue;
      EXPECT_NEAR(checks[i].second, checks[i].first / kTwips, i < 2 ? 4 : 2) << i;
    }
  }
}

// The controls of one row stand left to right in this order, on one line.
const std::vector<std::vector<const char*>> kRows = {
    {"Command1", "Command2", "Command3", "Command4"},
    {"Command5(0)", "Text1(0)", "Command6(0)"},
    {"Command5(4)", "Text1(4)", "Command6(4)"},
    {"Label1(7)", "Label1(8)", "Label1(9)", "Label1(10)"},
    {"Label1(11)", "Text2", "Text3", "Text4", "Text5"},
    {"Label1(12)", "Text6", "Text7", "Text8", "Text9"},
    {"Label1(14)", "Text11"},
    {"Label1(17)", "Command28"},
    {"Command5(8)", "Text1(8)", "Command6(9)"},
    {"Command5(9)", "Text1(9)", "Command6(10)"},
    {"Label1(22)", "Label1(15)", "Command34", "Text1(14)", "Text1(15)"},
    {"Command5(6)", "Text1(6)", "Command6(12)"},
    {"Command5(7)", "Text1(7)", "Command6(13)"},
    {"Label1(2)", "Command8", "Command7"},
    {"Command5(12)", "Text1(12)", "Command6(6)"},
    {"Command5(11)", "Text1(11)", "Command6(7)"},
    {"Command5(10)", "Text1(10)", "Command6(8)"},
    {"Command5(14)", "Text1(20)", "Command6(14)"},
    {"Command5(15)", "Text1(21)", "Command6(15)"},
    {"Command30", "Command31", "Command32", "Command33"},
    {"Label1(18)", "Command10", "Command9"},
    {"Label1(5)", "Shape7", "Command21", "Shape8", "Command20"},
    {"Label1(6)", "Shape11", "Command17", "Shape12", "Command18"},
    {"Label1(4)", "Shape13", "Command13", "Shape14", "Command14"},
    {"Command27", "Command26", "Command25", "Command24"},
    {"Command23", "Command22"},
    {"Label1(28)", "Label1(32)", "Combo3", "Command6(16)"},
    {"Label1(30)", "Text1(23)", "Command6(17)"},
    {"Label1(31)", "Text1(24)", "Command6(18)"},
    {"Command36", "Label1(42)", "Text1(22)", "Command6(19)"},
    {"Label1(41)", "Text1(25)", "Command6(20)"},
    {"Label1(3)", "Combo1", "Command11", "Command12"},
};

TEST(Layout, ControlsOfARowStandLeftToRightOnOneLine) {
  MainWindow window;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.front());
    for (std::size_t i = 1; i < row.size(); ++i) {
      QWidget* previous = child(window, row[i - 1]);
      QWidget* widget = child(window, row[i]);
      ASSERT_TRUE(previous && widget) << row[i];
      EXPECT_LE(previous->geometry().right(), widget->geometry().left()) << row[i];
      EXPECT_NEAR(widget->y(), previous->y(), 3) << row[i];
    }
  }
}

TEST(Layout, LampsLieUnderTheirButtonsAndTheCalculatorRightOfItsResults) {
  MainWindow window;
  const std::pair<const char*, const char*> under[] = {
      {"Shape1", "Command1"}, {"Shape2", "Command2"}, {"Shape3", "Command3"},
      {"Shape4", "Command4"}, {"Shape5", "Command8"}, {"Shape6", "Command7"},
  };
  for (const auto& [lamp, button] : under) {
    const QRect l = child(window, lamp)->geometry();
    const QRect b = child(window, button)->geometry();
    EXPECT_TRUE(l.top() >= b.bottom() && l.top() - b.bottom() <= 3) << lamp;
    EXPECT_GT(std::min(l.right(), b.right()) - std::max(l.left(), b.left()), l.width() / 2)
        << lamp << " is not under " << button;
  }
  const QRect calc = child(window, "Command19")->geometry();
  for (const char* result : {"Text10", "Text11"}) {
    const QRect r = child(window, result)->geometry();
    EXPECT_LT(r.right(), calc.left()) << result;
    EXPECT_TRUE(r.top() >= calc.top() && r.bottom() <= calc.bottom()) << result;
  }
}

TEST_F(ShownWindow, HasTheFixedClientAreaTitleAndEveryControl) {
  EXPECT_EQ(window.size(), QSize(925, 568));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8(" Korvane ｾｯﾃｲ ver.4.1"));
  // Text1(0..25, 99), Text2..Text11, Command1..Command37 with the arrays Command5(0..15) and
  // Command6(0..20), Label1(0..43), Shape1..14, Line1..9, Combo1..3.
  std::vector<std::string> expected{"Text1(99)"};
  const std::tuple<const char*, int, int, const char*> ranges[] = {
      {"Text1(", 0, 25, ")"},  {"Text", 2, 11, ""},       {"Command", 1, 4, ""},
      {"Command", 7, 37, ""},  {"Command5(", 0, 15, ")"}, {"Command6(", 0, 20, ")"},
      {"Label1(", 0, 43, ")"}, {"Shape", 1, 14, ""},      {"Line", 1, 9, ""},
      {"Combo", 1, 3, ""}};
  for (const auto& [prefix, first, last, end] : ranges) {
    for (int i = first; i <= last; ++i) expected.push_back(prefix + std::to_string(i) + end);
  }
  for (const std::string& name : expected) EXPECT_NE(child(window, name), nullptr) << name;
  EXPECT_EQ(controlsOf(window).size(), expected.size()) << "controls besides the listed ones";
}

TEST_F(ShownWindow, VisibleControlsLieInsideTheClientAreaAndTheStoresOutside) {
  const QRect client(0, 0, 925, 568);
  const std::set<std::string> stores{"Text1(16)", "Text1(17)", "Text1(18)", "Text1(19)",
                                     "Text1(99)"};
  for (QWidget* w : controlsOf(window)) {
    const std::string name = w->objectName().toStdString();
    if (stores.count(name) > 0) {
      EXPECT_FALSE(client.intersects(w->geometry())) << name;
      EXPECT_FALSE(w->isVisible()) << name;
      EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << name << " must not be a Tab stop";
    } else if (name != "Label1(36)") {
      EXPECT_TRUE(client.contains(w->geometry())) << name;
      EXPECT_TRUE(w->isVisible()) << name;
    }
  }
  // The second buzzer caption lies under the MaxRate read button and is never seen.
  QWidget* covered = child(window, "Label1(36)");
  EXPECT_EQ(caption(covered), QString::fromUtf8("自動導入時　ブザー音"));
  EXPECT_TRUE(child(window, "Command5(0)")->geometry().contains(covered->geometry()));
  EXPECT_FALSE(covered->isVisible());
}

TEST_F(ShownWindow, NoTwoVisibleControlsOverlapAndNoCaptionIsCutOff) {
  std::vector<QWidget*> shown;
  for (QWidget* w : controlsOf(window)) {
    if (w->isVisible()) shown.push_back(w);
  }
  ASSERT_GT(shown.size(), 150u);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const std::string name = shown[i]->objectName().toStdString();
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
          << name << " overlaps " << shown[j]->objectName().toStdString();
    }
    const QFontMetrics metrics = shown[i]->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(shown[i])) {
      EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width()) << name;
      EXPECT_LE(metrics.height(), label->height()) << name;
    } else if (auto* button = qobject_cast<QPushButton*>(shown[i])) {
      // a frame of two pixels each side
      EXPECT_LE(metrics.horizontalAdvance(button->text()) + 4, button->width()) << name;
      EXPECT_LE(metrics.height() + 4, button->height()) << name;
    }
  }
}

TEST_F(ShownWindow, UsesTheJapaneseFontAtItsSizes) {
  const QString family = QFontInfo(window.font()).family();
  EXPECT_TRUE(family == "IPAPGothic" || family == "Noto Sans CJK JP") << family.toStdString();
  // Every character of every caption has a glyph in the font: no boxes anywhere.
  for (QWidget* w : controlsOf(window)) {
    const QFontMetrics metrics = w->fontMetrics();
    for (const QChar c : caption(w)) {
      EXPECT_TRUE(metrics.inFont(c))
          << w->objectName().toStdString() << " U+" << std::hex << int(c.unicode());
    }
  }
  const std::pair<const char*, double> sizes[] = {
      {"Label1(0)", 9.0},   {"Command5(1)", 9.0}, {"Text1(5)", 9.0},    {"Label1(23)", 9.0},
      {"Label1(33)", 8.25}, {"Label1(38)", 8.25}, {"Label1(26)", 8.25}, {"Label1(19)", 8.25},
  };
  for (const auto& [name, points] : sizes) {
    EXPECT_DOUBLE_EQ(child(window, name)->font().pointSizeF(), points) << name;
  }
}

TEST_F(ShownWindow, ControlsHaveTheirColoursAndAlignment) {
  struct Look {
    const char* name;
    QColor colour;  // field background, label text, line fill
    Qt::Alignment align = {};
    bool readOnly = false;
  };
  const QPalette system = QApplication::palette();
  const QColor white = system.color(QPalette::Active, QPalette::HighlightedText);
  const QColor yellow(255, 255, 0);
  const QColor silver(192, 192, 192);
  const Look looks[] = {
      {"Text1(0)", QColor(128, 128, 128), Qt::AlignLeft},
      {"Text1(5)", system.color(QPalette::Base), Qt::AlignLeft},
      {"Text1(14)", QColor(255, 255, 192), Qt::AlignLeft, true},
      {"Text2", silver, Qt::AlignHCenter},
      {"Text11", QColor(224, 224, 224), Qt::AlignHCenter, true},
      {"Label1(0)", white, Qt::AlignLeft},
      {"Label1(3)", yellow, Qt::AlignLeft},
      {"Label1(33)", yellow, Qt::AlignRight},
      {"Label1(39)", white, Qt::AlignRight},
      {"Line1", silver},
      {"Line6", system.color(QPalette::Active, QPalette::Dark)},
  };
  const QImage image = window.grab().toImage();
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    QWidget* w = child(window, look.name);
    ASSERT_NE(w, nullptr);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(edit->palette().color(QPalette::Base), look.colour);
      EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, look.align);
      EXPECT_EQ(edit->isReadOnly(), look.readOnly);
      // a point inside the frame, left of any centred text
      EXPECT_EQ(image.pixelColor(w->geometry().topLeft() + QPoint(3, 3)), look.colour);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), look.colour);
      EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, look.align);
      EXPECT_FALSE(label->autoFillBackground());
    } else {
      EXPECT_EQ(image.pixelColor(w->geometry().center()).rgb(), look.colour.rgb());
    }
  }
  // The window itself, between the columns, and behind a transparent label.
  EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 64, 0));
  EXPECT_EQ(image.pixelColor(child(window, "Label1(22)")->geometry().topRight()), QColor(0, 64, 0));
}

TEST(Accessibility, EveryVisibleFieldAndEverySetButtonIsTellableApart) {
  MainWindow window;
  window.show();
  std::set<QString> fieldNames;
  std::set<QString> setDescriptions;
  int fields = 0;
  int sets = 0;
  for (QWidget* w : controlsOf(window)) {
    if (!w->isVisible()) continue;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) {
      ++fields;
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
      fieldNames.insert(w->accessibleName());
    } else if (caption(w) == "SET") {
      ++sets;
      EXPECT_TRUE(w->accessibleDescription().startsWith("SET: ")) << w->objectName().toStdString();
      setDescriptions.insert(w->accessibleDescription());
    }
  }
  EXPECT_EQ(fields, 35);  // 22 parameter fields, Text2..Text11, three combo boxes
  EXPECT_EQ(fieldNames.size(), std::size_t(fields));
  EXPECT_EQ(sets, 22);
  EXPECT_EQ(setDescriptions.size(), std::size_t(sets));
}

// ---------------------------------------------------------------------------------------------
// Combo boxes and the Panel.

QStringList itemsOf(const QComboBox& combo) {
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
  return items;
}

TEST(Combo, ListsInitialTextsAndPortTooltips) {
  MainWindow window;
  window.setPortTooltips([](int n) { return "/dev/ttyUSB" + std::to_string(n - 1); });
  auto* combo1 = child<QComboBox>(window, "Combo1");
  ASSERT_EQ(combo1->count(), 19);
  for (int i = 0; i < 19; ++i) {
    EXPECT_EQ(combo1->itemText(i), QString("COM%1").arg(i + 1));
    EXPECT_EQ(combo1->itemData(i, Qt::ToolTipRole).toString(), QString("/dev/ttyUSB%1").arg(i));
  }
  EXPECT_EQ(combo1->currentText(), "COM10");
  EXPECT_EQ(itemsOf(*child<QComboBox>(window, "Combo2")),
            QStringList({"AP", "GP", "EQ5", "NJP", "USER"}));
  EXPECT_EQ(itemsOf(*child<QComboBox>(window, "Combo3")),
            QStringList({" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10"}));
  EXPECT_EQ(window.text("Combo2") + window.text("Combo3"), "") << "no preset or channel at start";
}

TEST(Combo, EnterKeepsTheListAndTheTypedTextAsItIs) {
  MainWindow window;
  window.show();
  const std::pair<const char*, const char*> typed[] = {
      {"Combo1", "com3"}, {"Combo1", "COM42"}, {"Combo2", "eq5"}, {"Combo3", "11"}};
  for (const auto& [name, text] : typed) {
    auto* combo = child<QComboBox>(window, name);
    const int before = combo->count();
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), text);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->count(), before) << name << " " << text;
    EXPECT_EQ(window.text(name), text) << name;
  }
}

TEST(Panel, ATextThatNamesAnItemSelectsItAndTypingReachesThePanel) {
  MainWindow window;
  auto* combo1 = child<QComboBox>(window, "Combo1");
  window.setText("Combo1", "COM3");
  EXPECT_EQ(combo1->currentIndex(), 2);
  for (const char* other : {"COM20", "com3"}) {
    window.setText("Combo1", other);
    EXPECT_EQ(combo1->currentIndex(), -1) << other;
    EXPECT_EQ(window.text("Combo1"), other);
  }
  // No copy of a text is kept anywhere but in the widget.
  child<QLineEdit>(window, "Text1(6)")->setText("+35*39");
  EXPECT_EQ(window.text("Text1(6)"), "+35*39");
  // A long value shows its beginning.
  window.setText("Text4", "2.26666666666666");
  EXPECT_EQ(child<QLineEdit>(window, "Text4")->cursorPosition(), 0);
}

TEST(Panel, NamesWithoutAFieldOrLampAreIgnored) {
  MainWindow window;
  for (const char* name : {"Text1(42)", "Text12", "Label1(0)", "Command6(0)", "Shape1", ""}) {
    window.setText(name, "x");
    EXPECT_EQ(window.text(name), "") << name;
    window.setHighlighted(name, true);
  }
  EXPECT_EQ(caption(child(window, "Label1(0)")), QString::fromUtf8("モーター回転方向"));
  EXPECT_EQ(caption(child(window, "Command6(0)")), "SET");
  for (const char* name : {"Nothing", "Text1(42)", "Form2", ""}) {
    window.setEnabled(name, false);
    EXPECT_FALSE(window.isEnabled(name)) << name;
  }
  EXPECT_TRUE(window.isEnabled("Form1"));
  window.setLamp(0, kMagenta);
  window.setLamp(15, kMagenta);
  EXPECT_EQ(window.lamp(15), Colour{});
  EXPECT_EQ(window.lamp(1), kGreen);
}

TEST_F(ShownWindow, LampsStartGreenAndShowExactlyTheColourSet) {
  const QImage start = window.grab().toImage();
  const Colour colours[] = {kMagenta, kTeal, Colour{12, 34, 56}};
  for (int shape = 1; shape <= 14; ++shape) {
    const QWidget* lamp = child(window, "Shape" + std::to_string(shape));
    EXPECT_EQ(start.pixelColor(lamp->geometry().center()), QColor(0, 128, 0)) << shape;
    EXPECT_EQ(window.lamp(shape), kGreen) << shape;
    window.setLamp(shape, colours[shape % 3]);
  }
  // A disabled window must not grey the lamps: the operator reads state from them.
  window.setEnabled("Form1", false);
  const QImage after = window.grab().toImage();
  for (int shape = 1; shape <= 14; ++shape) {
    const Colour c = colours[shape % 3];
    const QRect r = child(window, "Shape" + std::to_string(shape))->geometry();
    for (QPoint p : {r.topLeft(), r.center(), r.bottomRight()}) {
      EXPECT_EQ(after.pixelColor(p), QColor(c.r, c.g, c.b)) << shape;
    }
    EXPECT_EQ(window.lamp(shape), c) << shape;
  }
}

TEST_F(ShownWindow, AHighlightIsPaleYellowAndThenTheButtonFace) {
  for (const char* name : {"Text4", "Text1(0)", "Text1(3)"}) {
    QWidget* field = child(window, name);
    const QPoint inside = field->geometry().topLeft() + QPoint(3, 3);
    window.setHighlighted(name, true);
    EXPECT_EQ(window.grab().toImage().pixelColor(inside), QColor(255, 255, 128)) << name;
    window.setHighlighted(name, false);
    const QColor buttonFace = field->palette().color(QPalette::Button);
    EXPECT_EQ(field->palette().color(QPalette::Base), buttonFace) << name;
    EXPECT_EQ(window.grab().toImage().pixelColor(inside), buttonFace) << name;
  }
}

TEST_F(ShownWindow, EnablingByNameAndTheWholeWindowAndTheFirstFocus) {
  EXPECT_EQ(QApplication::focusWidget(), child(window, "Command1"));
  window.setEnabled("Command19", false);
  EXPECT_FALSE(window.isEnabled("Command19"));
  EXPECT_FALSE(child(window, "Command19")->isEnabled());

  window.setEnabled("Form1", false);
  EXPECT_FALSE(window.isEnabled("Form1"));
  EXPECT_FALSE(child(window, "Command11")->isEnabled());
  // A control keeps its own setting under a disabled window.
  EXPECT_TRUE(window.isEnabled("Command11"));

  window.setEnabled("Form1", true);
  EXPECT_TRUE(child(window, "Command11")->isEnabled());
  EXPECT_FALSE(child(window, "Command19")->isEnabled());
}

}  // namespace
}  // namespace korvane::test
