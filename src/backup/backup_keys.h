#pragma once
// The settings a backup keeps, one stable ASCII key each, in the order "接続" reads them. A backup
// file names its values by these keys: once a file has been written with them they never change.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/catalogue.h"
#include "settings/set_command.h"

namespace korvane {

struct BackupKey {
  int replyKind;  // the catalogue row it stands for
  std::string_view key;
};

// clang-format off
inline constexpr std::array<BackupKey, kReadAllOrder.size()> kBackupKeys{{
  { 1, "max_rate"},
  { 2, "ra_steps_per_degree"},
  { 3, "dec_steps_per_degree"},
  { 4, "ra_steps_per_worm"},
  { 5, "dec_steps_per_worm"},
  { 6, "site_longitude"},
  { 7, "site_latitude"},
  { 8, "utc_offset"},
  { 9, "backlash_ra"},
  {10, "backlash_dec"},
  {11, "meridian_west"},
  {12, "meridian_east"},
  {13, "zenith_limit"},
  {14, "horizon_limit"},
  {21, "home_altitude"},
  {22, "home_azimuth"},
  {15, "controller_date"},
  {17, "ra_direction"},
  {18, "dec_direction"},
  {19, "limit_switch"},
  {16, "controller_time"},
  {23, "wifi_channel"},
  {24, "wifi_ap_ssid"},
  {25, "wifi_ap_password"},
  {26, "option_goto_meridian_flip"},
  {27, "option_sidereal_meridian_flip"},
  {28, "option_meridian_pause"},
  {29, "option_buzzer"},
  {30, "wifi_st_ssid"},
  {31, "wifi_st_password"},
}};
// clang-format on

inline constexpr std::size_t kBackupSettingCount = kBackupKeys.size();

// One value per kept setting, by position in kBackupKeys. A value is the text the window shows
// for it; a lamp pair is "1" when its first lamp (plus, ON) is lit and "0" when its second is.
using BackupValues = std::array<std::string, kBackupSettingCount>;

// The position of a key or of a reply kind in kBackupKeys; -1 when it is not kept.
int backupPositionOfKey(std::string_view key);
int backupPositionOfKind(int replyKind);

const Setting& backupSetting(std::size_t position);

// How the operator knows the setting: its caption and, in brackets, its key.
std::string backupSettingName(std::size_t position);

// How a kept setting goes back to the controller.
enum class RestoreWay {
  Never,      // the controller's date and time: kept for reference only
  SetButton,  // typed into its field and SET pressed
  Switch,     // a lamp pair: the button that lights the lamp the file names
};
RestoreWay restoreWay(std::size_t position);

// What the setting's SET button makes of the value; nothing for rows without a SET button.
SetOutcome backupSetOutcome(std::size_t position, std::string_view value);

// The command of the button that lights the first lamp of the pair (on) or the second.
std::string_view switchCommand(std::size_t position, bool on);

}  // namespace korvane
