// The handlers on the virtual clock against the simulator's controller model: what goes on the
// wire, when, and what the window shows.

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "app/port_events.h"
#include "files/journal.h"
#include "kit/virtual_kit.h"
#include "presets/gear_calculator.h"
#include "protocol/catalogue.h"
#include "protocol/presets.h"
#include "window/layout.h"

namespace korvane {
namespace {

using kit::Rig;
using kit::Writes;
using Strings = std::vector<std::string>;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::string text1(int i) {
  return "Text1(" + std::to_string(i) + ")";
}
template <typename Case>  // a failing table row is named in words
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

TEST(Set, APressWritesAtMostOneCommandAndItsAnswerGoesOutOfSight) {
  Rig rig;
  rig.open().panel.texts[text1(0)] = "501";
  rig.press("Command6(0)");  // out of range: the rejection notice instead
  rig.panel.texts[text1(23)] = "ab#:Te";
  rig.press("Command6(17)");  // could end the command: refused, with a message
  EXPECT_EQ(rig.port.sent(), Strings{":=SG#"});
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].title, "入力エラー");
  EXPECT_NE(rig.op.messages[0].text.find("「#」「:」"), std::string::npos) << "says why";
  EXPECT_EQ(rig.op.messages[0].style, MessageStyle::Critical);
  const auto shown = rig.panel.texts;
  rig.receive("1#");  // an acknowledgement: no query waits for it
  EXPECT_EQ(rig.panel.texts, shown);
  for (const char* button : {"Command6(0)", "Command5(0)", "Command13", "Command29", "Command34",
                             "Command10", "Command2"}) {
    Rig closed;  // "接続" comes first, says the one message; nothing is sent, no wait runs
    closed.press(button);
    EXPECT_TRUE(closed.port.writes.empty() && closed.loop.nowMs == 0) << button;
    EXPECT_EQ(closed.op.messages.size(), 1u) << button;
  }
  Rig lamps;  // with the port closed a direction button still moves its lamps, the USER record
  lamps.press("Command2");
  EXPECT_TRUE(lamps.panel.lamp(2) == kMagenta && lamps.panel.lamp(1) == kTeal);
}

// The buttons that write no setting: each press its own bytes, nothing else; the WiFi modes
// take effect with their second command.
TEST(OperatingButtons, EachPressPutsItsOwnBytesOnTheWire) {
  Rig rig;
  rig.open();
  for (const char* b : {"Command10", "Command9", "Command27", "Command26", "Command25", "Command24",
                        "Command23", "Command22", "Command30", "Command31", "Command32",
                        "Command33", "Command37", "Command35", "Command36"})
    rig.press(b);
  EXPECT_EQ(rig.port.sent(),
            (Strings{":Te#", ":Td#", ":TQ#", ":TL#", ":TS#", ":T0#", ":T+#", ":T-#", ":=SD#",
                     ":RG#", ":RC#", ":RM#", ":RS#", ":TJ#", ":TG#", ":=SE#", ":TF#", ":=SE#"}));
}

// A press during a sequence of queries waits for its turn if it has queries of its own, is refused
// if it writes settings, goes out at once if it gets no answer. A clean read then changes nothing.
struct Interleaving {
  const char *name, *first;
  std::vector<std::pair<double, std::string>> presses;  // at that time, by control name
  double answerMs;
  Writes writes;  // "*": the whole read of "接続" from that time on
  std::size_t messages;
};
class OneConversation : public ::testing::TestWithParam<Interleaving> {};
TEST_P(OneConversation, EveryAnswerLandsInItsOwnRow) {
  const Interleaving& c = GetParam();
  Rig rig;
  rig.open().answerMs = c.answerMs;
  rig.panel.texts["Combo2"] = "AP";
  for (const auto& [t, control] : c.presses) {
    rig.loop.at(t, [&rig, control] {
      if (control == "Combo2") {
        rig.form.Combo2_Click();  // a preset picked
      } else if (control == "Backup") {
        EXPECT_FALSE(rig.form.Backup_Ready());  // the menu's entries ask first
      } else if (control.starts_with("COM")) {  // the port box left with this text
        rig.panel.texts["Combo1"] = control;
        rig.form.Combo1_LostFocus();
      } else {
        rig.press(control);
      }
    });
  }
  rig.press(c.first);
  rig.loop.drain();
  Writes want;
  const auto all = readAllSequence();
  for (const auto& [t, command] : c.writes) {
    for (std::size_t i = 0; i < (command == "*" ? all.size() : 1); ++i)
      want.emplace_back(t + 400 * i, command == "*" ? all[i]->query : command);
  }
  std::ranges::stable_sort(want, {}, &Writes::value_type::first);
  EXPECT_EQ(rig.port.writes, want);
  EXPECT_EQ(rig.op.messages.size(), c.messages);
  if (!rig.port.isOpen()) return;
  const auto texts = rig.panel.texts;
  rig.press("Command11");
  rig.loop.drain();
  rig.panel.texts[text1(15)] = texts.at(text1(15));  // the controller's clock has run on
  EXPECT_EQ(rig.panel.texts, texts);
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Presses, OneConversation, ::testing::Values(
    Interleaving{"ConnectTwiceDuringARead", "Command11", {{150, "Command11"}, {6000, "Command11"}}, 50,
                 {{0, "*"}, {12000, "*"}}, 0},
    // "切断" closes the port under the read, which ends with the pause in hand; then the new read.
    Interleaving{"DisconnectThenConnect", "Command11", {{1000, "Command12"}, {1100, "Command11"}}, 50,
                 {{0, ":GXE1#"}, {400, ":GXE4#"}, {800, ":GXE5#"}, {1200, "*"}}, 0},
    Interleaving{"ReadButtonDuringAReadSlowAnswers", "Command11", {{350, "Command5(8)"}}, 150,
                 {{0, "*"}, {12000, ":%BR#"}}, 0},
    Interleaving{"OptionSwitchDuringARead", "Command11", {{150, "Command13"}}, 50,
                 {{0, "*"}, {12000, ":SX97,1#"}, {13000, ":GXEP#"}}, 0},
    Interleaving{"ConnectInThePolarHomeWait", "Command29", {{1100, "Command11"}}, 50,
                 {{0, ":TH#"}, {1000, ":G1#"}, {1200, ":G2#"}, {4200, "*"}}, 0},
    // Leaving the port box keeps the connection; another port, or "切断", drops what waited, and
    // says so.
    Interleaving{"PortBoxLeftUnchanged", "Command11", {{150, "COM1"}}, 50, {{0, "*"}}, 0},
    Interleaving{"AnotherPortDropsWhatWaited", "Command11", {{150, "Command5(0)"}, {200, "COM2"}}, 50,
                 {{0, ":GXE1#"}}, 1},
    Interleaving{"DisconnectDropsWhatWaited", "Command11", {{150, "Command5(0)"}, {200, "Command12"}}, 50,
                 {{0, ":GXE1#"}}, 1},
    Interleaving{"WritesRefusedCommandsSent", "Command11",
                 {{150, "Command6(0)"}, {200, "Combo2"}, {250, "Backup"}, {300, "Command10"}}, 50,
                 {{0, "*"}, {300, ":Te#"}}, 3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Notifications of the port (event, bytes), and what the latitude field then holds.
using Notified = std::tuple<std::vector<std::pair<int, std::string>>, std::string, std::string>;
class Reception : public ::testing::TestWithParam<Notified> {};
TEST_P(Reception, TakesTheTextUpToEachHashAsOneReply) {
  const auto& [notifications, shown, buffered] = GetParam();
  Rig rig;
  rig.answerMs = -1;
  rig.loop.at(100, [&, &notifications = notifications] {
    for (const auto& [event, bytes] : notifications) rig.form.MSComm1_OnComm(event, bytes);
  });
  rig.open().press("Command5(6)");
  EXPECT_EQ(rig.panel.text(text1(6)), shown);
  EXPECT_EQ(rig.form.RecvBuf(), buffered);
}
const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Reception, ::testing::Values(
    Notified{{{2, "+35"}}, "", "+35"}, Notified{{{2, "+35"}, {2, "*40#"}}, "+35*40", ""},
    // Two answers in one read while the query waits (an earlier query's late answer, then its
    // own): each filed in order, the last kept; a piece waits for its "#".
    Notified{{{2, "+1*00#+35*40#+2"}}, "+35*40", "+2"},
    Notified{{{2, std::string(2000, 'x') + "#+35*40#"}}, "+35*40", ""},  // noise, then the reply
    Notified{{{1, "+35*40#"}, {2, ""}}, "", ""},     // other events, empty reads
    // Each byte of a stray byte, an overlong form, a surrogate, a code above U+10FFFF or a cut
    // sequence shows as U+FFFD; good characters of every length stay.
    Notified{{{2, "\xff\xC0\x80\xED\xA0\x80#"}}, kBad + kBad + kBad + kBad + kBad + kBad, ""},
    Notified{{{2, "\xF4\x90\x80\x80\xE6\x98#"}}, kBad + kBad + kBad + kBad + kBad + kBad, ""},
    Notified{{{2, "\xC3\xA9\xE6\x98\x9F\xF0\x9F\x94\xAD\xF4\x8F\xBF\xBF#"}}, "\xC3\xA9\xE6\x98\x9F\xF0\x9F\x94\xAD\xF4\x8F\xBF\xBF", ""},
    // The smallest character of each length: U+0080, U+0800, U+10000.
    Notified{{{2, "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80#"}}, "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80", ""}));
// clang-format on

TEST(Reception, WhatCameBeforeThePortOpenedIsNoPartOfAnAnswer) {
  Rig rig;
  rig.receive("40");  // a late answer of an earlier conversation, still held
  rig.press("Command11");
  EXPECT_EQ(rig.panel.text(text1(0)), "400");
}

TEST(Reception, ANotificationDuringTheYieldTakesTheReplyItself) {
  Rig rig;
  rig.answerMs = -1;
  rig.loop.at(100, [&] {
    rig.loop.at(100, [&] { rig.receive("0#"); });  // arrives while the first lets events run
    rig.receive("40");
  });
  rig.open().press("Command5(0)");
  EXPECT_EQ(rig.panel.text(text1(0)), "400");
  EXPECT_EQ(rig.form.RecvBuf(), "");
}

// A run of 1024 bytes without "#" is noise: it goes, and so does what follows it up to the next
// "#", unless the tool writes a command first. A reply after it is shown exactly.
TEST(Reception, NoiseGoesUpToTheNextHashUnlessACommandIsWrittenFirst) {
  const std::tuple<bool, std::string, std::string> cases[] = {
      {true, "+123*45#", "+123*45"},      // the query ends the noise
      {false, "yy+1*00#", "old"},         // no write: the noise ends at its "#"
      {false, "yy|+1*00#", "old"},        // however many chunks it comes in ("|")
      {false, "yy#+123*45#", "+123*45"},  // and what follows that "#" is a reply again
  };
  for (const auto& [queryAfterNoise, after, shown] : cases) {
    Rig rig;
    rig.answerMs = -1;
    rig.open().panel.texts[text1(21)] = "old";
    rig.loop.at(10, [&] {
      for (int i = 0; i < 512; ++i) rig.receive(std::string(4096, 'x'));  // 2 MiB
      EXPECT_EQ(rig.form.RecvBuf(), "");
    });
    // The reply comes while a query waits: the one that met the noise, or a second one.
    const auto reply = [&, after = after] {
      rig.loop.after(20, [&, after] {
        const std::size_t cut = std::min(after.find('|'), after.size());
        rig.receive(after.substr(0, cut));
        if (cut < after.size()) rig.receive(after.substr(cut + 1));
      });
    };
    if (!queryAfterNoise) reply();
    rig.press("Command5(15)");  // home azimuth: shown as it comes
    if (queryAfterNoise) {
      reply();
      rig.press("Command5(15)");
    }
    EXPECT_EQ(rig.panel.text(text1(21)), shown) << after;
    EXPECT_EQ(rig.form.RecvBuf(), "");
  }
}

TEST(Reception, AnOptionRowsAnswerAfterNoiseLightsTheLampItSays) {
  Rig rig;
  rig.answerMs = -1;
  // 2000 bytes of noise between the switch and its read-back; then the buzzer is said to be off.
  rig.open().loop.at(500, [&] { rig.receive(std::string(2000, 'x')); });
  rig.loop.at(1050, [&] { rig.receive("0#"); });
  rig.press("Command13");
  EXPECT_EQ(rig.panel.lamp(13), kTeal);
  EXPECT_EQ(rig.panel.lamp(14), kMagenta);
}

// What an adapter reads reaches the handlers through the loop, never from inside the adapter's
// notification, in order, and into a wait that is running; a lost line is told once, from the loop.
TEST(PortEvents, ChunksAndTheLossReachTheHandlersThroughTheLoop) {
  Rig rig;
  rig.answerMs = -1;
  const PortEvents events = PortEventsFor(rig.form, rig.loop);
  rig.loop.at(100, [&] {
    events.received("4");
    events.received("0");
    EXPECT_EQ(rig.form.RecvBuf(), "");
  });
  rig.loop.at(200, [&] { events.received("0#"); });
  rig.open().press("Command5(0)");  // MaxRate, and its wait of 400 ms
  EXPECT_EQ(rig.panel.text(text1(0)), "400");
  events.lost();
  events.lost();
  EXPECT_TRUE(rig.op.messages.empty());
  rig.loop.drain();
  EXPECT_EQ(rig.op.messages.size(), 1u);
  EXPECT_FALSE(rig.port.isOpen());
}

// The polar home position: home set, then its altitude and azimuth read back into their fields;
// both home SET buttons are disabled for the whole sequence.
TEST(PolarHome, SetsHomeThenReadsItBackWithItsSetButtonsLocked) {
  Rig rig;
  rig.open();
  std::vector<bool> enabled;
  for (double t : {0.0, 1100.0, 4100.0}) {
    rig.loop.at(t, [&] {
      enabled.push_back(rig.panel.isEnabled("Command6(14)") || rig.panel.isEnabled("Command6(15)"));
    });
  }
  rig.press("Command29");
  EXPECT_EQ(rig.port.writes, (Writes{{0, ":TH#"}, {1000, ":G1#"}, {1200, ":G2#"}}));
  EXPECT_EQ(rig.loop.nowMs, 4200);
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(rig.panel.isEnabled("Command6(14)") && rig.panel.isEnabled("Command6(15)"));
  EXPECT_EQ(rig.panel.text(text1(20)) + " " + rig.panel.text(text1(21)), "35*40 0*00");
  Strings journaled;  // each setting with what the controller read back
  for (const JournalEntry& e : ReadJournal(rig.dir.path).entries)
    journaled.push_back(e.key + " " + e.readBack);
  EXPECT_EQ(journaled, (Strings{"home_altitude 35*40", "home_azimuth 0*00"}));
}

// "Set": the date now, the time after the pause, and the new date if midnight passed meanwhile.
TEST(ClockSet, SendsTheDateThenAfterThePauseTheTimeTwoDigitsEach) {
  using namespace std::chrono;
  const std::pair<sys_time<milliseconds>, Writes> cases[] = {
      {sys_days{2026y / 6 / 30} + 23h + 59min + 59s + 500ms,
       {{0, ":SC06/30/26#"}, {1000, ":SL00:00:00#"}, {1000, ":SC07/01/26#"}}},
      {sys_days{2100y / 10 / 10} + 9h + 5min + 3s, {{0, ":SC10/10/00#"}, {1000, ":SL09:05:04#"}}}};
  for (const auto& [clock, writes] : cases) {
    Rig rig;
    rig.open().loop.clockAtZero = clock;
    rig.press("Command34");
    EXPECT_EQ(rig.port.writes, writes);
    EXPECT_EQ(rig.controller.unknownCommands(), 0u);
  }
  Rig lost;
  lost.open().loop.at(500, [&] { lost.form.Port_Lost(); });
  lost.press("Command34");
  EXPECT_EQ(lost.port.writes.size(), 1u) << "the time is not sent on a port lost in the pause";
  EXPECT_EQ(lost.loop.nowMs, 1000);
}

// A pick from the preset list fills the gear table and moves the direction lamps, then runs
// "手動計算" on it: with the port open that sends the directions the lamps show and the five step
// parameters, 500 ms apart, with the window and "手動計算" locked behind "書き込み中.....".
struct Pick {
  const char *name, *pick;
  bool open;
  Strings picked, directions;  // what the pick sends at once; what the calculator sends first
  std::string lamps;           // Shape1..4: magenta, teal, green
  std::size_t messages;
};
class PresetPick : public ::testing::TestWithParam<Pick> {};
TEST_P(PresetPick, FillsTheTableAndRunsTheCalculator) {
  const Pick& c = GetParam();
  Rig rig;
  if (c.open) rig.open();
  rig.panel.texts[text1(0)] = "400";
  rig.panel.texts["Combo2"] = c.pick;
  // What the table should hold: the preset's row, or what it held (not a row, "USER" unsaved).
  const MountPreset* preset = Find_Preset(c.pick);
  GearInputs table;
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = preset ? std::string(preset->fields[i]) : rig.panel.text(kGearFields[i]);
  const bool computed = c.pick != kUserPreset;
  const GearResults results = computed ? std::get<GearResults>(Calc_Gear(table)) : GearResults{};
  bool locked = false;
  rig.loop.at(1200, [&] {
    locked = rig.panel.busy && !rig.panel.isEnabled("Form1") && !rig.panel.isEnabled("Command19");
  });
  rig.form.Combo2_Click();
  Writes sent;
  for (const std::string& command : c.picked) sent.emplace_back(0, command);
  if (c.open && computed) {
    for (int i = 0; i < 2; ++i) {  // none for an axis whose direction is unknown
      if (!c.directions[i].empty()) sent.emplace_back(500 * i, c.directions[i]);
    }
    sent.emplace_back(1000, ":$PA400#");
    for (int i = 0; i < 4; ++i) {
      sent.emplace_back(1500 + 500 * i, std::string(":$P") + char('B' + i) + results[i] + "#");
    }
  }
  EXPECT_EQ(rig.port.writes, sent);
  EXPECT_EQ(locked, c.open && computed);
  EXPECT_EQ(rig.op.messages.size(), c.messages);
  EXPECT_FALSE(rig.panel.busy);
  EXPECT_TRUE(rig.panel.isEnabled("Form1") && rig.panel.isEnabled("Command19"));
  for (std::size_t i = 0; i < table.size(); ++i)
    EXPECT_EQ(rig.panel.text(kGearFields[i]), table[i]);
  for (std::size_t i = 0; i < results.size(); ++i)
    EXPECT_EQ(rig.panel.text(kGearOutputFields[i]), results[i]) << kGearOutputFields[i];
  for (int s = 1; s <= 4; ++s) {
    const Colour lamp = rig.panel.lamp(s);
    EXPECT_EQ(c.lamps[s - 1], lamp == kMagenta ? 'm' : lamp == kTeal ? 't' : 'g') << "Shape" << s;
  }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Picks, PresetPick, ::testing::Values(
    Pick{"ApOpen",   "AP",  true,  {":TB#", ":TC#"}, {":TB#", ":TC#"}, "tmmt", 0},
    Pick{"NjpOpen",  "NJP", true,  {":TA#", ":TD#"}, {":TA#", ":TD#"}, "mttm", 0},
    Pick{"ApClosed", "AP",  false, {},               {},               "tmmt", 0},
    // Not a row of the list (names match exactly): the fields and lamps stay as they were, and
    // the calculator still runs on them; green lamps say nothing of the direction, which is then
    // not written, with one word. "USER" without its file: nothing computed or sent, one word.
    Pick{"NotARow",                "ap",   false, {}, {},       "gggg", 0},
    Pick{"NotARowOpen",            "ap",   true,  {}, {"", ""}, "gggg", 1},
    Pick{"UserWithoutItsFile",     "USER", false, {}, {},       "gggg", 1},
    Pick{"UserWithoutItsFileOpen", "USER", true,  {}, {},       "gggg", 1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ManualCalculation, AComplaintHighlightsItsFieldWhileItShowsAndChangesNothing) {
  Rig rig;
  rig.open().panel.texts["Text4"] = "";
  rig.panel.texts[text1(1)] = "old";
  bool highlighted = false;
  rig.op.whileShown = [&] { highlighted = rig.panel.highlighted["Text4"]; };
  rig.press("Command19");
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].text, "赤経中間ギア比を入力してください");
  EXPECT_EQ(rig.op.messages[0].title, "");
  EXPECT_TRUE(highlighted);
  EXPECT_FALSE(rig.panel.highlighted["Text4"]);
  EXPECT_EQ(rig.panel.text(text1(1)), "old");
  EXPECT_TRUE(rig.port.writes.empty());
}

// "SetData.txt" at start-up: the gear table and the directions, "0" minus and "1" plus. (Its
// format, and a save, are the fault matrix's.)
TEST(UserPreset, TheFileGivesTheFieldsAndDirectionsAndACancelledSaveWritesNothing) {
  Rig rig;
  // Shift_JIS in a field: each byte that is not UTF-8 shows as U+FFFD, the other fields load.
  std::ofstream(rig.dir.path / "SetData.txt")
      << "\"1,5\",\"\x83\",\"3\",144,200,8,3,144,400,\"0\",\"1\",";
  rig.form.Form_Load();
  EXPECT_EQ(rig.panel.text("Text2") + "|" + rig.panel.text("Text3"), "1,5|\xEF\xBF\xBD");
  EXPECT_EQ(rig.op.beeps + rig.op.messages.size(), 0u) << "start-up saves nothing, says nothing";
  EXPECT_EQ(rig.panel.lamp(2), kMagenta);
  EXPECT_EQ(rig.panel.lamp(3), kMagenta);
  rig.op.answer = MessageButton::Cancel;
  rig.press("Command28");
  EXPECT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(slurp(rig.dir.path / "SetData.txt"),
            "\"1,5\",\"\x83\",\"3\",144,200,8,3,144,400,\"0\",\"1\",");
  rig.panel.texts["Text2"] = "typed";
  rig.panel.texts["Combo2"] = "USER";  // picking "USER" loads the file again
  rig.form.Combo2_Click();
  EXPECT_EQ(rig.panel.text("Text2"), "1,5");
}

// In a folder named in Japanese (wide paths on Windows) a save lands. A save that cannot replace
// the file (marked read-only by its owner) names the file, keeps what was there and leaves no
// temporary file beside it.
TEST(UserPreset, SavesInAFolderNamedInJapaneseAndAFailedSaveKeepsWhatWasThere) {
  namespace fs = std::filesystem;
  Rig rig(u8"korvane-設定");
  const fs::path file = rig.dir.path / "SetData.txt";
  rig.press("Command1");  // RA +, DEC -: chosen, with the port closed
  rig.press("Command4");
  rig.press("Command28");
  EXPECT_EQ(rig.op.messages.back().text, "保存しました。");
  const std::string saved = slurp(file);
  EXPECT_EQ(saved, R"("200","8","3.333","144","200","8","3.333","144","","1","0",)");
  rig.panel.texts["Text2"] = "1\",2";  // a quote would shift every later field: not saved
  rig.press("Command28");
  EXPECT_NE(rig.op.messages.back().text.find("赤経 ﾓｰﾀｰｽﾃｯﾌﾟ"), std::string::npos);
  EXPECT_EQ(slurp(file), saved);
#ifndef _WIN32  // a save keeps the mode the file had
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  rig.panel.texts["Text2"] = "200";
  rig.press("Command28");
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  rig.panel.texts["Text2"] = "123";
  rig.press("Command28");
  EXPECT_EQ(rig.op.messages.back().title, "保存エラー");
  EXPECT_NE(rig.op.messages.back().text.find("korvane-設定"), std::string::npos);
  EXPECT_EQ(slurp(file), saved);
  EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path), fs::directory_iterator()), 1);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

// Leaving the port box takes only an exact text of the list, beeps and saves; only another port
// closes the open one.
TEST(PortBox, LeavingItTakesOnlyAnExactListTextAndSavesThePort) {
  for (const auto& [typed, port] :
       {std::pair{"COM19", 19}, std::pair{"COM1", 1}, std::pair{"COM20", 4}, std::pair{" COM3", 4},
        std::pair{"COM07", 4}}) {
    Rig rig;
    rig.port.setNumber(4);
    rig.open().panel.texts["Combo1"] = typed;
    rig.form.Combo1_LostFocus();
    EXPECT_EQ(rig.port.isOpen(), port == 4);
    EXPECT_EQ(rig.panel.text("Combo1"), "COM" + std::to_string(port));  // the port in use
    EXPECT_EQ(rig.port.number(), port) << typed;
    EXPECT_EQ(rig.op.beeps, 1);
    EXPECT_EQ(slurp(rig.dir.path / "siri.DAT"), " " + std::to_string(port) + " \r\n");
    rig.panel.texts["Combo1"] = "";
    rig.form.Load_param();  // as the next start reads it
    EXPECT_EQ(rig.panel.text("Combo1"), "COM" + std::to_string(port));
  }
  // A stored number the port does not take leaves port 1.
  for (const auto& [stored, port] : {std::pair{" 255 ", "COM255"}, std::pair{" 256 ", "COM1"},
                                     std::pair{" 0 ", "COM1"}, std::pair{"-3", "COM1"}}) {
    Rig rig;
    std::ofstream(rig.dir.path / "siri.DAT") << stored;
    rig.form.Load_param();
    EXPECT_EQ(rig.panel.text("Combo1"), port) << stored;
  }
}

// "コントローラーを探す..." on the virtual clock: ports that answer as the controller ("400#"), as
// another device, not at all, or do not open; each answer 30 ms after the query, through the
// events the search holds meanwhile.
struct SearchWorld {
  Rig rig;
  PortEvents events;
  std::map<int, std::string> answers;  // a port absent here stays silent
  std::vector<int> present;
  std::function<bool(int done, int number)> goOn = [](int, int) { return true; };
  int finished = 0;  // steps that close the progress window: done of done
  SearchWorld() {
    rig.form.setPortsPresent([this] { return present; });
    rig.port.onWrite = [this](std::string_view) {
      const auto answer = answers.find(rig.port.number());
      if (answer == answers.end()) return;
      rig.loop.after(30, [this, text = answer->second] {
        if (rig.port.isOpen() && events.received) events.received(text);
      });
    };
  }
  void find() {
    rig.form.Find_Controller(
        events, [](int n) { return "/dev/p" + std::to_string(n); },
        [this](int done, int total, int number) {
          finished += done == total;
          return goOn(done, number);
        });
  }
  // The ports each query went to, with its virtual time.
  std::vector<std::pair<double, int>> queries;
};

TEST(FindController, OneQueryAPortASecondAtMostAndTheControllersPortSelected) {
  SearchWorld w;
  w.present = {1, 3, 5, 7, 8, 23};
  w.answers = {{3, "OK\r\n"}, {5, "400#"}, {23, "4"}};  // 23 answers too little
  w.rig.port.refused = {{7, OpenTrouble::InUse}, {8, OpenTrouble::NoPermission}};
  w.rig.form.Form_Load();
  EXPECT_EQ(w.rig.panel.added["Combo1"], Strings{"COM23"});  // listed beyond COM19
  w.find();
  // The silent port costs its second, the others only their answer (within one step).
  EXPECT_EQ(w.rig.port.writes,
            (Writes{{0, ":GXE1#"}, {1000, ":GXE1#"}, {1030, ":GXE1#"}, {1060, ":GXE1#"}}));
  EXPECT_FALSE(w.rig.port.isOpen());
  EXPECT_EQ(w.rig.port.number(), 5);
  EXPECT_EQ(w.rig.panel.text("Combo1"), "COM5");
  EXPECT_EQ(slurp(w.rig.dir.path / "siri.DAT"), " 5 \r\n");
  ASSERT_EQ(w.rig.op.messages.size(), 1u);
  EXPECT_EQ(w.rig.op.messages[0].title, "コントローラーを探す");
  EXPECT_EQ(w.rig.op.messages[0].style, MessageStyle::Ok);
  EXPECT_NE(w.rig.op.messages[0].text.find("COM5  /dev/p5"), std::string::npos);
  EXPECT_EQ(w.finished, 1);
  // The events are the window's again: an answer now reaches nobody through the search.
  EXPECT_FALSE(w.events.received);
  // Of two, the first is selected; one above the list plugged in since the start is listed then,
  // and only then taken from the box.
  w.rig.panel.texts["Combo1"] = "COM31";
  w.rig.form.Combo1_LostFocus();
  EXPECT_EQ(w.rig.port.number(), 5);
  w.present = {2, 31};
  w.answers = {{2, "12#"}, {31, "400#"}};
  w.find();
  EXPECT_EQ(w.rig.port.number(), 2);
  EXPECT_EQ(w.rig.panel.added["Combo1"], (Strings{"COM23", "COM31"}));
  w.rig.panel.texts["Combo1"] = "COM31";
  w.rig.form.Combo1_LostFocus();
  EXPECT_EQ(w.rig.port.number(), 31);
}

// Cancel pressed, or the window closed, during a search: the port in hand is closed and no other
// is tried; a cancel still tells what was seen, a close says nothing. A port that is open is not
// searched at all.
TEST(FindController, CancelOrCloseStopsAtThePortInHandAndAnOpenPortIsNotSearched) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "closed" : "cancelled");
    SearchWorld w;
    w.present = {1, 2, 3};
    w.goOn = [&](int, int number) {
      if (number == 2 && close) w.rig.form.Form_Unload();
      return number != 2 || close;
    };
    w.find();
    EXPECT_EQ(w.rig.port.writes, (Writes{{0, ":GXE1#"}}));
    EXPECT_FALSE(w.rig.port.isOpen());
    ASSERT_EQ(w.rig.op.messages.size(), close ? 0u : 1u);
    if (!close) {
      EXPECT_NE(w.rig.op.messages[0].text.find("COM1"), std::string::npos);
      EXPECT_EQ(w.finished, 0) << "a cancelled progress window has closed itself";
    }
  }
  SearchWorld open;
  open.present = {1};
  open.rig.open();
  open.find();
  EXPECT_TRUE(open.rig.port.writes.empty());
  EXPECT_EQ(open.rig.op.messages.size(), 1u);  // says why nothing is searched
}

// Each shell presses every button of the window by its name; a name that is no button is the
// shell's mistake, and says so.
TEST(Click, EveryButtonOfTheWindowIsKnownAndNoOtherName) {
  Rig rig;  // the port closed: each press is refused or runs without the controller
  for (const ControlEntry& control : windowControls()) {
    if (control.kind == ControlKind::Button) {
      EXPECT_NO_THROW(rig.press(control.name)) << control.name;
    }
  }
  EXPECT_THROW(rig.press("Command99"), std::invalid_argument);
  EXPECT_THROW(rig.press("Text1(0)"), std::invalid_argument);
}

TEST(Disconnect, ClearsTheParameterFieldsAndTheChannelAndTurnsEveryLampTeal) {
  Rig rig;
  rig.open();
  for (int i = 0; i <= 25; ++i) rig.panel.texts[text1(i)] = "v";
  for (const char* c : {"Text1(99)", "Combo3", "Text10"}) rig.panel.texts[c] = "v";
  rig.panel.lamps.fill(kMagenta);
  rig.press("Command12");
  EXPECT_FALSE(rig.port.isOpen());
  // The hidden fields 18 and 19 and the answer field keep their texts, as the gear table does.
  for (int i = 0; i <= 25; ++i) EXPECT_EQ(rig.panel.text(text1(i)), i == 18 || i == 19 ? "v" : "");
  EXPECT_EQ(rig.panel.text("Combo3") + "|" + rig.panel.text("Text1(99)") + rig.panel.text("Text10"),
            "|vv");
  for (int s = 1; s <= 14; ++s) EXPECT_EQ(rig.panel.lamp(s), kTeal) << s;
  rig.answerMs = -1;  // "接続" again, to a silent controller: the four direction lamps go green
  rig.press("Command11");
  for (int s = 1; s <= 14; ++s) EXPECT_EQ(rig.panel.lamp(s), s <= 4 ? kGreen : kTeal) << s;
}

}  // namespace
}  // namespace korvane
