// The window as the operator sees it: every control at its place with its caption, nothing
// overlapping or cut off, the colours, and the Panel reading and writing the widgets.
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
#include <vector>

#include "widget_support.h"

namespace korvane::test {
namespace {

constexpr int kTwips = 15;
constexpr int kPlaceTolerancePx = 4;
constexpr int kSizeTolerancePx = 2;
constexpr int kAny = -1;

QString caption(const QWidget* widget) {
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  return {};
}

// ---------------------------------------------------------------------------------------------
// Places: a sample across the three columns, the instruction strip and the hidden fields.

struct Place {
  const char* name;
  const char* caption;  // nullptr: not checked (fields, lamps, lines)
  int x, y;             // twips; kAny where the tables give no position
  int w = kAny, h = kAny;
};

const Place kPlaces[] = {
    // left column, x 120
    {"Label1(0)", "モーター回転方向", 120, 120},
    {"Command1", "赤経+", 120, 360},
    {"Command4", "赤緯-", kAny, 360},
    {"Shape1", nullptr, 120, 720, 975, 135},
    {"Line1", nullptr, 120, 960},
    {"Label1(1)", "モーターギア設定", 120, 1080},
    {"Command5(0)", "MaxRate", 120, 1320, 2055},
    {"Command5(3)", "赤経ウォーム対ステップ", 120, 2760, 2055},
    {"Text1(4)", nullptr, kAny, 3240},
    {"Command6(4)", "SET", kAny, 3240},
    {"Label1(7)", "ﾓｰﾀｰｽﾃｯﾌﾟ", kAny, 3720},
    {"Label1(11)", "赤経", 120, 3960},
    {"Text5", "144", kAny, 3960},
    {"Command19", "手動計算", kAny, 4740, 1215, 600},
    {"Label1(14)", "導入最高速（倍）::恒星時  ", 120, 4800},
    {"Label1(13)", "Maximum slew rate (°/s)  ", 120, 5040},
    {"Label1(17)", "赤道儀モデル　プリセット(タイトル）", 120, 5475},
    {"Command28", "USERﾌﾟﾘｾｯﾄ保存", kAny, 5520},
    {"Combo2", nullptr, 120, 5715},
    {"Line2", nullptr, 120, 6120},
    {"Label1(29)", "ギア/ベルト調整", 120, 6230},
    {"Command5(9)", "バックラッシュ　赤緯", 120, 6960, 2055},
    // middle column, x 4320
    {"Label1(22)", "観測地情報", 4320, 120},
    {"Command34", "Set", kAny, 120},
    {"Command5(5)", "観測地　経度", 4320, 600, 2055},
    {"Label1(27)", "日本 = (+9)", kAny, 2040},
    {"Command37", "GPS 再捕捉", kAny, 2040},
    {"Label1(2)", "恒星時運転子午線リミット停止動作", 4320, 2640},
    {"Label1(38)", "Sidereal time Drive Limits stop: ", kAny, 2880},
    {"Command7", "Limit OFF", kAny, 2640},
    {"Shape5", nullptr, kAny, 3000, 735, 135},
    {"Command5(13)", "地平線", 4320, 3240, 2055},
    {"Label1(40)", "ホームポジション", 4320, 5160},
    {"Label1(39)", "極北ホームポジション", kAny, 6480},
    {"Command29", "SET", kAny, 6480},
    {"Label1(43)", "SPEED:", 4320, 6700},
    {"Command30", "ガイド×0.5", 4320, 6960},
    // right column, x 9240; ON at 11760 with its lamp at 11640, OFF at 12840 with its at 12720
    {"Label1(18)", "赤道儀　モーター運転動作", 9240, 120},
    {"Label1(19)", "その他の設定", 9240, 680},
    {"Label1(16)", "恒星時運転子午線自動反転", 9240, 960},
    {"Shape9", nullptr, 11640, 960, 135, 375},
    {"Command15", "ON", 11760, 960},
    {"Shape10", nullptr, 12720, 960, 135, 375},
    {"Command16", "OFF", 12840, 960},
    {"Label1(6)", "　子午線反転時動作一旦停止", 9240, 1920},
    {"Shape12", nullptr, 12720, 1920, 135, 375},
    {"Shape13", nullptr, 11640, 2400, 135, 375},
    {"Command14", "OFF", 12840, 2400},
    {"Label1(26)", "注：コントローラーを再起動しますと恒星時に戻ります。", 9240, 3000},
    {"Command27", "恒星時", 9240, 3240},
    {"Label1(21)", "微速増減", 9240, 3720},
    {"Label1(28)", "WIFI (AP)", 9240, 4560},
    {"Combo3", nullptr, kAny, 4560},
    {"Command6(16)", "SET", kAny, 4560},
    {"Command35", "APモード", kAny, 4800},
    {"Label1(31)", "PASSWORD", kAny, 5400},
    {"Label1(20)", "WIFI (ST)", 9240, 5805},
    {"Command36", "STモード", kAny, 6000},
    {"Label1(3)", "コントローラーとの通信", 9240, 6960},
    {"Combo1", nullptr, kAny, 6960},
    {"Command11", "接続", kAny, 6960},
    // the instruction strip
    {"Line6", nullptr, 120, 7440},
    {"Label1(23)",
     "設定手順：　コントローラーとの通信ポートを接続します。接続されるとコントローラーからデーター"
     "が入力されます。各項目に数値を入力しSETボタンを押してデーターを反映します。",
     120, 7560},
    {"Label1(24)",
     "モーターギア設定は中間ギア、ウォームギアを入力して手動計算をさせると各項目の数値が算出できま"
     "す。SETもボタンをを押して反映させます。",
     120, 7800},
    {"Label1(25)",
     "赤道儀プリセットはモデルを選択するとそれに合った数値が入力されます。各項目のSETボタンを押し"
     "て反映させます。　設定が完了しましたらコントローラーを再起動させてください。",
     120, 8040},
    // reply stores outside the client area
    {"Text1(16)", nullptr, 14040, kAny},
    {"Text1(99)", "Text1", kAny, 15000},
};

void PrintTo(const Place& place, std::ostream* out) { *out << place.name; }

class PlaceTest : public ::testing::TestWithParam<Place> {
 protected:
  static void SetUpTestSuite() { window_ = new MainWindow; }
  static void TearDownTestSuite() {
    delete window_;
    window_ = nullptr;
  }
  static MainWindow* window_;
};
MainWindow* PlaceTest::window_ = nullptr;

TEST_P(PlaceTest, StandsAtItsPlaceWithItsCaption) {
  const Place& place = GetParam();
  SCOPED_TRACE(place.name);
  QWidget* widget = child(*window_, place.name);
  ASSERT_NE(widget, nullptr);
  if (place.caption != nullptr) {
    EXPECT_EQ(caption(widget), QString::fromUtf8(place.caption));
  }
  const QRect r = widget->geometry();
  if (place.x != kAny) {
    EXPECT_NEAR(r.x(), place.x / kTwips, kPlaceTolerancePx);
  }
  if (place.y != kAny) {
    EXPECT_NEAR(r.y(), place.y / kTwips, kPlaceTolerancePx);
  }
  if (place.w != kAny) {
    EXPECT_NEAR(r.width(), place.w / kTwips, kSizeTolerancePx);
  }
  if (place.h != kAny) {
    EXPECT_NEAR(r.height(), place.h / kTwips, kSizeTolerancePx);
  }
}

INSTANTIATE_TEST_SUITE_P(Layout, PlaceTest, ::testing::ValuesIn(kPlaces));

// ---------------------------------------------------------------------------------------------
// Rows: the controls of one row stand left to right in this order, on one line.

const std::vector<std::vector<const char*>> kRows = {
    {"Command1", "Command2", "Command3", "Command4"},
    {"Command5(0)", "Text1(0)", "Command6(0)"},
    {"Command5(1)", "Text1(1)", "Command6(1)"},
    {"Command5(2)", "Text1(2)", "Command6(2)"},
    {"Command5(3)", "Text1(3)", "Command6(3)"},
    {"Command5(4)", "Text1(4)", "Command6(4)"},
    {"Label1(7)", "Label1(8)", "Label1(9)", "Label1(10)"},
    {"Label1(11)", "Text2", "Text3", "Text4", "Text5"},
    {"Label1(12)", "Text6", "Text7", "Text8", "Text9"},
    {"Label1(14)", "Text11"},
    {"Label1(13)", "Text10"},
    {"Label1(17)", "Command28"},
    {"Command5(8)", "Text1(8)", "Command6(9)"},
    {"Command5(9)", "Text1(9)", "Command6(10)"},
    {"Label1(22)", "Label1(15)", "Command34", "Text1(14)", "Text1(15)"},
    {"Command5(5)", "Text1(5)", "Command6(11)"},
    {"Command5(6)", "Text1(6)", "Command6(12)"},
    {"Command5(7)", "Text1(7)", "Command6(13)"},
    {"Label1(27)", "Command37"},
    {"Label1(2)", "Command8", "Command7"},
    {"Command5(13)", "Text1(13)", "Command6(5)"},
    {"Command5(12)", "Text1(12)", "Command6(6)"},
    {"Command5(11)", "Text1(11)", "Command6(7)"},
    {"Command5(10)", "Text1(10)", "Command6(8)"},
    {"Command5(14)", "Text1(20)", "Command6(14)"},
    {"Command5(15)", "Text1(21)", "Command6(15)"},
    {"Label1(39)", "Command29"},
    {"Command30", "Command31", "Command32", "Command33"},
    {"Label1(18)", "Command10", "Command9"},
    {"Label1(16)", "Shape9", "Command15", "Shape10", "Command16"},
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

TEST(RowTest, ControlsOfARowStandLeftToRightOnOneLine) {
  MainWindow window;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.front());
    QWidget* previous = nullptr;
    for (const char* name : row) {
      QWidget* widget = child(window, name);
      ASSERT_NE(widget, nullptr) << name;
      if (previous != nullptr) {
        EXPECT_LE(previous->geometry().right(), widget->geometry().left())
            << previous->objectName().toStdString() << " before " << name;
        EXPECT_NEAR(widget->y(), previous->y(), 3) << name;
      }
      previous = widget;
    }
  }
}

TEST(RowTest, LampsLieUnderTheirButtonsAndTheCalculatorRightOfItsResults) {
  MainWindow window;
  const std::pair<const char*, const char*> under[] = {
      {"Shape1", "Command1"}, {"Shape2", "Command2"}, {"Shape3", "Command3"},
      {"Shape4", "Command4"}, {"Shape5", "Command8"}, {"Shape6", "Command7"},
  };
  for (const auto& [lamp, button] : under) {
    const QRect l = child(window, lamp)->geometry();
    const QRect b = child(window, button)->geometry();
    EXPECT_GE(l.top(), b.bottom()) << lamp;
    EXPECT_LE(l.top() - b.bottom(), 3) << lamp;
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

// ---------------------------------------------------------------------------------------------
// The whole window.

std::vector<QWidget*> controlsOf(const QWidget& window) {
  std::vector<QWidget*> out;
  for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow()) out.push_back(w);
  }
  return out;
}

TEST_F(ShownWindow, HasTheFixedClientAreaTitleAndEveryControl) {
  EXPECT_EQ(window.size(), QSize(925, 568));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8(" Korvane ｾｯﾃｲ ver.4.1"));
  // Text1(0..25, 99), Text2..Text11, Command1..Command37 with the arrays Command5(0..15) and
  // Command6(0..20), Label1(0..43), Shape1..14, Line1..9, Combo1..3.
  std::vector<std::string> expected;
  for (int i = 0; i <= 25; ++i) expected.push_back("Text1(" + std::to_string(i) + ")");
  expected.push_back("Text1(99)");
  for (int i = 2; i <= 11; ++i) expected.push_back("Text" + std::to_string(i));
  for (int i = 1; i <= 37; ++i) {
    if (i != 5 && i != 6) expected.push_back("Command" + std::to_string(i));
  }
  for (int i = 0; i <= 15; ++i) expected.push_back("Command5(" + std::to_string(i) + ")");
  for (int i = 0; i <= 20; ++i) expected.push_back("Command6(" + std::to_string(i) + ")");
  for (int i = 0; i <= 43; ++i) expected.push_back("Label1(" + std::to_string(i) + ")");
  for (int i = 1; i <= 14; ++i) expected.push_back("Shape" + std::to_string(i));
  for (int i = 1; i <= 9; ++i) expected.push_back("Line" + std::to_string(i));
  for (int i = 1; i <= 3; ++i) expected.push_back("Combo" + std::to_string(i));
  for (const std::string& name : expected) EXPECT_NE(child(window, name), nullptr) << name;
  EXPECT_EQ(controlsOf(window).size(), expected.size()) << "controls besides the listed ones";
  for (int i = 0; i <= 20; ++i) {
    EXPECT_EQ(caption(child(window, "Command6(" + std::to_string(i) + ")")), "SET");
  }
}

TEST_F(ShownWindow, VisibleControlsLieInsideTheClientAreaAndTheStoresOutside) {
  const QRect client(0, 0, 925, 568);
  for (QWidget* w : controlsOf(window)) {
    const std::string name = w->objectName().toStdString();
    if (name.starts_with("Text1(") &&
        (name == "Text1(16)" || name == "Text1(17)" || name == "Text1(18)" || name == "Text1(19)" ||
         name == "Text1(99)")) {
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

TEST_F(ShownWindow, NoTwoVisibleControlsOverlap) {
  std::vector<QWidget*> shown;
  for (QWidget* w : controlsOf(window)) {
    if (w->isVisible()) shown.push_back(w);
  }
  ASSERT_GT(shown.size(), 150u);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
          << shown[i]->objectName().toStdString() << " overlaps "
          << shown[j]->objectName().toStdString();
    }
  }
}

TEST_F(ShownWindow, NoCaptionIsCutOff) {
  for (QWidget* w : controlsOf(window)) {
    if (!w->isVisible()) continue;
    const QFontMetrics metrics = w->fontMetrics();
    const std::string name = w->objectName().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width()) << name;
      EXPECT_LE(metrics.height(), label->height()) << name;
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
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
    const QString text = caption(w);
    const QFontMetrics metrics = w->fontMetrics();
    for (const QChar c : text) {
      EXPECT_TRUE(metrics.inFont(c))
          << w->objectName().toStdString() << " U+" << std::hex << int(c.unicode());
    }
  }
  const std::pair<const char*, double> sizes[] = {
      {"Label1(0)", 9.0},   {"Command5(1)", 9.0}, {"Text1(5)", 9.0},    {"Label1(3)", 9.0},
      {"Label1(33)", 8.25}, {"Label1(34)", 8.25}, {"Label1(35)", 8.25}, {"Label1(37)", 8.25},
      {"Label1(38)", 8.25}, {"Label1(26)", 8.25}, {"Label1(19)", 8.25}, {"Label1(23)", 9.0},
  };
  for (const auto& [name, points] : sizes) {
    EXPECT_DOUBLE_EQ(child(window, name)->font().pointSizeF(), points) << name;
  }
}

// ---------------------------------------------------------------------------------------------
// Colours and alignment.

struct Look {
  const char* name;
  QColor colour;  // field background, label text, line or lamp fill
  Qt::Alignment align = {};
  bool readOnly = false;
};

TEST_F(ShownWindow, ControlsHaveTheirColoursAndAlignment) {
  const QPalette system = QApplication::palette();
  const QColor white = system.color(QPalette::Active, QPalette::HighlightedText);
  const QColor yellow(255, 255, 0);
  const QColor silver(192, 192, 192);
  const QColor workspace = system.color(QPalette::Active, QPalette::Dark);
  const Look looks[] = {
      {"Text1(0)", QColor(128, 128, 128), Qt::AlignLeft},
      {"Text1(4)", QColor(128, 128, 128), Qt::AlignLeft},
      {"Text1(5)", system.color(QPalette::Base), Qt::AlignLeft},
      {"Text1(14)", QColor(255, 255, 192), Qt::AlignLeft, true},
      {"Text1(15)", QColor(255, 255, 192), Qt::AlignLeft, true},
      {"Text2", silver, Qt::AlignHCenter},
      {"Text9", silver, Qt::AlignHCenter},
      {"Text10", QColor(224, 224, 224), Qt::AlignHCenter, true},
      {"Text11", QColor(224, 224, 224), Qt::AlignHCenter, true},
      {"Label1(0)", white, Qt::AlignLeft},
      {"Label1(22)", white, Qt::AlignLeft},
      {"Label1(13)", white, Qt::AlignLeft},
      {"Label1(23)", white, Qt::AlignLeft},
      {"Label1(3)", yellow, Qt::AlignLeft},
      {"Label1(33)", yellow, Qt::AlignRight},
      {"Label1(38)", yellow, Qt::AlignRight},
      {"Label1(30)", white, Qt::AlignRight},
      {"Label1(31)", white, Qt::AlignRight},
      {"Label1(32)", white, Qt::AlignRight},
      {"Label1(39)", white, Qt::AlignRight},
      {"Line1", silver},
      {"Line5", silver},
      {"Line2", workspace},
      {"Line6", workspace},
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

// ---------------------------------------------------------------------------------------------
// Names a screen reader reads.

TEST(AccessibilityTest, FieldsAreNamedByTheirRowsAndSetButtonsSayWhichRow) {
  MainWindow window;
  const std::pair<const char*, const char*> names[] = {
      {"Text1(0)", "MaxRate"},
      {"Text1(1)", "赤経角度対ステップ"},
      {"Text1(4)", "赤緯ウォーム対ステップ"},
      {"Text1(5)", "観測地　経度"},
      {"Text1(7)", "UTC OFFSET（時差）"},
      {"Text1(10)", "子午線　西側"},
      {"Text1(11)", "子午線　東側"},
      {"Text1(13)", "地平線"},
      {"Text1(14)", "日時 (1)"},
      {"Text1(15)", "日時 (2)"},
      {"Text1(20)", "HOMEポジション　高度"},
      {"Text1(22)", "WIFI (ST) SSID"},
      {"Text1(23)", "WIFI (AP) SSID"},
      {"Text1(24)", "WIFI (AP) PASSWORD"},
      {"Text1(25)", "WIFI (ST) PASSWORD"},
      {"Combo3", "WIFI (AP) チャンネル"},
      {"Text2", "赤経 ﾓｰﾀｰｽﾃｯﾌﾟ"},
      {"Text9", "赤緯 ｳｫｰﾑｷﾞｱ"},
  };
  for (const auto& [name, accessible] : names) {
    EXPECT_EQ(child(window, name)->accessibleName(), QString::fromUtf8(accessible)) << name;
  }
  const std::pair<const char*, const char*> descriptions[] = {
      {"Command6(0)", "SET: MaxRate"},
      {"Command6(5)", "SET: 地平線"},
      {"Command6(8)", "SET: 子午線　西側"},
      {"Command6(11)", "SET: 観測地　経度"},
      {"Command6(16)", "SET: WIFI (AP) チャンネル"},
      {"Command6(19)", "SET: WIFI (ST) SSID"},
      {"Command6(20)", "SET: WIFI (ST) PASSWORD"},
      {"Command29", "SET: 極北ホームポジション"},
  };
  for (const auto& [name, description] : descriptions) {
    EXPECT_EQ(child(window, name)->accessibleDescription(), QString::fromUtf8(description)) << name;
  }
}

TEST(AccessibilityTest, EveryVisibleFieldAndEverySetButtonIsTellableApart) {
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
// Combo boxes.

QStringList itemsOf(const QComboBox& combo) {
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
  return items;
}

TEST(ComboTest, ListsAndInitialTexts) {
  MainWindow window;
  QStringList ports;
  for (int i = 1; i <= 19; ++i) ports << QString("COM%1").arg(i);
  auto* combo1 = child<QComboBox>(window, "Combo1");
  EXPECT_EQ(itemsOf(*combo1), ports);
  EXPECT_EQ(combo1->currentText(), "COM10");
  auto* combo2 = child<QComboBox>(window, "Combo2");
  EXPECT_EQ(itemsOf(*combo2), QStringList({"AP", "GP", "EQ5", "NJP", "USER"}));
  EXPECT_EQ(combo2->currentText(), "");
  auto* combo3 = child<QComboBox>(window, "Combo3");
  EXPECT_EQ(itemsOf(*combo3),
            QStringList({" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10"}));
  EXPECT_EQ(combo3->currentText(), "");
  for (QComboBox* combo : {combo1, combo2, combo3}) {
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
  }
}

TEST(ComboTest, EnterKeepsTheListAndTheTypedTextAsItIs) {
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
    EXPECT_EQ(combo->currentText(), text) << name;
    EXPECT_EQ(window.text(name), text) << name;
  }
}

TEST(ComboTest, EachPortItemNamesItsDevice) {
  MainWindow window;
  window.setPortTooltips([](int n) { return "/dev/ttyUSB" + std::to_string(n - 1); });
  auto* combo1 = child<QComboBox>(window, "Combo1");
  ASSERT_EQ(combo1->count(), 19);
  for (int i = 0; i < 19; ++i) {
    EXPECT_EQ(combo1->itemData(i, Qt::ToolTipRole).toString(), QString("/dev/ttyUSB%1").arg(i));
  }
}

// ---------------------------------------------------------------------------------------------
// Panel.

TEST(PanelTest, TextsAreTheWidgetsOwn) {
  MainWindow window;
  EXPECT_EQ(window.text("Text1(99)"), "Text1");
  EXPECT_EQ(window.text("Text4"), "3.333");
  EXPECT_EQ(window.text("Text1(0)"), "");
  const std::pair<const char*, const char*> values[] = {
      {"Text1(5)", "-139*44"},   {"Text1(16)", "1"}, {"Text2", "200"},   {"Text11", "413"},
      {"Text1(23)", "ＳＳＩＤ"}, {"Combo3", "5"},    {"Combo2", "USER"}, {"Combo1", "com3"},
  };
  for (const auto& [name, value] : values) {
    window.setText(name, value);
    EXPECT_EQ(window.text(name), value) << name;
    EXPECT_EQ(caption(child(window, name)), QString::fromUtf8(value)) << name;
  }
  // Typing reaches the Panel too: no copy of the text is kept anywhere else.
  child<QLineEdit>(window, "Text1(6)")->setText("+35*39");
  EXPECT_EQ(window.text("Text1(6)"), "+35*39");
}

TEST(PanelTest, AComboTextThatNamesAnItemSelectsItAndOtherTextsSelectNone) {
  MainWindow window;
  auto* combo1 = child<QComboBox>(window, "Combo1");
  window.setText("Combo1", "COM3");
  EXPECT_EQ(combo1->currentIndex(), 2);
  window.setText("Combo1", "COM20");
  EXPECT_EQ(combo1->currentIndex(), -1);
  EXPECT_EQ(window.text("Combo1"), "COM20");
  window.setText("Combo1", "com3");
  EXPECT_EQ(combo1->currentIndex(), -1);
  window.setText("Combo3", "");
  EXPECT_EQ(window.text("Combo3"), "");
}

TEST(PanelTest, ALongValueShowsItsBeginning) {
  MainWindow window;
  window.setText("Text4", "2.26666666666666");
  EXPECT_EQ(child<QLineEdit>(window, "Text4")->cursorPosition(), 0);
}

TEST(PanelTest, NamesWithoutAFieldOrLampAreIgnored) {
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
  for (int shape = 1; shape <= 14; ++shape) {
    const QWidget* lamp = child(window, "Shape" + std::to_string(shape));
    EXPECT_EQ(start.pixelColor(lamp->geometry().center()), QColor(0, 128, 0)) << shape;
    EXPECT_EQ(window.lamp(shape), kGreen) << shape;
  }
  const Colour colours[] = {kMagenta, kTeal, Colour{12, 34, 56}};
  for (int shape = 1; shape <= 14; ++shape) {
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
    EXPECT_EQ(pixelAt(window, inside), QColor(255, 255, 128)) << name;
    window.setHighlighted(name, false);
    const QColor buttonFace = field->palette().color(QPalette::Button);
    EXPECT_EQ(field->palette().color(QPalette::Base), buttonFace) << name;
    EXPECT_EQ(pixelAt(window, inside), buttonFace) << name;
  }
}

TEST_F(ShownWindow, EnablingByNameAndTheWholeWindow) {
  window.setEnabled("Command19", false);
  EXPECT_FALSE(window.isEnabled("Command19"));
  EXPECT_FALSE(child(window, "Command19")->isEnabled());
  EXPECT_TRUE(window.isEnabled("Command11"));

  window.setEnabled("Form1", false);
  EXPECT_FALSE(window.isEnabled("Form1"));
  EXPECT_FALSE(window.QWidget::isEnabled());
  EXPECT_FALSE(child(window, "Command11")->isEnabled());
  EXPECT_FALSE(child(window, "Text1(1)")->isEnabled());
  // A control keeps its own setting under a disabled window.
  EXPECT_TRUE(window.isEnabled("Command11"));

  window.setEnabled("Form1", true);
  EXPECT_TRUE(child(window, "Command11")->isEnabled());
  EXPECT_FALSE(child(window, "Command19")->isEnabled());
  window.setEnabled("Command19", true);
  EXPECT_TRUE(window.isEnabled("Command19"));
}

TEST_F(ShownWindow, FocusStartsAtTheFirstDirectionButton) {
  EXPECT_EQ(QApplication::focusWidget(), child(window, "Command1"));
}

}  // namespace
}  // namespace korvane::test
