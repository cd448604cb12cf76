#pragma once
// The controller's settings, one row each: where the window shows it, how it is read, how its
// reply is handled and which SET button writes it. Every handler looks settings up here instead
// of repeating queries, kinds or indices.

#include <algorithm>
#include <array>
#include <cstdint>
#include <ranges>
#include <span>
#include <string_view>

#include "protocol/controls.h"

namespace korvane {

inline constexpr int kNoField = -1;

// True when no two rows of a table hold the same value in a column: names and keys that the
// program looks rows up by must be distinct, and a static_assert says so when compiling.
template <typename Table, typename Column>
constexpr bool allDistinct(const Table& table, Column column) {
  for (auto a = table.begin(); a != table.end(); ++a) {
    for (auto b = a + 1; b != table.end(); ++b) {
      if ((*a).*column == (*b).*column) return false;
    }
  }
  return true;
}

enum class ReplyHandling : std::uint8_t {
  AsIs,            // the field takes the reply unchanged
  RangeChecked,    // dropped when LeadingNumber(reply) is above the limit
  SignInverted,    // the window shows the sign the other way round from the controller
  TrailingNumber,  // the WiFi channel: the number the reply ends in ("10"), else its last character
  AsIsThenLamps,   // hidden field, then the lamp pair
  LampsOnly,       // only the lamp pair
};

// Two lamps of a pair, by Shape number; the first stands for "plus" or "ON".
struct LampPair {
  int first = 0;
  int second = 0;
  constexpr bool exists() const { return first != 0; }
};

struct Setting {
  int replyKind;
  int field;  // Text1 index, kCombo3Index or kNoField
  std::string_view caption;
  std::string_view query;  // empty for the fields no query fills
  int readButton;          // Command5 index, -1 for none
  ReplyHandling handling;
  double replyLimit;  // inclusive upper limit of RangeChecked replies
  LampPair lamps;
  bool clearedOnDisconnect;  // "切断" empties the field
  // How a backup file names the setting. Files written with these keys must stay readable:
  // never change one.
  std::string_view key;
};

// clang-format off
inline constexpr std::array<Setting, 32> kSettings{{
  // kind field            caption                    query       read handling                       limit   lamps     cleared  backup key
  { 1,  0,             "MaxRate",                 ":GXE1#",   0,  ReplyHandling::RangeChecked,    999,    {},       true, "max_rate"},
  { 2,  1,             "赤経角度対ステップ",       ":GXE4#",   1,  ReplyHandling::RangeChecked,    200000, {},       true, "ra_steps_per_degree"},
  { 3,  2,             "赤緯角度対ステップ",       ":GXE5#",   2,  ReplyHandling::RangeChecked,    200000, {},       true, "dec_steps_per_degree"},
  { 4,  3,             "赤経ウォーム対ステップ",   ":GXE7#",   3,  ReplyHandling::RangeChecked,    200000, {},       true, "ra_steps_per_worm"},
  { 5,  4,             "赤緯ウォーム対ステップ",   ":GXEE#",   4,  ReplyHandling::RangeChecked,    200000, {},       true, "dec_steps_per_worm"},
  { 6,  5,             "観測地　経度",             ":Gg#",     5,  ReplyHandling::SignInverted,    0,      {},       true, "site_longitude"},
  { 7,  6,             "観測地　緯度",             ":Gt#",     6,  ReplyHandling::AsIs,            0,      {},       true, "site_latitude"},
  { 8,  7,             "UTC OFFSET（時差）",       ":GG#",     7,  ReplyHandling::SignInverted,    0,      {},       true, "utc_offset"},
  { 9,  8,             "バックラッシュ　赤経",     ":%BR#",    8,  ReplyHandling::AsIs,            0,      {},       true, "backlash_ra"},
  {10,  9,             "バックラッシュ　赤緯",     ":%BD#",    9,  ReplyHandling::AsIs,            0,      {},       true, "backlash_dec"},
  {11,  10,            "子午線　西側",             ":GXEA#",   10, ReplyHandling::AsIs,            0,      {},       true, "meridian_west"},
  {12,  11,            "子午線　東側",             ":GXE9#",   11, ReplyHandling::AsIs,            0,      {},       true, "meridian_east"},
  {13,  12,            "天頂",                     ":Go#",     12, ReplyHandling::AsIs,            0,      {},       true, "zenith_limit"},
  {14,  13,            "地平線",                   ":Gh#",     13, ReplyHandling::AsIs,            0,      {},       true, "horizon_limit"},
  {15,  14,            "日時",                     ":GX81#",   -1, ReplyHandling::AsIs,            0,      {},       true, "controller_date"},
  {16,  15,            "日時",                     ":GX80#",   -1, ReplyHandling::AsIs,            0,      {},       true, "controller_time"},
  {17,  16,            "赤経+ / 赤経-",            ":GXEF#",   -1, ReplyHandling::AsIsThenLamps,   0,      {1, 2},   true, "ra_direction"},
  {18,  17,            "赤緯+ / 赤緯-",            ":GXEG#",   -1, ReplyHandling::AsIsThenLamps,   0,      {3, 4},   true, "dec_direction"},
  {19,  18,            "Limit ON / Limit OFF",     ":GXEH#",   -1, ReplyHandling::AsIsThenLamps,   0,      {5, 6},   false, "limit_switch"},
  {20,  19,            "",                         "",         -1, ReplyHandling::AsIs,            0,      {},       false, {}},
  {21,  20,            "HOMEポジション　高度",     ":G1#",     14, ReplyHandling::AsIs,            0,      {},       true, "home_altitude"},
  {22,  21,            "HOMEポジション　方位",     ":G2#",     15, ReplyHandling::AsIs,            0,      {},       true, "home_azimuth"},
  {23,  kCombo3Index,  "チャンネル",               ":GXEL#",   -1, ReplyHandling::TrailingNumber,  0,      {},       true, "wifi_channel"},
  {24,  23,            "WIFI (AP) SSID",           ":GXEM#",   -1, ReplyHandling::AsIs,            0,      {},       true, "wifi_ap_ssid"},
  {25,  24,            "WIFI (AP) PASSWORD",       ":GXEN#",   -1, ReplyHandling::AsIs,            0,      {},       true, "wifi_ap_password"},
  {26,  kNoField,      "自動導入子午線自動反転",   ":GXEI#",   -1, ReplyHandling::LampsOnly,       0,      {7, 8},   false, "option_goto_meridian_flip"},
  {27,  kNoField,      "恒星時運転子午線自動反転", ":GX95#",   -1, ReplyHandling::LampsOnly,       0,      {9, 10},  false, "option_sidereal_meridian_flip"},
  {28,  kNoField,      "　子午線反転時動作一旦停止", ":GXEQ#", -1, ReplyHandling::LampsOnly,       0,      {11, 12}, false, "option_meridian_pause"},
  {29,  kNoField,      "自動導入時　ブザー音",     ":GXEP#",   -1, ReplyHandling::LampsOnly,       0,      {13, 14}, false, "option_buzzer"},
  {30,  22,            "WIFI (ST) SSID",           ":GXES#",   -1, ReplyHandling::AsIs,            0,      {},       true, "wifi_st_ssid"},
  {31,  25,            "WIFI (ST) PASSWORD",       ":GXET#",   -1, ReplyHandling::AsIs,            0,      {},       true, "wifi_st_password"},
  // every SET button sets this kind first, so that an answer to a write lands out of sight
  {100, 99,            "",                         "",         -1, ReplyHandling::AsIs,            0,      {},       false, {}},
}};
// clang-format on

inline constexpr std::int16_t kSetReplyKind = 100;

// The WiFi passwords' fields, "WIFI (AP) PASSWORD" and "WIFI (ST) PASSWORD": never shown outside
// the window and the backup file itself (the traffic log, the terminal, the comparison).
inline constexpr std::array<int, 2> kPasswordFields{24, 25};

// The order in which "接続" sends its queries, by kind.
inline constexpr std::array<int, 30> kReadAllOrder{1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                   11, 12, 13, 14, 21, 22, 15, 17, 18, 19,
                                                   16, 23, 24, 25, 26, 27, 28, 29, 30, 31};

// How a SET button turns its field's text into a value.
enum class ValueForm : std::uint8_t {
  WholeNumber,    // the whole text as a number, rounded down, written with NumberText
  LeadingNumber,  // the number the text starts with, written with NumberText
  ThreeDigits,    // a whole number as its last three digits, zero-padded ("5" -> "005")
  SignInverted,   // the sign turned back to the controller's, the rest as typed
  Typed,          // the text as typed, blanks at both ends removed
};

// The form in which the controller reports a setting, as the window then shows it: what a backup
// file may hold for it. A hand-edited file holding anything else is refused, even where the SET
// button would make some command of it ("abc" is a zenith limit of 0 to the leading number).
enum class Reported : std::uint8_t {
  Whole,        // digits only, from `least` to `most` ("010")
  SignedWhole,  // digits after an optional sign, at most `most` either way ("-5")
  Angle,        // an optional sign, degrees up to `most`, then minutes and seconds or a fraction
                // in any form a controller gives ("+139*44", "85*", "85:00:00", "35*40.5")
  Hours,        // a sign, hours up to `most`, optionally "." and tenths ("+09", "-3.5")
  Text,         // any text of at most `most` bytes: WiFi names 32, passwords 63
};
struct ReplyForm {
  Reported kind;
  double least, most;
};

struct SetRow {
  int index;  // Command6 index
  int field;  // Text1 index or kCombo3Index
  ValueForm form;
  std::string_view prefix;
  bool ranged;  // a value outside [low, high] sends the rejection notice instead
  double low, high;
  bool skipsEmpty;  // an empty field sends nothing; else a text row sends it empty, and a number
                    // row refuses it with a message (the channel box: empty is no channel)
  ReplyForm reported;
};

// The SET buttons keep the window's own names, which do not say what they write: Command6(i) is
// the i-th SET button in the order it was drawn, and its field is another number (Command6(9)
// writes Text1(8), Command6(5) Text1(13)); Command6(16) writes the channel box Combo3, which the
// tables call index -3 (kCombo3Index). The read buttons Command5(i) read Text1(i) but for
// Command5(14) and (15), the home position, Text1(20) and (21).
// clang-format off
inline constexpr std::array<SetRow, 21> kSetRows{{
  // SET field        form                      prefix    ranged low  high    skipsEmpty  reported (low, high)
  { 0, 0,             ValueForm::WholeNumber,   ":$PA",   true,  21,  500,    true, {Reported::Whole, 0, 999}},
  { 1, 1,             ValueForm::WholeNumber,   ":$PB",   true,  500, 200000, true, {Reported::Whole, 0, 200000}},
  { 2, 2,             ValueForm::WholeNumber,   ":$PC",   true,  500, 200000, true, {Reported::Whole, 0, 200000}},
  { 3, 3,             ValueForm::WholeNumber,   ":$PD",   true,  500, 200000, true, {Reported::Whole, 0, 200000}},
  { 4, 4,             ValueForm::WholeNumber,   ":$PE",   true,  500, 200000, true, {Reported::Whole, 0, 200000}},
  { 5, 13,            ValueForm::LeadingNumber, ":Sh",    false, 0,   0,      true, {Reported::Angle, 0, 90}},
  { 6, 12,            ValueForm::LeadingNumber, ":So",    false, 0,   0,      true, {Reported::Angle, 0, 90}},
  { 7, 11,            ValueForm::WholeNumber,   ":SXE9,", false, 0,   0,      true, {Reported::SignedWhole, 0, 999}},
  { 8, 10,            ValueForm::WholeNumber,   ":SXEA,", false, 0,   0,      true, {Reported::SignedWhole, 0, 999}},
  { 9, 8,             ValueForm::ThreeDigits,   ":$BR",   false, 0,   0,      true, {Reported::Whole, 0, 999}},
  {10, 9,             ValueForm::ThreeDigits,   ":$BD",   false, 0,   0,      true, {Reported::Whole, 0, 999}},
  {11, 5,             ValueForm::SignInverted,  ":Sg",    false, 0,   0,      true, {Reported::Angle, 0, 180}},
  {12, 6,             ValueForm::Typed,         ":St",    false, 0,   0,      true, {Reported::Angle, 0, 90}},
  {13, 7,             ValueForm::SignInverted,  ":SG",    false, 0,   0,      true, {Reported::Hours, 0, 14}},
  {14, 20,            ValueForm::LeadingNumber, ":$PF",   false, 0,   0,      true, {Reported::Angle, 0, 90}},
  {15, 21,            ValueForm::LeadingNumber, ":$PG",   false, 0,   0,      true, {Reported::Angle, 0, 360}},
  {16, kCombo3Index,  ValueForm::LeadingNumber, ":$PH",   false, 0,   0,      false, {Reported::Whole, 0, 10}},
  {17, 23,            ValueForm::Typed,         ":Sm",    false, 0,   0,      false, {Reported::Text, 0, 32}},
  {18, 24,            ValueForm::Typed,         ":Sn",    false, 0,   0,      false, {Reported::Text, 0, 63}},
  {19, 22,            ValueForm::Typed,         ":Sp",    false, 0,   0,      false, {Reported::Text, 0, 32}},
  {20, 25,            ValueForm::Typed,         ":Sq",    false, 0,   0,      false, {Reported::Text, 0, 63}},
}};
// clang-format on
static_assert(std::ranges::equal(kSetRows, std::views::iota(0, 21), {}, &SetRow::index),
              "the SET rows are in button order");

// The caption of the setting a field shows, for the window's labels; a field the catalogue does
// not have does not compile.
constexpr std::string_view fieldCaption(int text1Index) {
  const auto it = std::ranges::find(kSettings, text1Index, &Setting::field);
  if (it == kSettings.end()) throw "no setting shows this field";
  return it->caption;
}

// Lookups; nullptr when there is no such row.
const Setting* settingByKind(int replyKind);
const Setting* settingByField(int text1Index);
const SetRow* setRowByIndex(int command6Index);
const SetRow* setRowByField(int text1Index);

// The read-all sequence as settings, in sending order.
std::array<const Setting*, kReadAllOrder.size()> readAllSequence();

}  // namespace korvane
