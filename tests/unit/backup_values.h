#pragma once
// A backup of every kept setting with a value as the window would show it, the awkward ones
// included: a password with commas, "=" and a trailing blank, an empty one, an SSID in Japanese,
// the controller's time with its colons.

#include <string_view>
#include <utility>

#include "backup/backup_file.h"

namespace korvane::test {

inline BackupFile everySetting() {
  // clang-format off
  const std::pair<std::string_view, std::string_view> values[] = {
      {"max_rate", "400"},            {"ra_steps_per_degree", "2133"},
      {"dec_steps_per_degree", "2133"}, {"ra_steps_per_worm", "5333"},
      {"dec_steps_per_worm", "5333"}, {"site_longitude", "+139*44"},
      {"site_latitude", "+35*40"},    {"utc_offset", "+09"},
      {"backlash_ra", "010"},         {"backlash_dec", "010"},
      {"meridian_west", "15"},        {"meridian_east", "-5"},
      {"zenith_limit", "85*00"},      {"horizon_limit", "10*00"},
      {"home_altitude", "45*00"},     {"home_azimuth", "180*00"},
      {"controller_date", "11/03/25"}, {"ra_direction", "1"},
      {"dec_direction", "0"},         {"limit_switch", "1"},
      {"controller_time", "20:00:00"}, {"wifi_channel", "6"},
      {"wifi_ap_ssid", "KORVANE AP"}, {"wifi_ap_password", "a,b=c;d "},
      {"option_goto_meridian_flip", "1"}, {"option_sidereal_meridian_flip", "0"},
      {"option_meridian_pause", "0"}, {"option_buzzer", "1"},
      {"wifi_st_ssid", "\xE6\x98\x9F\xE7\xA9\xBA"}, {"wifi_st_password", ""},
  };
  // clang-format on
  BackupFile file{{"4.1", "2026-07-05 21:00:00", "COM3", "KORVANE AP"}, {}};
  for (const auto& [key, value] : values) {
    file.values.at(static_cast<std::size_t>(backupPositionOfKey(key))) = value;
  }
  return file;
}

}  // namespace korvane::test
