// The menu's entries as every shell runs them: the file asked for, the read under a progress
// window, the result told; and the comparison's and the journal's tables they show.

#include <gtest/gtest.h>

#include <fstream>

#include "app/menu_flows.h"
#include "backup/backup_keys.h"
#include "files/local_file.h"
#include "kit/virtual_kit.h"

namespace korvane {
namespace {

using kit::Rig;

// The file dialogs and the progress window, writing down what the operator would have seen.
struct Seen : FileChooser, Progress {
  std::filesystem::path chosen;  // empty: the operator cancels the file dialog
  int cancelAt = 0;              // Cancel pressed once the line says "n / 30"
  std::vector<std::string> events;
  Rig* rig = nullptr;

  std::filesystem::path saveFile(std::string_view title, std::string_view name) override {
    events.push_back("save " + std::string(title) + " " + std::string(name));
    return chosen;
  }
  std::filesystem::path openFile(std::string_view title) override {
    events.push_back("open " + std::string(title));
    return chosen;
  }
  void open(std::string_view title) override { events.push_back("progress " + std::string(title)); }
  void step(std::string_view text, int value, int) override {
    if (value > 0) events.push_back(std::string(text));
    if (cancelAt > 0 && value == cancelAt) cancelled_ = true;
  }
  bool cancelled() const override { return cancelled_; }
  void close() override {
    events.push_back("closed, " + std::to_string(rig->op.messages.size()) + " told");
  }
  bool cancelled_ = false;
};

// What the operator saw from the menu's choice to its message, and what went on the wire.
TEST(Menu, AFileIsAskedForThenReadUnderTheProgressWindowWhichGoesBeforeTheResultIsTold) {
  struct Case {
    const char* name;
    bool backup, open;
    const char* file;
    int cancelAt;
    std::size_t queries;
    std::vector<std::string> firstEvents;  // before the steps "n / 30"
    std::string lastEvent;
    const char* told;  // part of the one message, or "" for none
  };
  const std::string save = "save 設定をバックアップ korvane-20260705-2100.ini",
                    backing = "progress 設定をバックアップ", open = "open 設定を比較・復元",
                    comparing = "progress 設定を比較・復元", closed = "closed, 0 told";
  // clang-format off
  const Case cases[] = {
      {"backup",                true,  true,  "a.ini", 0, 30, {save, backing}, closed, "保存しました"},
      {"backup cancelled at 5", true,  true,  "a.ini", 5, 5,  {save, backing}, closed, "中止"},
      {"no file chosen",        true,  true,  "",      0, 0,  {save}, "", ""},
      {"not connected",         true,  false, "a.ini", 0, 0,  {}, "", "接続"},
      {"compare",               false, true,  "b.ini", 0, 30, {open, comparing}, closed, ""},
      {"compare of no backup",  false, true,  "a.ini", 0, 0,  {open, comparing}, closed, "a.ini"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.loop.nowMs = 0;
    if (c.open) rig.open();
    {
      Rig reader;  // a backup of the same controller to compare with
      reader.open();
      ASSERT_EQ(reader.form.Backup_Save(rig.dir.path / "b.ini", {}).trouble, BackupTrouble::None);
    }
    Seen seen;
    seen.rig = &rig;
    seen.cancelAt = c.cancelAt;
    if (*c.file) seen.chosen = rig.dir.path / c.file;
    std::unique_ptr<CompareTable> table;
    if (c.backup) {
      rig.form.Menu_Backup(seen, seen);
    } else {
      table = rig.form.Menu_Compare(seen, seen);
    }
    EXPECT_EQ(rig.port.writes.size(), c.queries);
    const std::size_t first = c.firstEvents.size();
    ASSERT_GE(seen.events.size(), first);
    EXPECT_EQ(std::vector(seen.events.begin(), seen.events.begin() + long(first)), c.firstEvents);
    EXPECT_EQ(seen.events.size(),
              first + (c.lastEvent.empty() ? 0 : std::min<std::size_t>(c.queries, 29) + 1));
    if (seen.events.size() > first + 1) {
      EXPECT_EQ(seen.events[first], "1 / 30");
      EXPECT_EQ(seen.events.back(), c.lastEvent);
    }
    ASSERT_EQ(rig.op.messages.size(), *c.told ? 1u : 0u);
    if (*c.told) {
      EXPECT_NE(rig.op.messages[0].text.find(c.told), std::string::npos);
    }
    EXPECT_EQ(table != nullptr, std::string_view(c.name) == "compare");
    const bool saved = c.backup && c.cancelAt == 0 && c.queries == 30;
    EXPECT_EQ(std::filesystem::exists(rig.dir.path / "a.ini"), saved);
    if (saved) {  // the header names this program and the window's port
      const std::string text = ReadLocalFile(rig.dir.path / "a.ini").value_or("");
      EXPECT_NE(text.find(std::string("tool_version=") + KORVANE_VERSION), std::string::npos);
      EXPECT_NE(text.find("port=" + ComName(rig.port.number())), std::string::npos);
    }
  }
}

// The comparison: a differing setting says so and is ticked, the clock is never tickable, and
// "書き込み" writes the ticked rows once and says what the controller now holds.
TEST(CompareTable, TheDifferingRowsAreTickedAndWritingSaysWhatTheyHoldNow) {
  Rig rig;
  rig.open();
  CompareTable table(rig.form, kit::ComparedWithTwoChanged(rig));
  const std::size_t maxRate = backupPositionOfKey("max_rate"),
                    slew = backupPositionOfKey("backlash_ra"),
                    date = backupPositionOfKey("controller_date");
  for (std::size_t r = 0; r < CompareTable::kRows; ++r) {
    const bool differs = r == maxRate || r == slew;
    if (table.tickable(r)) {  // the clock's cells differ as it runs on
      EXPECT_EQ(table.cells(r)[3], differs ? "違う" : "") << r;
    }
    EXPECT_EQ(table.ticked(r), differs) << r;
  }
  EXPECT_EQ(table.cells(maxRate)[2], "450");
  EXPECT_NE(table.summary().find("2"), std::string::npos) << table.summary();
  EXPECT_FALSE(table.tickable(date));
  table.setTicked(date, true);
  table.setTicked(slew, false);
  EXPECT_FALSE(table.ticked(date));
  const std::size_t before = rig.port.writes.size();
  table.write();
  EXPECT_EQ(rig.port.sent().at(before), ":$PA450#");  // max_rate alone, then its read-back
  EXPECT_EQ(rig.port.sent().back().substr(0, 4), ":GXE");
  EXPECT_EQ(table.cells(maxRate)[3], "一致");
  EXPECT_EQ(table.cells(slew)[3], "違う");
  EXPECT_FALSE(table.writable());
  const std::size_t written = rig.port.writes.size();
  table.write();
  EXPECT_EQ(rig.port.writes.size(), written);  // once per comparison
}

// The journal's table: newest first, filtered by setting, the damaged lines counted, and "元に戻す"
// writing the chosen entry's value before, which then shows as the newest entry, the filter kept.
TEST(JournalView, NewestFirstFilteredAndTheChosenEntryUndone) {
  Rig rig;
  rig.open().press("Command11");
  rig.loop.drain();
  for (const char* value : {"450", "460"}) {
    rig.panel.texts["Text1(0)"] = value;
    rig.press("Command6(0)");
  }
  rig.press("Command14");  // buzzer OFF
  rig.loop.drain();
  std::ofstream(rig.dir.path / "journal.tsv", std::ios::app) << "edited by hand\n";
  JournalView view(rig.form);
  const auto column = [&](std::size_t c) {
    std::vector<std::string> out;
    for (std::size_t r = 0; r < view.rowCount(); ++r) out.push_back(view.cells(r)[c]);
    return out;
  };
  using Strings = std::vector<std::string>;
  EXPECT_EQ(column(2), (Strings{"option_buzzer", "max_rate", "max_rate"}));
  EXPECT_EQ(column(5), (Strings{"0", "460", "450"}));
  EXPECT_EQ(view.chosen(), 0u);
  EXPECT_NE(view.skippedText().find("1 行"), std::string::npos);
  ASSERT_EQ(view.filters().size(), 3u);
  EXPECT_EQ(view.filters()[0], "すべての設定");
  EXPECT_EQ(view.filters()[1], backupSettingName("max_rate"));
  view.setFilter(1);
  EXPECT_EQ(column(4), (Strings{"450", "400"}));
  view.undo(1);  // 400 -> 450: back to 400
  EXPECT_EQ(rig.port.sent().at(rig.port.sent().size() - 2), ":$PA400#");
  EXPECT_EQ(view.filter(), 1u);
  EXPECT_EQ(column(5), (Strings{"400", "460", "450"}));
  EXPECT_EQ(view.chosen(), 0u);
  ASSERT_FALSE(rig.op.messages.empty());
  EXPECT_EQ(rig.op.messages.back().title, "変更履歴");
  const std::size_t sent = rig.port.writes.size();
  view.undo(std::nullopt);  // nothing chosen
  view.undo(9);             // no such row
  EXPECT_EQ(rig.port.writes.size(), sent);
  // A password written shows as ******** in the table; the file keeps it for its owner.
  ASSERT_FALSE(AppendJournal(
      rig.dir.path, {"t", "COM1", "wifi_ap_password", "c", "old-pw", "new-pw", "new-pw", ""}));
  EXPECT_EQ(JournalView(rig.form).cells(0)[5], kHiddenSecret);
}

}  // namespace
}  // namespace korvane
