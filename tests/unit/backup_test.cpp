#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/backup_file.h"
#include "backup/restore_plan.h"
#include "unit/backup_values.h"

namespace korvane {
namespace {

using test::everySetting;

// The formatted text with one line (counted from 1) replaced.
std::string withLine(int number, std::string_view replacement) {
  const std::string text = Format_Backup(everySetting());
  std::size_t start = 0;
  for (int i = 1; i < number; ++i) start = text.find('\n', start) + 1;
  const std::size_t end = text.find('\n', start);
  return text.substr(0, start) + std::string(replacement) + text.substr(end);
}

TEST(BackupFile, EverySettingComesBackExactlyWithEitherLineEnd) {
  const std::string text = Format_Backup(everySetting(), "\n");
  EXPECT_NE(text.find("\n[settings]\nmax_rate=400\nra_steps_per_degree=2133\n"), std::string::npos);
  EXPECT_NE(text.find("\nwifi_ap_password=a,b=c;d \n"), std::string::npos);
  const std::string crlf = Format_Backup(everySetting(), "\r\n");
  // Our comment on top as an editor saves it in Shift_JIS ("ｾｯﾃｲ" one byte each).
  const std::string shiftJis =
      "; Korvane \xBE\xAF\xC3\xB2 controller settings." + crlf.substr(crlf.find('\r'));
  // The comment on top is ours; a file without it (its first line "[backup]") reads the same,
  // and so does one written before the mount had a name: its access point's SSID names it.
  const std::string unnamed = withLine(6, "; mount=");
  for (const std::string& file :
       {text, crlf, "\xEF\xBB\xBF" + text, text.substr(text.find('\n') + 1), shiftJis, unnamed}) {
    const auto parsed = Parse_Backup(file);
    ASSERT_TRUE(std::holds_alternative<BackupFile>(parsed))
        << std::get<BackupFileError>(parsed).message;
    EXPECT_EQ(std::get<BackupFile>(parsed), everySetting());
  }
#ifdef _WIN32
  EXPECT_EQ(Format_Backup(everySetting()), crlf);  // as Notepad writes its files
#else
  EXPECT_EQ(Format_Backup(everySetting()), text);
#endif
}

TEST(BackupFile, ARefusedFileNamesItsLine) {
  // Line 1 is a comment, 2 "[backup]", 3..6 its keys, 7 blank, 8 "[settings]", 9 max_rate,
  // 15 backlash_dec ... 38 wifi_st_password.
  struct Case {
    std::string text;
    int line;
    std::string said;  // a part of the message
  };
  const Case cases[] = {
      {withLine(10, "; gone"), 8, "ra_steps_per_degree"},
      {withLine(13, "utc_ofset=+09"), 13, "utc_ofset"},
      {withLine(38, "max_rate=400"), 38, "9 行目"},
      {withLine(9, "max_rate=600"), 9, "21 から 500 までの整数"},
      {withLine(9, "max_rate=1000"), 9, "21 から 500 までの整数"},
      {withLine(9, "max_rate=fast"), 9, "max_rate"},
      {withLine(12, "site_longitude=139*44"), 12, "site_longitude"},
      {withLine(31, "wifi_ap_ssid=x#:Te"), 31, "「#」「:」"},
      {withLine(29, "controller_time=20#00"), 29, "「#」"},
      {withLine(15, "site_latitude=+35:40"), 15, "「:」"},  // typed: it would end ":St"
      {withLine(26, "ra_direction=2"), 26, "0 か 1"},
      {withLine(32, "wifi_ap_password=a\037b"), 32, "制御文字"},
      // Only values in the form the controller reports, where SET would still send something.
      {withLine(21, "zenith_limit=abc"), 21, "90 度までの角度"},
      {withLine(15, "site_latitude=   "), 15, "site_latitude"},
      {withLine(17, "backlash_ra=1000"), 17, "0 から 999 までの整数"},
      {withLine(14, "site_longitude=+abc"), 14, "180 度"},
      {withLine(16, "utc_offset=+9x"), 16, "時差"},
      {withLine(30, "wifi_channel="), 30, "0 から 10"},
      {withLine(38, "wifi_st_password=" + std::string(64, 'p')), 38, "「********」 は 63 バイト"},
      {withLine(7, "; a\x7f comment"), 7, "制御文字"},
      {withLine(37, "wifi_st_ssid=\xE6\x98"), 37, "UTF-8"},
      {withLine(1, "max_rate=400"), 1, "節"},
      {withLine(2, "; no header"), 3, "節"},
      {withLine(7, "tool_version 4.1"), 7, "キー=値"},
      {withLine(7, "[extra]"), 7, "extra"},
      {withLine(8, "").substr(0, withLine(8, "").find("\nmax_rate")), 0, "[settings]"},
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

// An angle in every form a controller reports it, and channel 0, restore as SET writes them.
TEST(BackupFile, KeepsEveryFormTheControllerReportsAndRestoresItAsSetWrites) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"zenith_limit=85*", ":So85#"}, {"horizon_limit=-05*", ":Sh-5#"}, {"zenith_limit=85*00'00", ":So85#"},
      {"zenith_limit=85:00:00", ":So85#"}, {"horizon_limit=10:00", ":Sh10#"}, {"home_altitude=45.5", ":$PF45.5#"},
      {"site_latitude=+35*40.5", ":St+35*40.5#"}, {"site_latitude=+35*40'10", ":St+35*40'10#"}, {"wifi_channel=0", ":$PH0#"}};
  // clang-format on
  for (const auto& [line, command] : cases) {
    const auto at = std::size_t(backupPositionOfKey(line.substr(0, line.find('='))));
    const auto parsed = Parse_Backup(withLine(9 + int(at), line));  // [settings] ends line 8
    const auto* file = std::get_if<BackupFile>(&parsed);
    EXPECT_EQ(file ? RestoreCommand(at, file->values[at]) : std::nullopt, command) << line;
  }
}

// What a restore writes for each setting the file has otherwise: its SET button's command, or the
// command of the button that lights the lamp the file names; equal values and the controller's
// clock write nothing.
TEST(BackupDiff, ListsTheDifferingSettingsInReadOrderWithTheirCommands) {
  const BackupValues file = everySetting().values;
  BackupValues controller = file;
  const std::pair<const char*, const char*> now[] = {
      {"max_rate", "300"},
      {"site_longitude", "+135*00"},
      {"horizon_limit", "10"},    // writes ":Sh10#" as "10*00" does: the same
      {"backlash_ra", "10"},      // ":$BR010#" as "010": the same
      {"meridian_east", "-5.5"},  // W rounds down: ":SXE9,-6#" against ":SXE9,-5#"
      {"controller_date", "01/01/26"},
      {"ra_direction", "0"},
      {"dec_direction", "1"},
      {"limit_switch", "0"},
      {"controller_time", "00:00:00"},
      {"wifi_channel", "7"},
      {"wifi_ap_ssid", " KORVANE AP "},  // blanks at the ends are not sent: the same
      {"option_goto_meridian_flip", "0"},
      {"option_sidereal_meridian_flip", "1"},
      {"wifi_st_password", "old"},
  };
  for (const auto& [key, value] : now) controller[backupPositionOfKey(key)] = value;

  std::vector<std::pair<std::string, std::string>> diff;
  for (const CompareRow& row : Diff_Backup(controller, file)) {
    diff.emplace_back(kBackupKeys[row.position].key, row.command);
  }
  const std::vector<std::pair<std::string, std::string>> expected{
      {"max_rate", ":$PA400#"},
      {"site_longitude", ":Sg-139*44#"},
      {"meridian_east", ":SXE9,-5#"},
      {"ra_direction", ":TA#"},
      {"dec_direction", ":TD#"},
      {"limit_switch", ":TV#"},
      {"wifi_channel", ":$PH6#"},
      {"option_goto_meridian_flip", ":TX#"},
      {"option_sidereal_meridian_flip", ":SX95,0#"},
      {"wifi_st_password", ":Sq#"},
  };
  EXPECT_EQ(diff, expected);

  const auto rows = Compare_Backup(controller, file);
  const CompareRow& date = rows[backupPositionOfKey("controller_date")];
  EXPECT_TRUE(date.differs);
  EXPECT_FALSE(date.restorable);
  EXPECT_EQ(RestoreCommand(backupPositionOfKey("option_buzzer"), "2"), std::nullopt);
  EXPECT_TRUE(Diff_Backup(file, file).empty());
  // As the terminal and the comparison show values: no password, no raw control byte.
  const std::size_t ssid = backupPositionOfKey("wifi_ap_ssid"),
                    pw = backupPositionOfKey("wifi_ap_password");
  EXPECT_EQ(ShownBackupValue(ssid, "a\tb\\é") + ShownBackupValue(pw, "pw") +
                ShownBackupValue(pw, "pw", true),
            "a\\x09b\\x5cé********pw");
}

}  // namespace
}  // namespace korvane
