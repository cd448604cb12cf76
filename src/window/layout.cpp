#include "window/layout.h"

#include <algorithm>
#include <string>

#include "presets/gear_calculator.h"
#include "protocol/catalogue.h"
#include "protocol/presets.h"

namespace korvane {

namespace {

constexpr Paint kWhiteCaption = SystemColour::HighlightText;
constexpr Paint kAppWorkspace = SystemColour::AppWorkspace;
constexpr Colour kYellow{255, 255, 0};
constexpr Colour kSilver{192, 192, 192};
constexpr Colour kGrey{128, 128, 128};
constexpr Colour kLightGrey{224, 224, 224};
constexpr Colour kLightYellow{255, 255, 192};
constexpr Colour kLampGreen = kGreen;

// One parameter row: read button (2055 wide), field, "SET"; the columns differ only in where
// the three stand.
struct Column {
  int read;
  int field;
  int fieldWidth;
  int set;
};
constexpr Column kLeft{120, 2235, 1260, 3555};
constexpr Column kMiddle{4380, 6495, 1380, 7935};
constexpr int kReadWidth = 2055;
constexpr int kSetWidth = 705;
constexpr int kButtonHeight = 405;
constexpr int kFieldHeight = 360;
constexpr int kLabelHeight = 240;

// The right column: ON at 11760 with its lamp at 11640, OFF at 12840 with its lamp at 12720. The
// buttons stand one pixel further right so that the 135-twip lamps do not touch them.
constexpr int kOnLamp = 11640;
constexpr int kOnButton = 11775;
constexpr int kOffLamp = 12720;
constexpr int kOffButton = 12855;
constexpr int kSwitchWidth = 900;
constexpr int kSwitchHeight = 375;
constexpr int kRightLeft = 9240;
constexpr int kRightLabelWidth = 2370;  // up to the ON lamp
constexpr int kRightWidth = 4515;       // up to 8 pixels before the right edge
// WiFi rows: captions right-aligned before the field, the field, "SET" at the right edge.
constexpr int kWifiLabelRight = 11040;
constexpr int kWifiField = 11100;
constexpr int kWifiFieldWidth = 1890;
constexpr int kWifiSet = 13050;
constexpr int kWifiHeight = 330;

constexpr ControlEntry label(std::string_view name, std::string_view caption, int x, int y, int w,
                             int h = kLabelHeight) {
  return {name,        ControlKind::Label, caption,      x, y, w, h,
          Align::Left, kWindowFontPoints,  kWhiteCaption};
}
constexpr ControlEntry rightLabel(std::string_view name, std::string_view caption, int x, int y,
                                  int w, int h = kLabelHeight) {
  return {name,         ControlKind::Label, caption,      x, y, w, h,
          Align::Right, kWindowFontPoints,  kWhiteCaption};
}
constexpr ControlEntry smallLabel(std::string_view name, std::string_view caption, int x, int y,
                                  int w) {
  return {name,        ControlKind::Label, caption,      x, y, w, kLabelHeight,
          Align::Left, kSmallFontPoints,   kWhiteCaption};
}
// The English line under a Japanese caption.
constexpr ControlEntry subtitle(std::string_view name, std::string_view caption, int x, int y,
                                int w) {
  return {name,         ControlKind::Label, caption,          x,      y, w,
          kLabelHeight, Align::Right,       kSmallFontPoints, kYellow};
}
constexpr ControlEntry button(std::string_view name, std::string_view caption, int x, int y, int w,
                              int h, std::string_view row = {}) {
  return {
      name,          ControlKind::Button, caption, x,  y, w, h, Align::Centre, kWindowFontPoints,
      kSystemColour, kSystemColour,       0,       row};
}
constexpr ControlEntry field(std::string_view name, int x, int y, int w, int h,
                             std::string_view row, Paint back = kSystemColour,
                             std::uint8_t flags = 0, Align align = Align::Left,
                             std::string_view initial = {}) {
  return {name,  ControlKind::Field, initial,       x,    y,     w,  h,
          align, kWindowFontPoints,  kSystemColour, back, flags, row};
}
constexpr ControlEntry gearBox(std::string_view name, std::string_view initial, int x, int y,
                               std::string_view row) {
  return field(name, x, y, 840, 330, row, kSilver, 0, Align::Centre, initial);
}
constexpr ControlEntry resultBox(std::string_view name, int y, std::string_view row) {
  // One pixel lower than the caption beside it, so that the two boxes do not run together.
  return field(name, 2265, y, 720, kLabelHeight - kTwipsPerPixel, row, kLightGrey,
               kReadOnly | kFlat, Align::Centre);
}
constexpr ControlEntry hiddenField(std::string_view name, int x, int y,
                                   std::string_view initial = {}) {
  return field(name, x, y, 1005, kFieldHeight, {}, kSystemColour, kHidden, Align::Left, initial);
}
constexpr ControlEntry combo(std::string_view name, int x, int y, int w, std::string_view row) {
  return {name,          ControlKind::Combo, {}, x,  y, w, 330, Align::Left, kWindowFontPoints,
          kSystemColour, kSystemColour,      0,  row};
}
constexpr ControlEntry lamp(std::string_view name, int x, int y, int w, int h) {
  return {name,          ControlKind::Lamp, {}, x, y, w, h, Align::Left, kWindowFontPoints,
          kSystemColour, kLampGreen};
}
constexpr ControlEntry line(std::string_view name, int x, int y, int w, Paint colour = kSilver) {
  return {name,
          ControlKind::Line,
          {},
          x,
          y,
          w,
          kTwipsPerPixel,
          Align::Left,
          kWindowFontPoints,
          kSystemColour,
          colour};
}
constexpr ControlEntry hidden(ControlEntry entry) {
  entry.flags |= kHidden;
  return entry;
}
constexpr ControlEntry yellow(ControlEntry entry) {
  entry.fore = kYellow;
  return entry;
}
constexpr ControlEntry readButton(std::string_view name, std::string_view caption, Column c,
                                  int y) {
  return button(name, caption, c.read, y, kReadWidth, kButtonHeight);
}
constexpr ControlEntry paramField(std::string_view name, Column c, int y, std::string_view row,
                                  Paint back = kSystemColour) {
  return field(name, c.field, y, c.fieldWidth, kFieldHeight, row, back);
}
constexpr ControlEntry setButton(std::string_view name, Column c, int y, std::string_view row) {
  return button(name, "SET", c.set, y, kSetWidth, kButtonHeight, row);
}
constexpr ControlEntry wifiField(std::string_view name, int y, std::string_view row) {
  return field(name, kWifiField, y, kWifiFieldWidth, kWifiHeight, row);
}
constexpr ControlEntry wifiSet(std::string_view name, int y, std::string_view row) {
  return button(name, "SET", kWifiSet, y, kSetWidth, kWifiHeight, row);
}
constexpr ControlEntry onButton(std::string_view name, int y, std::string_view row) {
  return button(name, "ON", kOnButton, y, kSwitchWidth, kSwitchHeight, row);
}
constexpr ControlEntry offButton(std::string_view name, int y, std::string_view row) {
  return button(name, "OFF", kOffButton, y, kSwitchWidth, kSwitchHeight, row);
}
constexpr ControlEntry switchLamp(std::string_view name, int x, int y) {
  return lamp(name, x, y, 135, kSwitchHeight);
}

// Table order is the order of creation, and so the stacking (Label1(36) before Command5(0), so the
// button covers it); the Tab order is TabOrder's, from the places.
// clang-format off
constexpr std::array kControls{
  // ---- left column: motor directions
  label("Label1(0)", "モーター回転方向", 120, 120, 1800),
  button("Command1", "赤経+", 120, 360, 975, 360),
  button("Command2", "赤経-", 1170, 360, 975, 360),
  button("Command3", "赤緯+", 2220, 360, 975, 360),
  button("Command4", "赤緯-", 3270, 360, 975, 360),
  lamp("Shape1", 120, 720, 975, 135),
  lamp("Shape2", 1170, 720, 975, 135),
  lamp("Shape3", 2220, 720, 975, 135),
  lamp("Shape4", 3270, 720, 975, 135),
  line("Line1", 120, 960, 4140),
  // ---- motor gear settings
  label("Label1(1)", "モーターギア設定", 120, 1080, 1800),
  hidden(label("Label1(36)", "自動導入時　ブザー音", 120, 1320, kReadWidth)),
  readButton("Command5(0)", fieldCaption(0), kLeft, 1320),
  paramField("Text1(0)", kLeft, 1320, fieldCaption(0), kGrey),
  setButton("Command6(0)", kLeft, 1320, fieldCaption(0)),
  readButton("Command5(1)", fieldCaption(1), kLeft, 1800),
  paramField("Text1(1)", kLeft, 1800, fieldCaption(1), kGrey),
  setButton("Command6(1)", kLeft, 1800, fieldCaption(1)),
  readButton("Command5(2)", fieldCaption(2), kLeft, 2280),
  paramField("Text1(2)", kLeft, 2280, fieldCaption(2), kGrey),
  setButton("Command6(2)", kLeft, 2280, fieldCaption(2)),
  readButton("Command5(3)", fieldCaption(3), kLeft, 2760),
  paramField("Text1(3)", kLeft, 2760, fieldCaption(3), kGrey),
  setButton("Command6(3)", kLeft, 2760, fieldCaption(3)),
  readButton("Command5(4)", fieldCaption(4), kLeft, 3240),
  paramField("Text1(4)", kLeft, 3240, fieldCaption(4), kGrey),
  setButton("Command6(4)", kLeft, 3240, fieldCaption(4)),
  // ---- gear calculator
  label("Label1(7)", "ﾓｰﾀｰｽﾃｯﾌﾟ", 720, 3720, 840),
  label("Label1(8)", "固定係数", 1620, 3720, 840),
  label("Label1(9)", "中間ｷﾞｱ", 2520, 3720, 840),
  label("Label1(10)", "ｳｫｰﾑｷﾞｱ", 3420, 3720, 840),
  label("Label1(11)", "赤経", 120, 3960, 540, 330),
  gearBox("Text2", "200", 720, 3960, kGearFieldNames[0]),
  gearBox("Text3", "8", 1620, 3960, kGearFieldNames[1]),
  gearBox("Text4", "3.333", 2520, 3960, kGearFieldNames[2]),
  gearBox("Text5", "144", 3420, 3960, kGearFieldNames[3]),
  label("Label1(12)", "赤緯", 120, 4320, 540, 330),
  gearBox("Text6", "200", 720, 4320, kGearFieldNames[4]),
  gearBox("Text7", "8", 1620, 4320, kGearFieldNames[5]),
  gearBox("Text8", "3.333", 2520, 4320, kGearFieldNames[6]),
  gearBox("Text9", "144", 3420, 4320, kGearFieldNames[7]),
  label("Label1(14)", "導入最高速（倍）::恒星時  ", 120, 4800, 2130),
  resultBox("Text11", 4800, "導入最高速（倍）::恒星時"),
  label("Label1(13)", "Maximum slew rate (°/s)  ", 120, 5040, 2130),
  resultBox("Text10", 5040, "Maximum slew rate (°/s)"),
  button("Command19", "手動計算", 3045, 4740, 1215, 600),
  line("Line8", 120, 5400, 4140),
  // ---- mount presets
  label("Label1(17)", "赤道儀モデル　プリセット(タイトル）", 120, 5475, 2730),
  combo("Combo2", 120, 5715, 1800, "赤道儀モデル　プリセット"),
  button("Command28", "USERﾌﾟﾘｾｯﾄ保存", 2865, 5520, 1455, kButtonHeight),
  line("Line2", 120, 6120, 4140, kAppWorkspace),
  // ---- gear and belt adjustment
  label("Label1(29)", "ギア/ベルト調整", 120, 6230, 1800),
  readButton("Command5(8)", fieldCaption(8), kLeft, 6480),
  paramField("Text1(8)", kLeft, 6480, fieldCaption(8)),
  setButton("Command6(9)", kLeft, 6480, fieldCaption(8)),
  readButton("Command5(9)", fieldCaption(9), kLeft, 6960),
  paramField("Text1(9)", kLeft, 6960, fieldCaption(9)),
  setButton("Command6(10)", kLeft, 6960, fieldCaption(9)),

  // ---- middle column: site
  label("Label1(22)", "観測地情報", 4380, 120, 960),
  label("Label1(15)", "日時", 5400, 120, 390, 360),
  button("Command34", "Set", 5835, 120, 540, 360, "日時"),
  field("Text1(14)", 6435, 120, 1080, 360, "日時 (1)", kLightYellow, kReadOnly),
  field("Text1(15)", 7560, 120, 1080, 360, "日時 (2)", kLightYellow, kReadOnly),
  readButton("Command5(5)", fieldCaption(5), kMiddle, 600),
  paramField("Text1(5)", kMiddle, 600, fieldCaption(5)),
  setButton("Command6(11)", kMiddle, 600, fieldCaption(5)),
  readButton("Command5(6)", fieldCaption(6), kMiddle, 1080),
  paramField("Text1(6)", kMiddle, 1080, fieldCaption(6)),
  setButton("Command6(12)", kMiddle, 1080, fieldCaption(6)),
  readButton("Command5(7)", fieldCaption(7), kMiddle, 1560),
  paramField("Text1(7)", kMiddle, 1560, fieldCaption(7)),
  setButton("Command6(13)", kMiddle, 1560, fieldCaption(7)),
  label("Label1(27)", "日本 = (+9)", 6495, 2040, 960, 360),
  button("Command37", "GPS 再捕捉", 7515, 2040, 1125, 360),
  line("Line3", 4380, 2520, 4260),
  // ---- limits
  label("Label1(2)", "恒星時運転子午線リミット停止動作", 4380, 2640, 2715),
  subtitle("Label1(38)", "Sidereal time Drive Limits stop: ", 4380, 2880, 2715),
  button("Command8", "Limit ON", 7155, 2640, 900, 360),
  button("Command7", "Limit OFF", 8115, 2640, 900, 360),
  lamp("Shape5", 7230, 3000, 735, 135),
  lamp("Shape6", 8190, 3000, 735, 135),
  readButton("Command5(13)", fieldCaption(13), kMiddle, 3240),
  paramField("Text1(13)", kMiddle, 3240, fieldCaption(13)),
  setButton("Command6(5)", kMiddle, 3240, fieldCaption(13)),
  readButton("Command5(12)", fieldCaption(12), kMiddle, 3720),
  paramField("Text1(12)", kMiddle, 3720, fieldCaption(12)),
  setButton("Command6(6)", kMiddle, 3720, fieldCaption(12)),
  readButton("Command5(11)", fieldCaption(11), kMiddle, 4200),
  paramField("Text1(11)", kMiddle, 4200, fieldCaption(11)),
  setButton("Command6(7)", kMiddle, 4200, fieldCaption(11)),
  readButton("Command5(10)", fieldCaption(10), kMiddle, 4680),
  paramField("Text1(10)", kMiddle, 4680, fieldCaption(10)),
  setButton("Command6(8)", kMiddle, 4680, fieldCaption(10)),
  // ---- home position
  label("Label1(40)", "ホームポジション", 4380, 5160, 1800),
  readButton("Command5(14)", fieldCaption(20), kMiddle, 5520),
  paramField("Text1(20)", kMiddle, 5520, fieldCaption(20)),
  setButton("Command6(14)", kMiddle, 5520, fieldCaption(20)),
  readButton("Command5(15)", fieldCaption(21), kMiddle, 6000),
  paramField("Text1(21)", kMiddle, 6000, fieldCaption(21)),
  setButton("Command6(15)", kMiddle, 6000, fieldCaption(21)),
  rightLabel("Label1(39)", "極北ホームポジション", 5835, 6480, 2040, 360),
  button("Command29", "SET", kMiddle.set, 6480, kSetWidth, 360, "極北ホームポジション"),
  // ---- speeds
  label("Label1(43)", "SPEED:", 4380, 6700, 960),
  button("Command30", "ガイド×0.5", 4380, 6960, 1020, kButtonHeight),
  button("Command31", "微動×8", 5460, 6960, 1020, kButtonHeight),
  button("Command32", "粗動×20", 6540, 6960, 1020, kButtonHeight),
  button("Command33", "導入×48", 7620, 6960, 1020, kButtonHeight),

  // ---- right column: motor drive
  label("Label1(18)", "赤道儀　モーター運転動作", kRightLeft, 120, kRightLabelWidth, kSwitchHeight),
  button("Command10", "ON", kOnButton, 120, kSwitchWidth, kSwitchHeight, "赤道儀　モーター運転動作"),
  button("Command9", "OFF", kOffButton, 120, kSwitchWidth, kSwitchHeight, "赤道儀　モーター運転動作"),
  line("Line7", kRightLeft, 600, kRightWidth),
  // ---- option switches; the long English lines reach left into the gap between the columns
  smallLabel("Label1(19)", "その他の設定", kRightLeft, 680, kRightLabelWidth),
  label("Label1(16)", "恒星時運転子午線自動反転", kRightLeft, 960, kRightLabelWidth),
  subtitle("Label1(33)", "Sidereal time Drive Meridian Flip:", 8760, 1200, 2850),
  switchLamp("Shape9", kOnLamp, 960),
  onButton("Command15", 960, "恒星時運転子午線自動反転"),
  switchLamp("Shape10", kOffLamp, 960),
  offButton("Command16", 960, "恒星時運転子午線自動反転"),
  label("Label1(5)", "自動導入子午線自動反転", kRightLeft, 1440, kRightLabelWidth),
  subtitle("Label1(34)", "Goto Drive Meridian Flip: ", 8760, 1680, 2850),
  switchLamp("Shape7", kOnLamp, 1440),
  onButton("Command21", 1440, "自動導入子午線自動反転"),
  switchLamp("Shape8", kOffLamp, 1440),
  offButton("Command20", 1440, "自動導入子午線自動反転"),
  label("Label1(6)", "　子午線反転時動作一旦停止", kRightLeft, 1920, kRightLabelWidth),
  subtitle("Label1(35)", "Goto Pause at Meridian: ", 8760, 2160, 2850),
  switchLamp("Shape11", kOnLamp, 1920),
  onButton("Command17", 1920, "子午線反転時動作一旦停止"),
  switchLamp("Shape12", kOffLamp, 1920),
  offButton("Command18", 1920, "子午線反転時動作一旦停止"),
  label("Label1(4)", "自動導入時　ブザー音", kRightLeft, 2400, kRightLabelWidth),
  subtitle("Label1(37)", "Goto Alert, Buzzer", kRightLeft, 2640, kRightLabelWidth),
  switchLamp("Shape13", kOnLamp, 2400),
  onButton("Command13", 2400, "自動導入時　ブザー音"),
  switchLamp("Shape14", kOffLamp, 2400),
  offButton("Command14", 2400, "自動導入時　ブザー音"),
  line("Line4", kRightLeft, 2880, kRightWidth),
  // ---- tracking rate and trim
  smallLabel("Label1(26)", "注：コントローラーを再起動しますと恒星時に戻ります。", kRightLeft, 3000,
             kRightWidth),
  button("Command27", "恒星時", 9240, 3240, 1050, 390),
  button("Command26", "月", 10395, 3240, 1050, 390),
  button("Command25", "太陽", 11550, 3240, 1050, 390),
  button("Command24", "星景0.5x", 12705, 3240, 1050, 390),
  label("Label1(21)", "微速増減", kRightLeft, 3720, 1800),
  button("Command23", "+0.02Hz", 9240, 3960, 1050, 390),
  button("Command22", "-0.02Hz", 10395, 3960, 1050, 390),
  line("Line9", kRightLeft, 4440, kRightWidth),
  // ---- WiFi
  label("Label1(28)", "WIFI (AP)", kRightLeft, 4560, 960),
  rightLabel("Label1(32)", "チャンネル", 10215, 4560, kWifiLabelRight - 10215, kWifiHeight),
  combo("Combo3", kWifiField, 4560, 1080, "WIFI (AP) チャンネル"),
  wifiSet("Command6(16)", 4560, "WIFI (AP) チャンネル"),
  button("Command35", "APモード", kRightLeft, 4800, 960, 360),
  rightLabel("Label1(30)", " SSID", 10260, 5040, kWifiLabelRight - 10260, kWifiHeight),
  wifiField("Text1(23)", 5040, fieldCaption(23)),
  wifiSet("Command6(17)", 5040, fieldCaption(23)),
  rightLabel("Label1(31)", "PASSWORD", kRightLeft, 5400, kWifiLabelRight - kRightLeft, kWifiHeight),
  wifiField("Text1(24)", 5400, fieldCaption(24)),
  wifiSet("Command6(18)", 5400, fieldCaption(24)),
  label("Label1(20)", "WIFI (ST)", kRightLeft, 5805, 960, 195),
  button("Command36", "STモード", kRightLeft, 6000, 960, 360),
  rightLabel("Label1(42)", " SSID", 10260, 6000, kWifiLabelRight - 10260, kWifiHeight),
  wifiField("Text1(22)", 6000, fieldCaption(22)),
  wifiSet("Command6(19)", 6000, fieldCaption(22)),
  rightLabel("Label1(41)", "PASSWORD", kRightLeft, 6380, kWifiLabelRight - kRightLeft, kWifiHeight),
  wifiField("Text1(25)", 6380, fieldCaption(25)),
  wifiSet("Command6(20)", 6380, fieldCaption(25)),
  line("Line5", kRightLeft, 6840, kRightWidth),
  // ---- the port
  yellow(label("Label1(3)", "コントローラーとの通信", kRightLeft, 6960, 1800, kButtonHeight)),
  combo("Combo1", kWifiField, 6960, 1080, "コントローラーとの通信"),
  button("Command11", "接続", 12240, 6960, 690, kButtonHeight),
  button("Command12", "切断", kWifiSet, 6960, kSetWidth, kButtonHeight),

  // ---- instructions along the bottom
  line("Line6", 120, 7440, 13635, kAppWorkspace),
  label("Label1(23)", "設定手順：　コントローラーとの通信ポートを接続します。接続されるとコントローラーからデーターが入力されます。各項目に数値を入力しSETボタンを押してデーターを反映します。", 120, 7560, 13635),
  label("Label1(24)", "モーターギア設定は中間ギア、ウォームギアを入力して手動計算をさせると各項目の数値が算出できます。SETもボタンをを押して反映させます。", 120, 7800, 13635),
  label("Label1(25)", "赤道儀プリセットはモデルを選択するとそれに合った数値が入力されます。各項目のSETボタンを押して反映させます。　設定が完了しましたらコントローラーを再起動させてください。", 120, 8040, 13635),

  // ---- reply stores the operator never sees: right of and below the client area
  hiddenField("Text1(16)", 14040, 120),
  hiddenField("Text1(17)", 14040, 600),
  hiddenField("Text1(18)", 14040, 1080),
  hiddenField("Text1(19)", 14040, 1560),
  hiddenField("Text1(99)", 120, 15000, "Text1"),
};
// clang-format on

static_assert(allDistinct(kControls, &ControlEntry::name), "two controls share a name");

// Every control the handlers name is in the table: each setting's field, read button and lamps,
// each SET button, the gear table and the calculator's results, the four direction lamps.
constexpr bool hasControl(std::string_view name) {
  return std::ranges::any_of(kControls, [name](const ControlEntry& c) { return c.name == name; });
}
constexpr bool hasNumbered(std::string_view kind, int n, bool inBrackets) {
  std::string name(kind);
  name += inBrackets ? "(" : "";
  std::string digits;
  do digits.insert(digits.begin(), char('0' + n % 10));
  while ((n /= 10) > 0);
  name += digits + (inBrackets ? ")" : "");
  return hasControl(name);
}
constexpr bool hasField(int index) {
  return index == kNoField ||
         (index == kCombo3Index ? hasControl(kCombo3) : hasNumbered("Text1", index, true));
}
static_assert(std::ranges::all_of(kSettings, [](const Setting& s) {
  return hasField(s.field) && (s.readButton < 0 || hasNumbered("Command5", s.readButton, true)) &&
         (s.lamps.first == 0 || (hasNumbered("Shape", s.lamps.first, false) &&
                                 hasNumbered("Shape", s.lamps.second, false)));
}));
static_assert(std::ranges::all_of(kSetRows, [](const SetRow& r) {
  return hasField(r.field) && hasNumbered("Command6", r.index, true);
}));
static_assert(std::ranges::all_of(kGearFields, hasControl) &&
              std::ranges::all_of(kGearOutputFields, hasControl));
static_assert(hasNumbered("Shape", 1, false) && hasNumbered("Shape", kLampCount, false) &&
              !hasNumbered("Shape", kLampCount + 1, false) && hasControl(kCombo1) &&
              hasControl(kCombo2) && hasControl(kCommand19));

}  // namespace

std::span<const ControlEntry> windowControls() {
  return kControls;
}

namespace {

bool takesFocus(const ControlEntry& c) {
  return !c.has(kHidden) && (c.kind == ControlKind::Button || c.kind == ControlKind::Field ||
                             c.kind == ControlKind::Combo);
}

using Stops = std::vector<const ControlEntry*>;

// The window's three columns by their left edges; a control belongs to the column it begins in.
// (The columns cannot be told from the controls' places alone: the gap between the left and the
// middle column is narrower than the gaps between the buttons of a row of the right one.)
constexpr std::array kColumnLefts{kLeft.read, kMiddle.read, kRightLeft};

std::vector<Stops> columns(const Stops& stops) {
  std::vector<Stops> out(kColumnLefts.size());
  for (const ControlEntry* c : stops) {
    const auto past = std::ranges::upper_bound(kColumnLefts, c->x);
    out[std::size_t(std::max<std::ptrdiff_t>(past - kColumnLefts.begin() - 1, 0))].push_back(c);
  }
  return out;
}

// A column's rows from the top, each from the left. A row is measured from the control that
// stands highest in it, not from the last one joined, so that a row never creeps downwards: the
// WiFi mode button that stands half a row lower than the channel box starts a row of its own.
std::vector<Stops> rows(Stops column) {
  std::ranges::stable_sort(column, {}, [](const ControlEntry* c) { return c->y; });
  std::vector<Stops> out;
  for (const ControlEntry* c : column) {
    const ControlEntry* first = out.empty() ? nullptr : out.back().front();
    if (first == nullptr || 2 * c->y + c->h >= 2 * (first->y + first->h)) out.emplace_back();
    out.back().push_back(c);
  }
  // Left to right; two in one place from the left (the calculator's two results beside its
  // button), the upper first.
  for (Stops& row : out) {
    std::ranges::stable_sort(row, {}, [](const ControlEntry* c) { return c->x; });
  }
  return out;
}

}  // namespace

std::vector<std::string_view> TabOrder() {
  Stops stops;
  for (const ControlEntry& c : kControls) {
    if (takesFocus(c)) stops.push_back(&c);
  }
  std::vector<Stops> all;
  for (Stops& column : columns(stops)) {
    for (Stops& row : rows(std::move(column))) all.push_back(std::move(row));
  }
  const auto portRow = std::ranges::find_if(all, [](const Stops& row) {
    return std::ranges::any_of(row, [](const ControlEntry* c) { return c->name == kCombo1; });
  });
  if (portRow != all.end()) std::rotate(all.begin(), portRow, portRow + 1);
  std::vector<std::string_view> order;
  for (const Stops& row : all) {
    for (const ControlEntry* c : row) order.push_back(c->name);
  }
  return order;
}

std::vector<std::string> ComboItems(std::string_view combo) {
  std::vector<std::string> items;
  if (combo == kCombo1) {
    for (int port = 1; port <= kPortCount; ++port) items.push_back(ComName(port));
  } else if (combo == kCombo2) {
    for (const MountPreset& preset : kMountPresets) items.emplace_back(preset.name);
    items.emplace_back(kUserPreset);
  } else if (combo == kCombo3) {
    items.assign(kChannelItems.begin(), kChannelItems.end());
  }
  return items;
}

std::string_view ComboFirstText(std::string_view combo) {
  return combo == kCombo1 ? kInitialPortText : std::string_view();
}

}  // namespace korvane
