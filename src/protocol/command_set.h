#pragma once
// Every fixed command the tool sends besides the queries and writes of the settings catalogue.
// Commands are sent exactly as they stand: ":" first, "#" last, nothing appended.

#include <algorithm>
#include <array>
#include <string_view>

#include "protocol/catalogue.h"

namespace korvane {

// Sent in place of a write whose value a SET button refuses.
inline constexpr std::string_view kRejectionNotice = ":=SG#";

// One-shot operating buttons: each sends its commands in order, then moves its lamps (if any)
// whether or not the port was open.
struct OperationButton {
  int button;                                // CommandN
  std::array<std::string_view, 2> commands;  // the second is empty but for the guide speed
  LampPair lamps;                            // first turns magenta, second teal
};

// clang-format off
inline constexpr std::array<OperationButton, 19> kOperationButtons{{
  { 1, {":TA#", ""},      {1, 2}},   // 赤経+
  { 2, {":TB#", ""},      {2, 1}},   // 赤経-
  { 3, {":TC#", ""},      {3, 4}},   // 赤緯+
  { 4, {":TD#", ""},      {4, 3}},   // 赤緯-
  {10, {":Te#", ""},      {}},       // motor drive ON
  { 9, {":Td#", ""},      {}},       // motor drive OFF
  { 8, {":TV#", ""},      {5, 6}},   // Limit ON
  { 7, {":TW#", ""},      {6, 5}},   // Limit OFF
  {27, {":TQ#", ""},      {}},       // 恒星時
  {26, {":TL#", ""},      {}},       // 月
  {25, {":TS#", ""},      {}},       // 太陽
  {24, {":T0#", ""},      {}},       // 星景0.5x
  {23, {":T+#", ""},      {}},       // +0.02Hz
  {22, {":T-#", ""},      {}},       // -0.02Hz
  {30, {":=SD#", ":RG#"}, {}},       // ガイド×0.5
  {31, {":RC#", ""},      {}},       // 微動×8
  {32, {":RM#", ""},      {}},       // 粗動×20
  {33, {":RS#", ""},      {}},       // 導入×48
  {37, {":TJ#", ""},      {}},       // GPS 再捕捉
}};
// clang-format on

// The row of an operating button; nullptr for a button that has none.
constexpr const OperationButton* operationButton(int button) {
  const auto it = std::ranges::find(kOperationButtons, button, &OperationButton::button);
  return it == kOperationButtons.end() ? nullptr : &*it;
}

// The direction buttons of one axis; the calculator resends the direction the plus lamp shows.
// Looked up when compiling: a missing row does not build.
struct DirectionButtons {
  const OperationButton& plus;
  const OperationButton& minus;
  constexpr const OperationButton& of(bool isPlus) const { return isPlus ? plus : minus; }
  constexpr int plusLamp() const { return plus.lamps.first; }
};
inline constexpr DirectionButtons kRaDirection{*operationButton(1), *operationButton(2)};
inline constexpr DirectionButtons kDecDirection{*operationButton(3), *operationButton(4)};
// The catalogue rows the two directions are read and kept under.
inline constexpr int kRaDirectionKind = 17, kDecDirectionKind = 18;

// Two-state controller options: switch, wait, read back, wait.
struct OptionRow {
  int onButton, offButton;
  std::string_view onCommand, offCommand;
  int replyKind;  // its query and lamps come from the catalogue
};

// clang-format off
inline constexpr std::array<OptionRow, 4> kOptionRows{{
  {15, 16, ":SX95,1#", ":SX95,0#", 27},  // 恒星時運転子午線自動反転
  {21, 20, ":TX#",     ":TY#",     26},  // 自動導入子午線自動反転
  {17, 18, ":SX98,1#", ":SX98,0#", 28},  // 子午線反転時動作一旦停止
  {13, 14, ":SX97,1#", ":SX97,0#", 29},  // 自動導入時　ブザー音
}};
// clang-format on
inline constexpr double kOptionWaitMs = 1000;

// The polar home position: move home there, then read altitude and azimuth back.
inline constexpr std::string_view kPolarHome = ":TH#";
inline constexpr int kHomeAltitudeKind = 21, kHomeAzimuthKind = 22;
inline constexpr int kHomeAltitudeSet = 14, kHomeAzimuthSet = 15;
inline constexpr double kPolarHomeWaitsMs[] = {1000, 200, 3000};

// Time and network.
inline constexpr std::string_view kDatePrefix = ":SC";
inline constexpr std::string_view kTimePrefix = ":SL";
inline constexpr double kDateTimePauseMs = 1000;
inline constexpr std::string_view kWifiApMode = ":TG#";
inline constexpr std::string_view kWifiStationMode = ":TF#";
inline constexpr std::string_view kWifiApply = ":=SE#";

// Pacing.
inline constexpr double kReadAllWaitMs = 400;
// An answer later than its pause is still awaited, up to this long after its query (and up to the
// longer bound while one arrives piece by piece), before the next query goes out: a slow
// controller's answers stay in their own rows, and one that never comes costs a second.
inline constexpr double kAnswerBoundMs = 1000;
inline constexpr double kPieceByPieceBoundMs = 5000;
inline constexpr double kAnswerStepMs = 10;
inline constexpr std::size_t kLongestAnswer = 64;  // a WiFi password and its "#"
inline constexpr double kCalculatorWaitMs = 500;

}  // namespace korvane
