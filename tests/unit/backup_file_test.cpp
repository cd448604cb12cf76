#include "backup/backup_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

// Every kept setting with a value as the window would show it, the awkward ones included: a
// password with commas, "=" and a trailing blank, an empty one, an SSID in Japanese, the
// controller's time with its colons.
BackupFile everySetting() {
  return {{"4.1", "2026-07-05 21:00:00", "COM3"},
          {"400",
           "2133",
           "2133",
           "5333",
           "5333",
           "+139*44",
           "+35*40",
           "+09",
           "010",
           "010",
           "15",
           "-5",
           "85*00",
           "10*00",
           "45*00",
           "180*00",
           "11/03/25",
           "1",
           "0",
           "1",
           "20:00:00",
           "6",
           "KORVANE AP",
           "a,b=c;d ",
           "1",
           "0",
           "0",
           "1",
           "\xE6\x98\x9F\xE7\xA9\xBA",
           ""}};
}

// The formatted text with one line (counted from 1) replaced.
std::string withLine(int number, std::string_view replacement) {
  const std::string text = Format_Backup(everySetting());
  std::size_t start = 0;
  for (int i = 1; i < number; ++i) start = text.find('\n', start) + 1;
  const std::size_t end = text.find('\n', start);
  return text.substr(0, start) + std::string(replacement) + text.substr(end);
}

TEST(BackupFile, EverySettingComesBackExactlyWithEitherLineEnd) {
  const std::string text = Format_Backup(everySetting());
  EXPECT_NE(text.find("\n[settings]\nmax_rate=400\nra_steps_per_degree=2133\n"), std::string::npos);
  EXPECT_NE(text.find("\nwifi_ap_password=a,b=c;d \n"), std::string::npos);
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& file : {text, crlf, "\xEF\xBB\xBF" + text}) {
    const auto parsed = Parse_Backup(file);
    ASSERT_TRUE(std::holds_alternative<BackupFile>(parsed))
        << std::get<BackupFileError>(parsed).message;
    EXPECT_EQ(std::get<BackupFile>(parsed), everySetting());
  }
}

TEST(BackupFile, ARefusedFileNamesItsLine) {
  // Line 1 is a comment, 2 "[backup]", 3..5 its keys, 6 blank, 7 "[settings]", 8 max_rate,
  // 14 backlash_dec ... 37 wifi_st_password.
  struct Case {
    std::string text;
    int line;
    std::string said;  // a part of the message
  };
  const Case cases[] = {
      {withLine(9, "; gone"), 7, "ra_steps_per_degree"},
      {withLine(12, "utc_ofset=+09"), 12, "utc_ofset"},
      {withLine(37, "max_rate=400"), 37, "8 行目"},
      {withLine(8, "max_rate=600"), 8, "範囲外"},
      {withLine(8, "max_rate=fast"), 8, "max_rate"},
      {withLine(13, "backlash_ra="), 13, "何も送らない"},
      {withLine(11, "site_longitude=139*44"), 11, "site_longitude"},
      {withLine(30, "wifi_ap_ssid=x#:Te"), 30, "「#」「:」"},
      {withLine(30, "wifi_ap_ssid=x:Te"), 30, "「#」「:」"},
      {withLine(28, "controller_time=20#00"), 28, "「#」"},
      {withLine(21, "horizon_limit=10:00"), 21, "「:」"},
      {withLine(25, "ra_direction=2"), 25, "0 か 1"},
      {withLine(31, "wifi_ap_password=a\tb"), 31, "制御文字"},
      {withLine(31, "wifi_ap_password=a\rb"), 31, "制御文字"},
      {withLine(36, "wifi_st_ssid=\xE6\x98"), 36, "UTF-8"},
      {withLine(1, "max_rate=400"), 1, "節"},
      {withLine(6, "tool_version 4.1"), 6, "キー=値"},
      {withLine(6, "[extra]"), 6, "extra"},
      {withLine(6, "[settings"), 6, "]"},
      {withLine(6, "[settings]"), 7, "6 行目"},
      {withLine(2, "; no header"), 3, "節"},
      {withLine(7, "").substr(0, withLine(7, "").find("\nmax_rate")), 0, "[settings]"},
      {withLine(5, "; no port"), 2, "port"},
      {Format_Backup(everySetting()) + "; " + std::string(kBackupFileLimit, 'x') + "\n", 0,
       "64 KiB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const auto parsed = Parse_Backup(c.text);
    ASSERT_TRUE(std::holds_alternative<BackupFileError>(parsed));
    const BackupFileError& error = std::get<BackupFileError>(parsed);
    EXPECT_EQ(error.line, c.line);
    if (c.line > 0) {
      EXPECT_TRUE(error.message.starts_with(std::to_string(c.line) + " 行目: "));
    }
    EXPECT_NE(error.message.find(c.said), std::string::npos) << error.message;
  }
}

}  // namespace
}  // namespace korvane
