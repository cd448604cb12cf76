// Every writer of a setting on the one write path: what goes on the wire, what the journal records
// and what the window believes the controller holds agree, whether the line holds or fails at any
// write; and an undo writes the value before in the window's form, asking first when the entry
// was made on another port or its value has been changed since.

#include <gtest/gtest.h>

#include "app/backup_sequences.h"
#include "backup/backup_file.h"
#include "backup/backup_keys.h"
#include "files/journal.h"
#include "kit/virtual_kit.h"

namespace korvane {
namespace {

using kit::Rig;
using Strings = std::vector<std::string>;
constexpr std::size_t kHolds = SIZE_MAX;

Strings journaled(const Rig& rig) {
  Strings out;
  for (const JournalEntry& e : ReadJournal(rig.dir.path).entries) {
    out.push_back(e.key + " " + e.before + ">" + e.sent +
                  (e.readBack.empty() ? "" : " =" + e.readBack));
  }
  return out;
}

std::size_t at(std::string_view key) {
  return static_cast<std::size_t>(backupPositionOfKey(key));
}

// Connected and everything read, so that each setting has a value before; the line then fails at
// the writer's write number `failAt` (from 0), as a pulled cable does.
struct Connected : Rig {
  explicit Connected(std::size_t failAt) {
    open().press("Command11");
    loop.drain();
    port.writes.clear();
    port.lost = [this] { loop.post([this] { form.Port_Lost(); }); };
    if (failAt != kHolds) port.failFromWrite = 30 + failAt;  // 接続 made 30 writes
  }
};

struct WriterCase {
  const char* name;
  std::function<void(Rig&)> act;
  std::size_t failAt;
  Strings wire;                      // what the writer put on the line
  Strings journal;                   // what the journal gained
  const char* key;                   // a setting the writer writes...
  const char* known;                 // ...and what the window then believes the controller holds
  const char* notWritten = nullptr;  // a setting the message must name as not written
  friend void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
};

void typeAndSet(Rig& rig, const char* field, const char* value, const char* set) {
  rig.panel.texts[field] = value;
  rig.press(set);
}

// clang-format off
const WriterCase kWriters[] = {
    {"SetWritten", [](Rig& r) { typeAndSet(r, "Text1(0)", "450", "Command6(0)"); }, kHolds,
     {":$PA450#"}, {"max_rate 400>450"}, "max_rate", "450"},
    {"SetLineFailed", [](Rig& r) { typeAndSet(r, "Text1(0)", "450", "Command6(0)"); }, 0,
     {}, {}, "max_rate", "400", "MaxRate"},
    // The longitude is recorded as the window shows it, not as the wire carries it.
    {"SetSignInverted", [](Rig& r) { typeAndSet(r, "Text1(5)", "+136*00", "Command6(11)"); }, kHolds,
     {":Sg-136*00#"}, {"site_longitude +139*44>+136*00"}, "site_longitude", "+136*00"},
    {"SwitchWritten", [](Rig& r) { r.press("Command14"); }, kHolds,
     {":SX97,0#", ":GXEP#"}, {"option_buzzer 1>0 =0"}, "option_buzzer", "0"},
    {"SwitchLineFailed", [](Rig& r) { r.press("Command14"); }, 0,
     {}, {}, "option_buzzer", "1", "ブザー音"},
    {"LimitWritten", [](Rig& r) { r.press("Command7"); }, kHolds,
     {":TW#"}, {"limit_switch 1>0"}, "limit_switch", "0"},
    {"LimitLineFailed", [](Rig& r) { r.press("Command7"); }, 0,
     {}, {}, "limit_switch", "1", "Limit ON"},
    {"DirectionWritten", [](Rig& r) { r.press("Command4"); }, kHolds,
     {":TD#"}, {"dec_direction 0>0"}, "dec_direction", "0"},
    // The line fails once the calculator's MaxRate is out: the steps it did not write are
    // neither journaled nor believed.
    {"CalculatorCutAfterThree", [](Rig& r) { r.press("Command19"); }, 3,
     {":TA#", ":TD#", ":$PA400#"}, {"ra_direction 1>1", "dec_direction 0>0", "max_rate 400>400"},
     "ra_steps_per_degree", "2133", "赤経角度対ステップ"},
    {"CalculatorWritten", [](Rig& r) { r.press("Command19"); }, kHolds,
     {":TA#", ":TD#", ":$PA400#", ":$PB2133#", ":$PC2133#", ":$PD5332#", ":$PE5332#"},
     {"ra_direction 1>1", "dec_direction 0>0", "max_rate 400>400", "ra_steps_per_degree 2133>2133",
      "dec_steps_per_degree 2133>2133", "ra_steps_per_worm 5333>5332", "dec_steps_per_worm 5333>5332"},
     "ra_steps_per_worm", "5332"},
    // The home position is journaled as what the controller reads back.
    {"PolarHomeWritten", [](Rig& r) { r.press("Command29"); }, kHolds,
     {":TH#", ":G1#", ":G2#"},
     {"home_altitude 45*00>（今の向き） =35*40", "home_azimuth 180*00>（今の向き） =0*00"},
     "home_altitude", "35*40"},
    {"PolarHomeLineFailed", [](Rig& r) { r.press("Command29"); }, 0,
     {}, {}, "home_altitude", "45*00"},
    {"RestoreCutAtTheSecond", [](Rig& r) {
       BackupFile file;
       file.values[at("max_rate")] = "450";
       file.values[at("backlash_ra")] = "020";
       const std::size_t rows[] = {at("max_rate"), at("backlash_ra")};
       const RestoreReport report = r.form.Backup_Restore(file, rows);
       EXPECT_EQ(report.trouble, BackupTrouble::PortLost);
       EXPECT_NE(report.summary.find("バックラッシュ　赤経"), std::string::npos) << report.summary;
     }, 2,
     {":$PA450#", ":GXE1#"}, {"max_rate 400>450 =450"}, "backlash_ra", "010"},
};
// clang-format on

class Writer : public testing::TestWithParam<WriterCase> {};

TEST_P(Writer, WireJournalAndBeliefAgree) {
  const WriterCase& c = GetParam();
  Connected rig(c.failAt);
  c.act(rig);
  rig.loop.drain();
  EXPECT_EQ(rig.port.sent(), c.wire);
  EXPECT_EQ(journaled(rig), c.journal);
  EXPECT_EQ(rig.form.knownValue(int(at(c.key))), c.known);
  if (c.notWritten) {
    const bool named = std::ranges::any_of(rig.op.messages, [&](const auto& m) {
      return m.text.find("書き込んでいません") != std::string::npos &&
             m.text.find(c.notWritten) != std::string::npos;
    });
    EXPECT_TRUE(named) << "no message names " << c.notWritten;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Writer, testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

// Two SETs of a sign-inverted row, then the undo of the second: the value before goes back with
// the controller's sign, and the field shows it as it was typed.
struct UndoCase {
  const char* field;
  const char* set;
  const char* first;
  const char* second;
  const char* wire;
};

class UndoOfASignInvertedRow : public testing::TestWithParam<UndoCase> {};

TEST_P(UndoOfASignInvertedRow, WritesTheValueBeforeWithTheControllersSign) {
  const UndoCase& c = GetParam();
  Connected rig(kHolds);
  typeAndSet(rig, c.field, c.first, c.set);
  typeAndSet(rig, c.field, c.second, c.set);
  const JournalEntry second = ReadJournal(rig.dir.path).entries.back();
  EXPECT_EQ(second.before, c.first);
  EXPECT_EQ(second.sent, c.second);
  rig.port.writes.clear();
  const RestoreReport undo = rig.form.Journal_Undo(second);
  EXPECT_EQ(undo.matching(), 1) << undo.summary;
  ASSERT_EQ(rig.port.sent().size(), 4u);  // the setting and the mount's name read first
  EXPECT_EQ(rig.port.sent()[2], c.wire);
  EXPECT_EQ(rig.panel.texts[c.field], c.first);
  EXPECT_TRUE(rig.op.messages.empty());
  const JournalEntry undone = ReadJournal(rig.dir.path).entries.back();  // journaled itself
  EXPECT_EQ(undone.before + ">" + undone.sent + " =" + undone.readBack,
            std::string(c.second) + ">" + c.first + " =" + c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UndoOfASignInvertedRow,
    testing::Values(UndoCase{"Text1(5)", "Command6(11)", "+135*00", "+136*00", ":Sg-135*00#"},
                    UndoCase{"Text1(7)", "Command6(13)", "+08", "+07", ":SG-08#"}));

// An entry of another port or another mount, or one whose value the controller no longer holds:
// the operator is asked, naming both; Cancel writes nothing. The first write of a setting never
// read cannot be undone, and sends nothing.
TEST(Undo, AsksBeforeWritingWhenThePortOrTheValueIsNoLongerTheEntrys) {
  {
    Rig rig;
    rig.open();
    typeAndSet(rig, "Text1(0)", "450", "Command6(0)");
    const JournalEntry unknown = ReadJournal(rig.dir.path).entries.back();
    ASSERT_EQ(unknown.before, kUnknownBefore);
    rig.port.writes.clear();
    const RestoreReport refused = rig.form.Journal_Undo(unknown);
    EXPECT_EQ(refused.summary, "この変更の前の値は分からないため、元に戻せません。");
    EXPECT_EQ(refused.trouble, BackupTrouble::Refused);  // told as a trouble, not as done
    EXPECT_TRUE(rig.port.writes.empty());
  }
  struct Row {
    const char* port;
    const char* mount;  // nullptr: the entry's own, the one connected
    const char* controllerNow;
    std::vector<const char*> named;
  };
  for (const Row& row : {Row{"COM5", nullptr, "450", {"COM5", "COM1"}},
                         Row{"COM1", "EQ-A", "450", {"「EQ-A」", "マウント"}},
                         Row{"COM1", nullptr, "300", {"「300」", "「450」"}}}) {
    for (const MessageButton answer : {MessageButton::Cancel, MessageButton::Ok}) {
      Connected rig(kHolds);
      typeAndSet(rig, "Text1(0)", "450", "Command6(0)");
      JournalEntry entry = ReadJournal(rig.dir.path).entries.back();
      ASSERT_EQ(entry.mount, rig.panel.texts["Text1(23)"]);
      entry.port = row.port;
      if (row.mount) entry.mount = row.mount;
      rig.controller.receive(std::string(":$PA") + row.controllerNow + "#", sim::Millis(0));
      rig.port.writes.clear();
      rig.op.answer = answer;
      const RestoreReport undo = rig.form.Journal_Undo(entry);
      ASSERT_EQ(rig.op.messages.size(), 1u) << row.port << row.controllerNow;
      EXPECT_EQ(rig.op.messages[0].style, MessageStyle::OkCancelExclamation);
      for (const char* name : row.named) {
        EXPECT_NE(rig.op.messages[0].text.find(name), std::string::npos) << name;
      }
      const Strings expected = answer == MessageButton::Ok
                                   ? Strings{":GXE1#", ":GXEM#", ":$PA400#", ":GXE1#"}
                                   : Strings{":GXE1#", ":GXEM#"};
      EXPECT_EQ(rig.port.sent(), expected);
      EXPECT_EQ(undo.trouble,
                answer == MessageButton::Ok ? BackupTrouble::None : BackupTrouble::Cancelled);
    }
  }
}

}  // namespace
}  // namespace korvane
