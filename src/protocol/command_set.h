#pragma once
// Every fixed command the tool sends besides the queries and writes of the settings catalogue.
// Commands are sent exactly as they stand: ":" first, "#" last, nothing appended.

#include <array>
#include <string_view>

#include "protocol/catalogue.h"

namespace korvane {

// Sent in place of a write whose value a SET button refuses.
inline constexpr std::string_view kRejectionNotice = ":=SG#";

// One-shot operating buttons: each sends its commands in order, then moves its lamps (if any)
// whether or not the port was open.
struct OperationButton {
  int button;  // CommandN
  std::string_view caption;
  std::array<std::string_view, 2> commands;  // the second is empty but for the guide speed
  LampPair lamps;                            // first turns magenta, second teal
};

// clang-format off
inline constexpr std::array<OperationButton, 19> kOperationButtons{{
  { 1, "赤経+",       {":TA#", ""},      {1, 2}},
  { 2, "赤経-",       {":TB#", ""},      {2, 1}},
  { 3, "赤緯+",       {":TC#", ""},      {3, 4}},
  { 4, "赤緯-",       {":TD#", ""},      {4, 3}},
  {10, "ON",          {":Te#", ""},      {}},      // motor drive on
  { 9, "OFF",         {":Td#", ""},      {}},      // motor drive off
  { 8, "Limit ON",    {":TV#", ""},      {5, 6}},
  { 7, "Limit OFF",   {":TW#", ""},      {6, 5}},
  {27, "恒星時",      {":TQ#", ""},      {}},
  {26, "月",          {":TL#", ""},      {}},
  {25, "太陽",        {":TS#", ""},      {}},
  {24, "星景0.5x",    {":T0#", ""},      {}},
  {23, "+0.02Hz",     {":T+#", ""},      {}},
  {22, "-0.02Hz",     {":T-#", ""},      {}},
  {30, "ガイド×0.5",  {":=SD#", ":RG#"}, {}},
  {31, "微動×8",      {":RC#", ""},      {}},
  {32, "粗動×20",     {":RM#", ""},      {}},
  {33, "導入×48",     {":RS#", ""},      {}},
  {37, "GPS 再捕捉",  {":TJ#", ""},      {}},
}};
// clang-format on

// The direction buttons, by axis: the calculator resends the direction the lamps show.
inline constexpr int kRaPlusButton = 1, kRaMinusButton = 2, kDecPlusButton = 3, kDecMinusButton = 4;
inline constexpr int kRaPlusLamp = 1, kDecPlusLamp = 3;

// The row of an operating button; the table holds every button this is asked for.
constexpr const OperationButton& operationButton(int button) {
  for (const OperationButton& b : kOperationButtons) {
    if (b.button == button) return b;
  }
  return kOperationButtons.front();  // not reached for the buttons above
}

// Two-state controller options: switch, wait, read back, wait.
struct OptionRow {
  std::string_view label;
  std::string_view subtitle;
  int onButton, offButton;
  std::string_view onCommand, offCommand;
  int replyKind;  // its query and lamps come from the catalogue
};

// clang-format off
inline constexpr std::array<OptionRow, 4> kOptionRows{{
  {"恒星時運転子午線自動反転",   "Sidereal time Drive Meridian Flip:", 15, 16, ":SX95,1#", ":SX95,0#", 27},
  {"自動導入子午線自動反転",     "Goto Drive Meridian Flip: ",         21, 20, ":TX#",     ":TY#",     26},
  {"　子午線反転時動作一旦停止", "Goto Pause at Meridian: ",           17, 18, ":SX98,1#", ":SX98,0#", 28},
  {"自動導入時　ブザー音",       "Goto Alert, Buzzer",                 13, 14, ":SX97,1#", ":SX97,0#", 29},
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
inline constexpr double kCalculatorWaitMs = 500;

}  // namespace korvane
