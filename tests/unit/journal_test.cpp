// The journal of settings written: the file (lines, damage, rotation, a crash between two
// appends) and the handlers that write it, on the virtual clock.

#include "files/journal.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>

#include "app/journal_shown.h"
#include "files/local_file.h"
#include "kit/virtual_kit.h"
#include "protocol/utf8.h"

namespace korvane {
namespace {

using kit::Rig;
using Strings = std::vector<std::string>;

const JournalEntry kEntry{"2026-12-07 21:14:05 +09:00",
                          "COM5",
                          "wifi_ap_ssid",
                          "WIFI (AP) SSID",
                          "a\tb\\c",
                          "new\nline",
                          "",
                          "EQ-A"};
const JournalEntry kRead{
    "2026-12-07 21:15:00 +09:00", "COM5", "max_rate", "MaxRate", "400", "450", "450", ""};

TEST(JournalFile, OneLineAnEntryDamagedLinesSkippedAndCounted) {
  const std::string line = FormatJournalLine(kEntry);
  EXPECT_EQ(line,
            "2026-12-07 21:14:05 +09:00\tCOM5\twifi_ap_ssid\tWIFI (AP) "
            "SSID\ta\\tb\\\\c\tnew\\nline\t\tEQ-A\n");
  // A journal begun before the mount column: its header, and its lines of seven fields, read on.
  const std::string older = "日時\tポート\t設定\t項目\t前の値\t送った値\t読み返した値\n";
  const std::string text =
      older + std::string(kJournalHeader) + line + "edited\tby hand\n" +  // too few fields
      "t\tp\tk\tc\tb\ts\tr\tm\textra\n" +                                 // too many
      "t\tp\tk\tc\tb\\x\ts\tr\n" +                                        // no such escape
      "t\tCOM1\tmax_rate\tMaxRate\t1\t2\t3\r\n" +  // a Windows editor's line end
      "\n" + line.substr(0, 20);                   // cut short by a crash
  const JournalRead read = ParseJournal(std::string(kUtf8ByteOrderMark) + text);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[0], kEntry);
  EXPECT_EQ(read.entries[1].readBack, "3");
  EXPECT_EQ(read.skipped, 4);
}

// As the terminal and both dialogs show an entry's value before, value sent and read-back.
TEST(JournalShown, HidesBothPasswordsUnlessAskedKeepingTheJournalsOwnWords) {
  using Values = std::array<std::string, 3>;
  // clang-format off
  const std::tuple<std::string, bool, Values, Values> cases[] = {
      {"wifi_ap_password", false, {"old", "new", "new"}, {"********", "********", "********"}},
      {"wifi_st_password", false, {"—", "new", "（応答なし）"}, {"—", "********", "（応答なし）"}},
      {"wifi_st_password", true, {"old", "new", "new"}, {"old", "new", "new"}},
      {"wifi_st_ssid", false, {"old", "new", "new"}, {"old", "new", "new"}}};
  // clang-format on
  for (const auto& [key, secrets, in, shown] : cases) {
    const auto e = ShownJournalEntry({"t", "p", key, "c", in[0], in[1], in[2], "m"}, secrets);
    EXPECT_EQ((Values{e.before, e.sent, e.readBack}), shown) << key << " " << in[0];
  }
}

// The dialog opens, and refills after a filter or an undo, with the newest shown entry chosen:
// the one "元に戻す" is pressed for.
TEST(JournalShown, ChoosesTheNewestEntryShownOrNone) {
  const std::vector<JournalEntry> entries{{"t1", "p", "max_rate", "c", "1", "2", "2", ""},
                                          {"t2", "p", "wifi_ap_ssid", "c", "a", "b", "b", ""},
                                          {"t3", "p", "max_rate", "c", "2", "3", "3", ""},
                                          {"t4", "p", "wifi_ap_ssid", "c", "b", "c", "c", ""}};
  const std::tuple<std::string, std::optional<std::string>> cases[] = {
      {"", "t4"}, {"max_rate", "t3"}, {"wifi_ap_ssid", "t4"}, {"slew_rate", std::nullopt}};
  for (const auto& [key, newest] : cases) {
    const std::vector<std::size_t> rows = JournalRows(entries, key);
    const std::optional<std::size_t> chosen = JournalChosenRow(rows);
    ASSERT_EQ(chosen.has_value(), newest.has_value()) << key;
    if (chosen) {
      EXPECT_EQ(entries[rows[*chosen]].time, *newest) << key;
    }
  }
}

TEST(JournalFile, BeginsWithItsHeaderAndKeepsOneOlderGenerationPastTheLimit) {
  const kit::TempDir dir;
  ASSERT_EQ(AppendJournal(dir.path, kEntry), std::nullopt);
  ASSERT_EQ(AppendJournal(dir.path, kEntry), std::nullopt);
  const auto file = dir.path / kJournalFileName;
  EXPECT_EQ(ReadLocalFile(file),
            std::string(kJournalHeader) + FormatJournalLine(kEntry) + FormatJournalLine(kEntry));
  // Filled to just under the limit: the next entry goes to a new file.
  const std::size_t lines =
      (kJournalLimit - std::filesystem::file_size(file)) / FormatJournalLine(kEntry).size();
  {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    for (std::size_t i = 0; i < lines; ++i) out << FormatJournalLine(kEntry);
  }
  JournalEntry last = kEntry;
  last.sent = "last";
  ASSERT_EQ(AppendJournal(dir.path, last), std::nullopt);
  EXPECT_LE(std::filesystem::file_size(dir.path / kJournalOlderFileName), kJournalLimit);
  EXPECT_EQ(ReadLocalFile(file), std::string(kJournalHeader) + FormatJournalLine(last));
  const JournalRead all = ReadJournal(dir.path);
  EXPECT_EQ(all.entries.size(), lines + 3);
  EXPECT_EQ(all.entries.back().sent, "last");
  EXPECT_EQ(all.skipped, 0);
}

// A write the disk cuts short leaves the file as it was, wherever the cut; the next append, once
// there is room, is read back whole.
TEST(JournalFile, AWriteCutShortLeavesTheFileAsItWas) {
  const std::uintmax_t whole = FormatJournalLine(kRead).size();
  for (const bool fresh : {true, false}) {
    for (const std::uintmax_t room : {std::uintmax_t{1}, whole / 2, whole - 1}) {
      SCOPED_TRACE((fresh ? "a new file, room " : "room ") + std::to_string(room));
      const kit::TempDir dir;
      const auto file = dir.path / kJournalFileName;
      if (!fresh)
        std::ofstream(file, std::ios::binary) << kJournalHeader << FormatJournalLine(kEntry);
      const std::string before = ReadLocalFile(file).value_or("");
      EXPECT_NE(AppendJournal(dir.path, kRead, room), std::nullopt);
      EXPECT_EQ(ReadLocalFile(file).value_or(""), before);
      ASSERT_EQ(AppendJournal(dir.path, kRead), std::nullopt);
      const JournalRead read = ReadJournal(dir.path);
      EXPECT_EQ(read.entries, (fresh ? std::vector{kRead} : std::vector{kEntry, kRead}));
      EXPECT_EQ(read.skipped, 0);
    }
  }
}

// A line a crash cut short, wherever the cut, stays one damaged line: never an entry, nor glued
// to the next.
TEST(JournalFile, ALineCutShortStaysDamagedAndTheNextEntryIsRead) {
  const std::string line = FormatJournalLine(kRead);
  // In the time; just after the last tab (as if not read back); in the value read back.
  for (const std::size_t cut : {std::size_t{20}, line.size() - 4, line.size() - 2}) {
    SCOPED_TRACE(cut);
    const kit::TempDir dir;
    std::ofstream(dir.path / kJournalFileName, std::ios::binary)
        << kJournalHeader << FormatJournalLine(kEntry) << line.substr(0, cut);
    ASSERT_EQ(AppendJournal(dir.path, kRead), std::nullopt);
    const JournalRead read = ReadJournal(dir.path);
    EXPECT_EQ(read.entries, (std::vector{kEntry, kRead}));
    EXPECT_EQ(read.skipped, 1);
  }
}

#ifndef _WIN32
// A writer killed between two appends leaves every line whole.
TEST(JournalFile, AWriterKilledBetweenTwoAppendsLeavesEveryLineWhole) {
  const kit::TempDir dir;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (;;) AppendJournal(dir.path, kEntry);
  }
  while (!std::filesystem::exists(dir.path / kJournalFileName) ||
         std::filesystem::file_size(dir.path / kJournalFileName) < 64 * 1024) {
    ::usleep(1000);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  const JournalRead read = ReadJournal(dir.path);
  EXPECT_GT(read.entries.size(), 100u);
  EXPECT_EQ(read.skipped, 0);
  for (const JournalEntry& e : read.entries) ASSERT_EQ(e, kEntry);
}

// Copies of the program appending at once across the limit: the full file becomes the older
// generation, once, and no entry is lost or refused.
TEST(JournalFile, CopiesOfTheProgramAtTheLimitMoveTheFileOnceAndLoseNoEntry) {
  constexpr int kPrograms = 6;
  // One long entry fills the file to just under the limit, so that the next entry moves it.
  JournalEntry filling = kEntry;
  filling.sent.assign(kJournalLimit - kJournalHeader.size() - FormatJournalLine(kEntry).size(),
                      'x');
  const std::string full = std::string(kJournalHeader) + FormatJournalLine(filling);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    const kit::TempDir dir;
    std::ofstream(dir.path / kJournalFileName, std::ios::binary) << full;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    for (int p = 0; p < kPrograms; ++p) {
      if (::fork() == 0) {
        ::close(go[1]);
        char c;
        (void)::read(go[0], &c, 1);  // every copy starts at once
        JournalEntry mine = kEntry;
        mine.port = "COM" + std::to_string(p);
        ::_exit(AppendJournal(dir.path, mine) ? 1 : 0);
      }
    }
    ::close(go[0]);
    ::close(go[1]);
    for (int status = 0, p = 0; p < kPrograms; ++p) {
      ASSERT_GT(::wait(&status), 0);
      EXPECT_EQ(status, 0);  // written
    }
    ASSERT_TRUE(ReadLocalFile(dir.path / kJournalOlderFileName, kJournalLimit) == full);
    ASSERT_EQ(ReadJournal(dir.path).entries.size(), 1u + kPrograms);
  }
}
#endif

// The handlers: which presses add which entries.
Strings journaled(const Rig& rig) {
  Strings out;
  for (const JournalEntry& e : ReadJournal(rig.dir.path).entries) {
    out.push_back(e.port + " " + e.key + " " + e.before + ">" + e.sent +
                  (e.readBack.empty() ? "" : " =" + e.readBack));
  }
  return out;
}

TEST(Journal, EachWriteOfASettingWithItsValueBeforeAndNothingElse) {
  Rig rig;
  rig.port.setNumber(7);
  rig.open();
  rig.panel.texts["Text1(0)"] = "450";
  rig.press("Command6(0)");  // MaxRate never read
  rig.press("Command5(0)");  // read: the controller now says 450
  rig.loop.drain();
  rig.panel.texts["Text1(0)"] = "300";
  rig.press("Command6(0)");
  rig.panel.texts["Text1(0)"] = "5000";  // out of range: the rejection notice, no setting
  rig.press("Command6(0)");
  rig.panel.texts["Text1(23)"] = "a#b";  // refused: nothing sent
  rig.press("Command6(17)");
  rig.op.messages.clear();
  for (const char* notSettings : {"Command34", "Command35", "Command22"}) rig.press(notSettings);
  rig.press("Command7");   // Limit OFF
  rig.press("Command14");  // buzzer OFF, read back
  rig.loop.drain();
  rig.press("Command1");  // RA direction +
  EXPECT_EQ(journaled(rig),
            (Strings{"COM7 max_rate —>450", "COM7 max_rate 450>300", "COM7 limit_switch —>0",
                     "COM7 option_buzzer —>0 =0", "COM7 ra_direction —>1"}));
  EXPECT_TRUE(rig.op.messages.empty());
}

TEST(Journal, RecordingThatStopsAndResumesIsToldOnceEachAndTheWritesGoOn) {
  Rig rig;
  std::filesystem::create_directory(rig.dir.path / kJournalFileName);  // no file can go there
  rig.open();
  std::pair<double, std::size_t> told;  // when, and after how many writes
  rig.op.whileShown = [&] { told = {rig.loop.nowMs, rig.port.writes.size()}; };
  rig.press("Command13");  // inside a conversation: told after it, not in its waits
  rig.panel.texts["Text1(0)"] = "450";
  rig.press("Command6(0)");
  rig.press("Command6(0)");
  rig.loop.drain();
  EXPECT_EQ(rig.port.sent(), (Strings{":SX97,1#", ":GXEP#", ":$PA450#", ":$PA450#"}));
  EXPECT_EQ(told, (std::pair<double, std::size_t>{2000, 2}));
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].title, "変更履歴");
  EXPECT_NE(rig.op.messages[0].text.find("journal.tsv"), std::string::npos);
  // The file is free again (the spreadsheet holding it was closed): the next write is recorded,
  // and the operator hears so once.
  std::filesystem::remove(rig.dir.path / kJournalFileName);
  rig.op.whileShown = nullptr;
  rig.panel.texts["Text1(0)"] = "460";
  rig.press("Command6(0)");
  rig.press("Command6(0)");
  EXPECT_EQ(journaled(rig), (Strings{"COM1 max_rate 450>460", "COM1 max_rate 460>460"}));
  ASSERT_EQ(rig.op.messages.size(), 2u);
  EXPECT_EQ(rig.op.messages[1].text, "変更履歴への記録を再開しました。");
}

}  // namespace
}  // namespace korvane
