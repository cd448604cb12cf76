#pragma once
// The controller's settings, one row each: where the window shows it, how it is read, how its
// reply is handled and which SET button writes it. Every handler looks settings up here instead
// of repeating queries, kinds or indices.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "protocol/controls.h"

namespace korvane {

inline constexpr int kNoField = -1;

enum class ReplyHandling : std::uint8_t {
  AsIs,           // the field takes the reply unchanged
  RangeChecked,   // dropped when LeadingNumber(reply) is above the limit
  SignInverted,   // the window shows the sign the other way round from the controller
  LastCharacter,  // the WiFi channel: the last character of the reply
  AsIsThenLamps,  // hidden field, then the lamp pair
  LampsOnly,      // only the lamp pair
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
  int setButton;  // Command6 index, -1 for none
};

// clang-format off
inline constexpr std::array<Setting, 32> kSettings{{
  // kind field            caption                    query       read handling                       limit   lamps     set
  { 1,  0,             "MaxRate",                 ":GXE1#",   0,  ReplyHandling::RangeChecked,    999,    {},       0},
  { 2,  1,             "赤経角度対ステップ",       ":GXE4#",   1,  ReplyHandling::RangeChecked,    200000, {},       1},
  { 3,  2,             "赤緯角度対ステップ",       ":GXE5#",   2,  ReplyHandling::RangeChecked,    200000, {},       2},
  { 4,  3,             "赤経ウォーム対ステップ",   ":GXE7#",   3,  ReplyHandling::RangeChecked,    200000, {},       3},
  { 5,  4,             "赤緯ウォーム対ステップ",   ":GXEE#",   4,  ReplyHandling::RangeChecked,    200000, {},       4},
  { 6,  5,             "観測地　経度",             ":Gg#",     5,  ReplyHandling::SignInverted,    0,      {},       11},
  { 7,  6,             "観測地　緯度",             ":Gt#",     6,  ReplyHandling::AsIs,            0,      {},       12},
  { 8,  7,             "UTC OFFSET（時差）",       ":GG#",     7,  ReplyHandling::SignInverted,    0,      {},       13},
  { 9,  8,             "バックラッシュ　赤経",     ":%BR#",    8,  ReplyHandling::AsIs,            0,      {},       9},
  {10,  9,             "バックラッシュ　赤緯",     ":%BD#",    9,  ReplyHandling::AsIs,            0,      {},       10},
  {11,  10,            "子午線　西側",             ":GXEA#",   10, ReplyHandling::AsIs,            0,      {},       8},
  {12,  11,            "子午線　東側",             ":GXE9#",   11, ReplyHandling::AsIs,            0,      {},       7},
  {13,  12,            "天頂",                     ":Go#",     12, ReplyHandling::AsIs,            0,      {},       6},
  {14,  13,            "地平線",                   ":Gh#",     13, ReplyHandling::AsIs,            0,      {},       5},
  {15,  14,            "日時",                     ":GX81#",   -1, ReplyHandling::AsIs,            0,      {},       -1},
  {16,  15,            "日時",                     ":GX80#",   -1, ReplyHandling::AsIs,            0,      {},       -1},
  {17,  16,            "赤経+ / 赤経-",            ":GXEF#",   -1, ReplyHandling::AsIsThenLamps,   0,      {1, 2},   -1},
  {18,  17,            "赤緯+ / 赤緯-",            ":GXEG#",   -1, ReplyHandling::AsIsThenLamps,   0,      {3, 4},   -1},
  {19,  18,            "Limit ON / Limit OFF",     ":GXEH#",   -1, ReplyHandling::AsIsThenLamps,   0,      {5, 6},   -1},
  {20,  19,            "",                         "",         -1, ReplyHandling::AsIs,            0,      {},       -1},
  {21,  20,            "HOMEポジション　高度",     ":G1#",     14, ReplyHandling::AsIs,            0,      {},       14},
  {22,  21,            "HOMEポジション　方位",     ":G2#",     15, ReplyHandling::AsIs,            0,      {},       15},
  {23,  kCombo3Index,  "チャンネル",               ":GXEL#",   -1, ReplyHandling::LastCharacter,   0,      {},       16},
  {24,  23,            "WIFI (AP) SSID",           ":GXEM#",   -1, ReplyHandling::AsIs,            0,      {},       17},
  {25,  24,            "WIFI (AP) PASSWORD",       ":GXEN#",   -1, ReplyHandling::AsIs,            0,      {},       18},
  {26,  kNoField,      "自動導入子午線自動反転",   ":GXEI#",   -1, ReplyHandling::LampsOnly,       0,      {7, 8},   -1},
  {27,  kNoField,      "恒星時運転子午線自動反転", ":GX95#",   -1, ReplyHandling::LampsOnly,       0,      {9, 10},  -1},
  {28,  kNoField,      "　子午線反転時動作一旦停止", ":GXEQ#", -1, ReplyHandling::LampsOnly,       0,      {11, 12}, -1},
  {29,  kNoField,      "自動導入時　ブザー音",     ":GXEP#",   -1, ReplyHandling::LampsOnly,       0,      {13, 14}, -1},
  {30,  22,            "WIFI (ST) SSID",           ":GXES#",   -1, ReplyHandling::AsIs,            0,      {},       19},
  {31,  25,            "WIFI (ST) PASSWORD",       ":GXET#",   -1, ReplyHandling::AsIs,            0,      {},       20},
  // every SET button sets this kind first, so that an answer to a write lands out of sight
  {100, 99,            "",                         "",         -1, ReplyHandling::AsIs,            0,      {},       -1},
}};
// clang-format on

inline constexpr std::int16_t kSetReplyKind = 100;

// The order in which "接続" sends its queries, by kind.
inline constexpr std::array<int, 30> kReadAllOrder{1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                   11, 12, 13, 14, 21, 22, 15, 17, 18, 19,
                                                   16, 23, 24, 25, 26, 27, 28, 29, 30, 31};

// How a SET button turns its field's text into a value.
enum class ValueForm : std::uint8_t {
  W,   // WholeNumber, written with NumberText
  L,   // LeadingNumber, written with NumberText
  Z3,  // "00" + W, its last three characters
  S,   // the sign inverted back, the rest as typed
  T,   // the text as typed, blanks at both ends removed
};

struct SetRow {
  int index;  // Command6 index
  int field;  // Text1 index or kCombo3Index
  ValueForm form;
  std::string_view prefix;
  bool ranged;  // rows 0..4: a value outside [low, high] sends the rejection notice instead
  double low, high;
};

// clang-format off
inline constexpr std::array<SetRow, 21> kSetRows{{
  { 0, 0,             ValueForm::W,  ":$PA",   true,  21,  500},
  { 1, 1,             ValueForm::W,  ":$PB",   true,  500, 200000},
  { 2, 2,             ValueForm::W,  ":$PC",   true,  500, 200000},
  { 3, 3,             ValueForm::W,  ":$PD",   true,  500, 200000},
  { 4, 4,             ValueForm::W,  ":$PE",   true,  500, 200000},
  { 5, 13,            ValueForm::L,  ":Sh",    false, 0,   0},
  { 6, 12,            ValueForm::L,  ":So",    false, 0,   0},
  { 7, 11,            ValueForm::W,  ":SXE9,", false, 0,   0},
  { 8, 10,            ValueForm::W,  ":SXEA,", false, 0,   0},
  { 9, 8,             ValueForm::Z3, ":$BR",   false, 0,   0},
  {10, 9,             ValueForm::Z3, ":$BD",   false, 0,   0},
  {11, 5,             ValueForm::S,  ":Sg",    false, 0,   0},
  {12, 6,             ValueForm::T,  ":St",    false, 0,   0},
  {13, 7,             ValueForm::S,  ":SG",    false, 0,   0},
  {14, 20,            ValueForm::L,  ":$PF",   false, 0,   0},
  {15, 21,            ValueForm::L,  ":$PG",   false, 0,   0},
  {16, kCombo3Index,  ValueForm::L,  ":$PH",   false, 0,   0},
  {17, 23,            ValueForm::T,  ":Sm",    false, 0,   0},
  {18, 24,            ValueForm::T,  ":Sn",    false, 0,   0},
  {19, 22,            ValueForm::T,  ":Sp",    false, 0,   0},
  {20, 25,            ValueForm::T,  ":Sq",    false, 0,   0},
}};
// clang-format on

// Rows up to this index send nothing for an empty field.
inline constexpr int kLastRowSkippingEmpty = 15;

// Lookups; nullptr when there is no such entry.
const Setting* settingByKind(int replyKind);
const Setting* settingByField(int text1Index);
const Setting* settingByReadButton(int command5Index);
const SetRow* setRowByIndex(int command6Index);

// The read-all sequence as settings, in sending order.
std::array<const Setting*, kReadAllOrder.size()> readAllSequence();

}  // namespace korvane
