// Backup, compare and restore on the virtual clock: what goes on the wire, when, and what is kept.

#include "app/backup_sequences.h"

#include <gtest/gtest.h>

#include <map>

#include "files/journal.h"
#include "files/local_file.h"
#include "kit/virtual_kit.h"
#include "unit/backup_values.h"

namespace korvane {
namespace {

using kit::Rig;
using kit::Writes;

// A controller that answers what a test scripts, in place of the simulator's model: each query
// its answer after `delay` ms (or its own delay), an unknown query nothing.
struct FakeController {
  std::map<std::string, std::string, std::less<>> answers;
  std::map<std::string, double, std::less<>> delayFor;
  double delay = 50;
  explicit FakeController(Rig& rig) {
    rig.port.onWrite = [this, &rig](std::string_view bytes) {
      const auto it = answers.find(bytes);
      if (it == answers.end()) return;
      const auto own = delayFor.find(bytes);
      rig.loop.after(own == delayFor.end() ? delay : own->second,
                     [&rig, reply = it->second + "#"] { rig.receive(reply); });
    };
  }
};

// The read of every setting, in the order "接続" reads (written out here once, so that a change to
// the catalogue's order shows).
const std::array<const char*, 30> kReadAllQueries{
    ":GXE1#", ":GXE4#", ":GXE5#", ":GXE7#", ":GXEE#", ":Gg#",   ":Gt#",   ":GG#",
    ":%BR#",  ":%BD#",  ":GXEA#", ":GXE9#", ":Go#",   ":Gh#",   ":G1#",   ":G2#",
    ":GX81#", ":GXEF#", ":GXEG#", ":GXEH#", ":GX80#", ":GXEL#", ":GXEM#", ":GXEN#",
    ":GXEI#", ":GX95#", ":GXEQ#", ":GXEP#", ":GXES#", ":GXET#"};

std::size_t at(std::string_view key) {
  return static_cast<std::size_t>(backupPositionOfKey(key));
}
std::string query(std::size_t position) {
  return std::string(backupSetting(position).query);
}

// The controller's answer that makes the window show `value`: the two sign-inverted fields the
// other way round; everything else as it stands (a one-character channel, a lamp's 0 or 1).
std::string answerFor(std::size_t position, const std::string& value) {
  if (backupSetting(position).handling != ReplyHandling::SignInverted) return value;
  return (value.front() == '+' ? "-" : "+") + value.substr(1);
}

void answerAll(FakeController& ctl, const BackupValues& values) {
  for (std::size_t i = 0; i < values.size(); ++i) ctl.answers[query(i)] = answerFor(i, values[i]);
}

// A backup reads every setting as "接続" does and saves it for its owner only, or writes no file
// and says why.
TEST(Backup, ReadsEverySettingAsConnectDoesOrWritesNoFileAndSaysWhy) {
  struct Case {
    const char* name;
    std::function<void(Rig&, FakeController&)> fault;
    int stopAfter;  // the progress callback answers false after this many; 0: never
    BackupTrouble trouble;
    std::size_t queries;
    const char* named;  // a part of the message: a key, or what went wrong
    const char* file = "backup.ini";
  };
  const Case cases[] = {
      {"whole", [](Rig&, FakeController&) {}, 0, BackupTrouble::None, 30, "30 件"},
      {"silent", [](Rig&, FakeController& c) { c.answers.erase(":GXEH#"); }, 0,
       BackupTrouble::Unanswered, 30, "limit_switch"},
      // Refused as it came: the message shows what the controller said.
      {"dropped as out of range", [](Rig&, FakeController& c) { c.answers[":GXE1#"] = "1000"; }, 0,
       BackupTrouble::Unanswered, 30, "max_rate）: 「1000」"},
      {"an offset without its sign", [](Rig&, FakeController& c) { c.answers[":GG#"] = "9"; }, 0,
       BackupTrouble::Unanswered, 30, "utc_offset）: 「9」"},
      // A "#" alone after each answer keeps the line alive, and blanks nothing.
      {"keep-alive",
       [](Rig&, FakeController& c) {
         for (auto& a : c.answers) a.second += "#";
       },
       0, BackupTrouble::None, 30, "30 件"},
      // Later than the pause: still awaited, and filed under its own setting.
      {"late", [](Rig&, FakeController& c) { c.delayFor[":GXE4#"] = 500; }, 0, BackupTrouble::None,
       30, "30 件"},
      {"shown but not writable", [](Rig&, FakeController& c) { c.answers[":GXE1#"] = "600"; }, 0,
       BackupTrouble::Unstorable, 30, "max_rate"},
      // Not UTF-8: saved, it would give back U+FFFD in place of the controller's bytes.
      {"not UTF-8", [](Rig&, FakeController& c) { c.answers[":GXES#"] = "Home\xff"; }, 0,
       BackupTrouble::Unstorable, 30, "wifi_st_ssid"},
      {"cancelled", [](Rig&, FakeController&) {}, 3, BackupTrouble::Cancelled, 3, "中止"},
      {"port lost", [](Rig& r, FakeController&) { r.loop.at(1000, [&r] { r.form.Port_Lost(); }); },
       0, BackupTrouble::PortLost, 3, "通信"},
      {"not connected", [](Rig& r, FakeController&) { r.port.close(); }, 0,
       BackupTrouble::NotConnected, 0, "接続"},
      // Known before the read: no query at all.
      {"no such folder", [](Rig&, FakeController&) {}, 0, BackupTrouble::WriteFailed, 0,
       "missing/backup.ini\n保存先のフォルダーがありません。", "missing/backup.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.open();
    FakeController ctl(rig);
    answerAll(ctl, test::everySetting().values);
    c.fault(rig, ctl);
    const auto path = rig.dir.path / c.file;
#ifndef _WIN32  // the file chosen is a link: the save lands in the file it names
    if (c.trouble == BackupTrouble::None) std::filesystem::create_symlink("saved.ini", path);
#endif
    int told = 0;
    const BackupSaveResult result = rig.form.Backup_Save(path, [&](int n, int all) {
      EXPECT_EQ(std::pair(n, all), std::pair(++told, 30));
      return c.stopAfter == 0 || n < c.stopAfter;
    });
    EXPECT_EQ(result.trouble, c.trouble);
    EXPECT_NE(result.message.find(c.named), std::string::npos) << result.message;
    ASSERT_EQ(rig.port.writes.size(), c.queries);
    if (c.trouble != BackupTrouble::None) {
      EXPECT_FALSE(std::filesystem::exists(path));
      continue;
    }
    // Paced as "接続" paces its queries (one answer 100 ms late moves the rest by as much).
    const double late = std::string_view(c.name) == "late" ? 100 : 0;
    for (std::size_t i = 0; i < c.queries; ++i) {
      EXPECT_EQ(rig.port.writes[i], (std::pair{400.0 * double(i) + (i > 1 ? late : 0),
                                               std::string(kReadAllQueries[i])}));
    }
    EXPECT_EQ(rig.loop.nowMs, 12000 + late);  // the last answer is waited for as well
#ifndef _WIN32  // Windows has no permission bits: a file in the user's folder is the user's
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_symlink(path));
#endif
    const auto parsed = Parse_Backup(ReadLocalFile(path).value_or(""));
    ASSERT_TRUE(std::holds_alternative<BackupFile>(parsed));
    BackupFile expected = test::everySetting();  // header: 2026-07-05 21:00:00
    expected.header.toolVersion = KORVANE_VERSION;
    expected.header.port = ComName(rig.port.number());
    EXPECT_EQ(std::get<BackupFile>(parsed), expected);
  }
}

// Every two-state setting answered in words or not at all: a backup takes no guess at any.
TEST(Backup, NoTwoStateSettingIsGuessedFromAnAnswerThatIsNoNumber) {
  for (std::size_t position = 0; position < kBackupSettingCount; ++position) {
    if (restoreWay(position) != RestoreWay::Switch) continue;
    for (const char* answer : {"ON", "OFF", ""}) {
      Rig rig;
      rig.open();
      FakeController ctl(rig);
      answerAll(ctl, test::everySetting().values);
      ctl.answers[query(position)] = answer;
      const BackupReading reading = rig.form.Backup_Read(nullptr);
      EXPECT_EQ(reading.trouble, BackupTrouble::Unstorable) << kBackupKeys[position].key << answer;
      const std::string named = std::string(kBackupKeys[position].key) + "）: 「" + answer + "」";
      EXPECT_NE(reading.message.find(named), std::string::npos) << reading.message;
    }
  }
}

// The comparison's cells and a written row's result, as both windows show them: a password
// hidden whether it differs or not, a control byte escaped, the value now held after a difference.
TEST(CompareTable, CellsAndResultsShowValuesAsTheTerminalDoes) {
  BackupComparison c;
  c.file = test::everySetting();
  c.controller = c.file.values;
  c.controller[at("wifi_st_password")] = "other";
  c.controller[at("wifi_ap_ssid")] = "A\x01";
  c.rows = Compare_Backup(c.controller, c.file.values);
  using Cells = std::array<std::string, 4>;
  EXPECT_EQ(CompareCells(c, c.rows[at("wifi_st_password")]),
            (Cells{"WIFI (ST) PASSWORD（wifi_st_password）", "********", "********", "違う"}));
  EXPECT_EQ(CompareCells(c, c.rows[at("wifi_ap_ssid")])[1], "A\\x01");
  EXPECT_EQ(CompareCells(c, c.rows[at("max_rate")])[3], "");
  const std::pair<RestoreRow, std::string> results[] = {
      {{at("max_rate"), ":$PA400#", true, "400", true}, "一致"},
      {{at("max_rate"), ":$PA400#", true, "300", false}, "今の値: 300"},
      {{at("wifi_ap_password"), ":Sqx#", true, "y", false}, "今の値: ********"},
      {{at("max_rate"), ":$PA400#", true, std::nullopt, false}, "読み返せませんでした"},
      {{at("max_rate"), ":$PA400#", false, std::nullopt, false}, "書き込めませんでした"}};
  for (const auto& [row, shown] : results) EXPECT_EQ(RestoredCell(row), shown);
}

TEST(Restore, WritesOnlyTheChosenRowsEachReadBackHalfASecondAfterItsWrite) {
  Rig rig;
  rig.open();
  FakeController ctl(rig);
  const BackupFile file = test::everySetting();
  const auto path = rig.dir.path / "backup.ini";
  ASSERT_TRUE(WriteLocalFile(path, Format_Backup(file)));
  BackupValues now = file.values;
  now[at("max_rate")] = "300";
  now[at("ra_direction")] = "0";
  now[at("horizon_limit")] = "10";  // writes what "10*00" writes: not a difference
  now[at("controller_time")] = "23:59:59";
  now[at("wifi_ap_ssid")] = "OLD";
  now[at("option_buzzer")] = "0";
  answerAll(ctl, now);
  // Writes take effect, but for the SSID, which this controller keeps.
  struct Seen {
    int kind;
    bool busy, enabled;
  };
  std::vector<Seen> seen;
  rig.port.onWrite = [&, answer = rig.port.onWrite](std::string_view bytes) {
    seen.push_back({rig.form.ReplyKind(), rig.panel.busy, rig.panel.isEnabled(kForm1)});
    for (std::size_t i = 0; i < file.values.size(); ++i) {
      if (RestoreCommand(i, file.values[i]) == bytes && i != at("wifi_ap_ssid")) {
        ctl.answers[query(i)] = answerFor(i, file.values[i]);
      }
    }
    answer(bytes);
  };

  const BackupComparison comparison = rig.form.Backup_Compare(path, nullptr);
  ASSERT_EQ(comparison.trouble, BackupTrouble::None) << comparison.message;
  const std::vector<std::size_t> differing{at("max_rate"), at("ra_direction"), at("wifi_ap_ssid"),
                                           at("option_buzzer")};
  EXPECT_EQ(comparison.differing, differing);
  EXPECT_TRUE(comparison.rows[at("controller_time")].differs);

  std::vector<std::size_t> chosen = differing;
  chosen.push_back(at("controller_date"));  // never written
  const RestoreReport report = rig.form.Backup_Restore(comparison.file, chosen);
  EXPECT_EQ(Writes(rig.port.writes.begin() + 30, rig.port.writes.end()),
            (Writes{{12000, ":$PA400#"},
                    {12500, ":GXE1#"},
                    {12900, ":TA#"},
                    {13400, ":GXEF#"},
                    {13800, ":SmKORVANE AP#"},
                    {14300, ":GXEM#"},
                    {14700, ":SX97,1#"},
                    {15200, ":GXEP#"}}));
  EXPECT_EQ(rig.loop.nowMs, 15600);
  for (std::size_t i = 30; i < 38; ++i) {
    if (i % 2 == 0) {
      EXPECT_EQ(seen[i].kind, kSetReplyKind);  // the writes
    }
    EXPECT_TRUE(seen[i].busy);
    EXPECT_FALSE(seen[i].enabled);
  }
  EXPECT_FALSE(rig.panel.busy);
  EXPECT_TRUE(rig.panel.isEnabled(kForm1));

  ASSERT_EQ(report.rows.size(), 4u);
  EXPECT_EQ(report.trouble, BackupTrouble::None);
  EXPECT_EQ(report.written(), 4);
  EXPECT_EQ(report.matching(), 3);
  EXPECT_FALSE(report.rows[2].matches);
  EXPECT_EQ(report.rows[2].now, "OLD");
  EXPECT_EQ(report.summary, "4 件を書き込み、3 件が一致しました。");
  // The journal: each written setting with what the comparison read before and what came back.
  std::vector<std::string> journaled;
  for (const JournalEntry& e : ReadJournal(rig.dir.path).entries)
    journaled.push_back(e.key + "|" + e.before + "|" + e.sent + "|" + e.readBack);
  EXPECT_EQ(journaled,
            (std::vector<std::string>{"max_rate|300|400|400", "ra_direction|0|1|1",
                                      "wifi_ap_ssid|OLD|KORVANE AP|OLD", "option_buzzer|0|1|1"}));

  // The line lost during the read-back: the report says so, not only that rows did not match.
  rig.loop.at(rig.loop.nowMs + 2100, [&] { rig.form.Port_Lost(); });  // after the 4 writes
  EXPECT_EQ(rig.form.Backup_Restore(comparison.file, differing).trouble, BackupTrouble::PortLost);
}

// A compare that cannot go on says why: a refused or missing file before any query, a setting
// that does not answer after the read.
// A restore that would change the steps per degree or per worm asks first, naming the values,
// and both mounts when they differ; a restore of anything else does not ask.
TEST(Restore, AMountsStepsChangeOnlyWhenTheOperatorSaysSo) {
  struct Case {
    const char* key;  // the setting the controller holds otherwise, and its value there
    const char* value;
    const char* mount;  // the connected mount's name
    MessageButton answer;
    std::vector<const char*> named;  // empty: no question
  } const cases[] = {
      {"ra_steps_per_worm",
       "11520",
       "EQ-B",
       MessageButton::Cancel,
       {"ra_steps_per_worm", "11520 → 5333", "「KORVANE AP」", "「EQ-B」"}},
      {"dec_steps_per_degree", "2560", "KORVANE AP", MessageButton::Ok, {"dec_steps_per_degree"}},
      {"max_rate", "300", "EQ-B", MessageButton::Cancel, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Rig rig;
    rig.open();
    FakeController ctl(rig);
    const BackupFile file = test::everySetting();
    const auto path = rig.dir.path / "backup.ini";
    ASSERT_TRUE(WriteLocalFile(path, Format_Backup(file)));
    BackupValues now = file.values;
    now[at(c.key)] = c.value;
    now[at("wifi_ap_ssid")] = c.mount;
    answerAll(ctl, now);
    const BackupComparison comparison = rig.form.Backup_Compare(path, nullptr);
    EXPECT_NE(CompareSummary(comparison).find(std::string("「") + c.mount + "」"),
              std::string::npos);
    rig.op.answer = c.answer;
    rig.port.writes.clear();
    const RestoreReport report = rig.form.Backup_Restore(comparison, comparison.differing);
    ASSERT_EQ(rig.op.messages.size(), c.named.empty() ? 0u : 1u);
    for (const char* name : c.named)
      EXPECT_NE(rig.op.messages[0].text.find(name), std::string::npos) << name;
    if (c.named.size() == 1) {  // the same mount: no word of another
      EXPECT_EQ(rig.op.messages[0].text.find("接続中"), std::string::npos);
    }
    const bool writes = c.answer == MessageButton::Ok || c.named.empty();
    EXPECT_EQ(report.written(), writes ? int(comparison.differing.size()) : 0);
    EXPECT_EQ(rig.port.writes.empty(), !writes);
  }
}

TEST(Restore, ACompareThatCannotGoOnSaysWhyAndWritesNothing) {
  std::string refused = Format_Backup(test::everySetting());
  refused.replace(refused.find("wifi_ap_ssid=KORVANE AP"), 23, "wifi_ap_ssid=x#:Te");
  const std::string whole = Format_Backup(test::everySetting());
  const std::string huge = whole + "; " + std::string(kBackupFileLimit, 'x') + "\n";
  struct Case {
    const char* file;  // nullptr: no file at all
    BackupTrouble trouble;
    std::size_t writes;
    const char* named;
  } const cases[] = {{refused.c_str(), BackupTrouble::FileRefused, 0, "31 行目"},
                     {nullptr, BackupTrouble::FileRefused, 0, "読めません"},
                     {huge.c_str(), BackupTrouble::FileRefused, 0, "64 KiB"},
                     {whole.c_str(), BackupTrouble::Unanswered, 30, "limit_switch"}};
  for (const Case& c : cases) {
    Rig rig;
    rig.open();
    FakeController ctl(rig);
    answerAll(ctl, test::everySetting().values);
    ctl.answers.erase(":GXEH#");
    const auto path = rig.dir.path / "backup.ini";
    ASSERT_TRUE(!c.file || WriteLocalFile(path, c.file));
    const BackupComparison comparison = rig.form.Backup_Compare(path, nullptr);
    EXPECT_EQ(comparison.trouble, c.trouble) << c.named;
    EXPECT_NE(comparison.message.find(c.named), std::string::npos) << comparison.message;
    EXPECT_EQ(rig.port.writes.size(), c.writes);
    EXPECT_TRUE(comparison.differing.empty()) << "nothing to restore from";
  }
}

}  // namespace
}  // namespace korvane
