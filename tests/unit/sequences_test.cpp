// Handler sequences on the virtual clock: what goes on the wire, when, and what the window shows.

#include <gtest/gtest.h>

#include "kit/virtual_kit.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"

namespace korvane {
namespace {

using kit::FakeController;
using kit::Rig;
using Writes = std::vector<std::pair<double, std::string>>;

TEST(ReadAll, SendsThirtyQueriesFourHundredMsApartInTheReadAllOrder) {
  Rig rig;
  FakeController ctl(rig.loop, rig.port, rig.form);
  // Every query answered with a value of its own; what each kind does with it is dispatch's.
  for (const Setting& s : kSettings) {
    if (!s.query.empty()) ctl.answers[std::string(s.query)] = "9" + std::to_string(s.replyKind);
  }
  ctl.answers[":GXEF#"] = "1";
  rig.form.Command11_Click();
  const Writes w = rig.port.timed();
  ASSERT_EQ(w.size(), 30u);
  for (std::size_t i = 0; i < w.size(); ++i) {
    EXPECT_DOUBLE_EQ(w[i].first, 400.0 * i);
    EXPECT_EQ(w[i].second, settingByKind(kReadAllOrder[i])->query);
  }
  EXPECT_EQ(rig.form.ReplyKind(), 31);
  rig.loop.drain();  // the last answer comes after the last wait
  EXPECT_EQ(rig.panel.text("Text1(20)"), "921");
  EXPECT_EQ(rig.panel.text("Text1(25)"), "931");
  EXPECT_EQ(rig.panel.lamp(1), kMagenta);
}

TEST(ReadAll, ALateAnswerLandsInTheNextRowsTarget) {
  Rig rig;
  FakeController ctl(rig.loop, rig.port, rig.form);
  ctl.answers[":GXE4#"] = "5333";
  ctl.delayFor[":GXE4#"] = 500;  // after the 400 ms wait: kind 3 is set by then
  rig.form.Command11_Click();
  rig.loop.drain();
  EXPECT_EQ(rig.panel.text("Text1(1)"), "");
  EXPECT_EQ(rig.panel.text("Text1(2)"), "5333");
}

// A button pressed during a wait runs to completion there, waits included, before the read goes
// on: the outer 400 ms wait ends only after a nested 2 s sequence has run out.
TEST(ReadAll, AButtonPressedDuringAWaitRunsToCompletionBeforeTheReadGoesOn) {
  struct Case {
    double at;
    const char* button;
    Writes from1;  // the writes from the second on
  };
  const Case cases[] = {
      {1000,
       "Command30",
       {{400, ":GXE4#"}, {800, ":GXE5#"}, {1000, ":=SD#"}, {1000, ":RG#"}, {1200, ":GXE7#"}}},
      {100, "Command13", {{100, ":SX97,1#"}, {1100, ":GXEP#"}, {2100, ":GXE4#"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    Rig rig;
    rig.openPort();
    rig.loop.at(c.at, [&] { rig.form.Click(c.button); });
    rig.form.Command11_Click();
    const Writes w = rig.port.timed();
    ASSERT_EQ(w.size(), 32u);  // the thirty queries and the pressed button's two commands
    EXPECT_EQ(Writes(w.begin() + 1, w.begin() + 1 + c.from1.size()), c.from1);
  }
}

TEST(ReadAll, ClosingTheWindowDuringAWaitEndsPromptlyAndWritesNothingMore) {
  Rig rig;
  rig.openPort();
  rig.loop.at(1000, [&] { rig.form.Form_Unload(); });
  rig.form.Command11_Click();
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_LE(rig.loop.nowMs, 1200);
  for (const auto& [t, bytes] : rig.port.timed()) EXPECT_LT(t, 1000) << bytes;
  rig.port.open();  // even a port that reopened would get nothing now
  rig.form.Command6_Click(17);
  rig.form.Click("Command1");
  EXPECT_EQ(rig.port.writes.size(), 3u);
}

TEST(ReadOne, SendsItsQueryUnderItsKindWithoutWaiting) {
  for (int index = 0; index <= 15; ++index) {
    Rig rig;
    rig.openPort();
    rig.form.Command5_Click(index);
    const Setting* s = settingByReadButton(index);
    ASSERT_TRUE(s);
    EXPECT_EQ(rig.port.sent(), std::vector<std::string>{std::string(s->query)});
    EXPECT_EQ(rig.form.ReplyKind(), s->replyKind);
    EXPECT_TRUE(rig.loop.waits.empty());
  }
  Rig rig;
  rig.form.Command5_Click(14);  // port closed: nothing sent, kind still set
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(rig.form.ReplyKind(), 21);
  rig.form.Command5_Click(16);
  EXPECT_EQ(rig.form.ReplyKind(), 17);
}

TEST(Reception, NotificationsAreAssembledIntoOneReply) {
  struct Case {
    std::vector<std::pair<int, std::string>> notifications;  // event, bytes
    std::string shown, buffered;
  };
  const Case cases[] = {
      {{{2, "+35"}}, "", "+35"},                  // a reply split over two notifications
      {{{2, "+35"}, {2, "*40#"}}, "+35*40", ""},  // shows only once complete
      {{{2, "+35*40#+1*00#"}}, "+35*40", ""},     // two in one: the first, the rest dropped
      {{{1, "+35*40#"}, {2, ""}}, "", ""},        // other events and empty reads: nothing
      {{{2,
         "a\xff"
         "b#"}},
       "a\xEF\xBF\xBD"
       "b",
       ""},  // invalid bytes as U+FFFD
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.notifications.back().second);
    Rig rig;
    rig.form.Command5_Click(6);  // latitude: shown as it comes
    for (const auto& [event, bytes] : c.notifications) rig.form.MSComm1_OnComm(event, bytes);
    EXPECT_EQ(rig.panel.text("Text1(6)"), c.shown);
    EXPECT_EQ(rig.form.RecvBuf(), c.buffered);
  }
}

// A run of 1024 bytes without "#" is noise: it goes, and so does what follows it up to the next
// "#", unless the tool writes a command first. A reply after it is shown exactly, nothing in front.
TEST(Reception, NoiseGoesUpToTheNextHashUnlessACommandIsWrittenFirst) {
  struct Case {
    bool queryAfterNoise;
    std::string after, shown;
  };
  const Case cases[] = {
      {true, "+123*45#", "+123*45"},      // the query ends the noise
      {false, "yy+1*00#", "old"},         // no write: the noise ends at its "#"
      {false, "yy#+123*45#", "+123*45"},  // and what follows that "#" is a reply again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    Rig rig;
    rig.openPort();
    rig.panel.texts["Text1(21)"] = "old";
    rig.form.Command5_Click(15);  // home azimuth: shown as it comes
    for (int i = 0; i < 512; ++i) rig.form.MSComm1_OnComm(2, std::string(4096, 'x'));  // 2 MiB
    EXPECT_EQ(rig.form.RecvBuf(), "");
    if (c.queryAfterNoise) rig.form.Command5_Click(15);
    rig.form.MSComm1_OnComm(2, c.after);
    EXPECT_EQ(rig.panel.text("Text1(21)"), c.shown);
    EXPECT_EQ(rig.form.RecvBuf(), "");
  }
}

TEST(Reception, AnOptionRowsAnswerAfterNoiseLightsTheLampItSays) {
  Rig rig;
  rig.openPort();
  FakeController ctl(rig.loop, rig.port, rig.form);
  ctl.answers[":GXEP#"] = "0";
  // 2000 bytes of noise between the switch and its read-back query.
  rig.loop.at(500, [&] { rig.form.MSComm1_OnComm(2, std::string(2000, 'x')); });
  rig.form.Click("Command13");  // buzzer ON; the controller says it stayed off
  EXPECT_EQ(rig.panel.lamp(13), kTeal);
  EXPECT_EQ(rig.panel.lamp(14), kMagenta);
}

TEST(Reception, ANotificationDuringTheYieldTakesTheReplyItself) {
  Rig rig;
  rig.form.Command5_Click(0);
  // The second notification arrives while the first handler lets events run.
  rig.loop.at(0, [&] { rig.form.MSComm1_OnComm(2, "0#"); });
  rig.form.MSComm1_OnComm(2, "40");
  EXPECT_EQ(rig.panel.text("Text1(0)"), "400");
  EXPECT_EQ(rig.form.RecvBuf(), "");
}

TEST(Set, EveryPressSetsKind100AndWritesAtMostOneCommand) {
  Rig rig;
  rig.openPort();
  rig.panel.texts["Text1(13)"] = "10*30";
  rig.form.Command6_Click(5);
  rig.panel.texts["Text1(0)"] = "501";
  rig.form.Command6_Click(0);
  rig.panel.texts["Combo3"] = " 1";
  rig.form.Command6_Click(16);
  rig.form.Command6_Click(21);
  rig.form.Command6_Click(-1);
  EXPECT_EQ(rig.port.sent(), (std::vector<std::string>{":Sh10#", ":=SG#", ":$PH1#"}));
  EXPECT_EQ(rig.form.ReplyKind(), 100);
  rig.form.MSComm1_OnComm(2, "1#");  // an answer to a write goes out of sight
  EXPECT_EQ(rig.panel.text("Text1(99)"), "1");
  EXPECT_TRUE(rig.loop.waits.empty());
}

TEST(Set, PortClosedSendsNothingNotEvenTheNotice) {
  Rig rig;
  rig.panel.texts["Text1(0)"] = "9999";
  rig.form.Command6_Click(0);
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(rig.form.ReplyKind(), 100);
}

TEST(Set, AnSsidThatWouldEndTheCommandIsRefusedWithAMessage) {
  Rig rig;
  rig.openPort();
  rig.panel.texts["Text1(23)"] = "ab#:Te";
  rig.form.Command6_Click(17);
  EXPECT_TRUE(rig.port.writes.empty());
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_FALSE(rig.op.messages[0].text.empty());
}

struct OptionCase {
  std::string button, command, query;
  int kind, onLamp, offLamp;
};
class OptionSwitch : public ::testing::TestWithParam<OptionCase> {};
TEST_P(OptionSwitch, SwitchesWaitsReadsBackWaitsAndTheAnswerMovesTheLamps) {
  const OptionCase& c = GetParam();
  for (const char* answer : {"1", "0"}) {
    Rig rig;
    FakeController ctl(rig.loop, rig.port, rig.form);
    rig.openPort();
    ctl.answers[c.query] = answer;
    rig.form.Click(c.button);
    EXPECT_EQ(rig.port.timed(), (Writes{{0, c.command}, {1000, c.query}}));
    EXPECT_DOUBLE_EQ(rig.loop.nowMs, 2000);
    EXPECT_EQ(rig.form.ReplyKind(), c.kind);
    const bool on = std::string(answer) == "1";
    EXPECT_EQ(rig.panel.lamp(c.onLamp), on ? kMagenta : kTeal);
    EXPECT_EQ(rig.panel.lamp(c.offLamp), on ? kTeal : kMagenta);
    EXPECT_EQ(rig.panel.text("Text1(25)"), "");
  }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, OptionSwitch,
    ::testing::Values(OptionCase{"Command15", ":SX95,1#", ":GX95#", 27, 9, 10},
                      OptionCase{"Command16", ":SX95,0#", ":GX95#", 27, 9, 10},
                      OptionCase{"Command21", ":TX#", ":GXEI#", 26, 7, 8},
                      OptionCase{"Command20", ":TY#", ":GXEI#", 26, 7, 8},
                      OptionCase{"Command17", ":SX98,1#", ":GXEQ#", 28, 11, 12},
                      OptionCase{"Command18", ":SX98,0#", ":GXEQ#", 28, 11, 12},
                      OptionCase{"Command13", ":SX97,1#", ":GXEP#", 29, 13, 14},
                      OptionCase{"Command14", ":SX97,0#", ":GXEP#", 29, 13, 14}));

TEST(OptionSwitch, PortClosedChangesOnlyTheKindAndTakesTwoSeconds) {
  Rig rig;
  rig.form.Click("Command13");
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_DOUBLE_EQ(rig.loop.nowMs, 2000);
  EXPECT_EQ(rig.form.ReplyKind(), 29);
  EXPECT_EQ(rig.panel.lamp(13), kGreen);
}

TEST(PolarHome, SendsThreeCommandsAndKeepsTheHomeSetButtonsDisabledThroughout) {
  Rig rig;
  FakeController ctl(rig.loop, rig.port, rig.form);
  rig.openPort();
  ctl.answers[":G1#"] = "35*40";
  ctl.answers[":G2#"] = "000*00";
  bool disabledMidway = false;
  rig.loop.at(4000, [&] {
    disabledMidway = !rig.panel.isEnabled("Command6(14)") && !rig.panel.isEnabled("Command6(15)");
  });
  rig.form.Command29_Click();
  EXPECT_EQ(rig.port.timed(), (Writes{{0, ":TH#"}, {1000, ":G1#"}, {1200, ":G2#"}}));
  EXPECT_DOUBLE_EQ(rig.loop.nowMs, 4200);
  EXPECT_TRUE(disabledMidway);
  EXPECT_TRUE(rig.panel.isEnabled("Command6(14)"));
  EXPECT_TRUE(rig.panel.isEnabled("Command6(15)"));
  EXPECT_EQ(rig.panel.text("Text1(20)"), "35*40");
  EXPECT_EQ(rig.panel.text("Text1(21)"), "000*00");
  EXPECT_EQ(rig.form.ReplyKind(), 22);
}

}  // namespace
}  // namespace korvane
