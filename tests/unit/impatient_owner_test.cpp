// The owner who does not wait: presses while the controller talks, types while a read runs, and a
// controller that answers slower than the pause, piece by piece, or not at all. The last press
// wins, what the owner typed stays, and every answer lands in its own row.

#include <gtest/gtest.h>

#include "backup/backup_keys.h"
#include "files/journal.h"
#include "kit/virtual_kit.h"
#include "protocol/catalogue.h"
#include "protocol/controls.h"

namespace korvane {
namespace {

using kit::Rig;
using Strings = std::vector<std::string>;

struct PressCase {
  const char* name;
  double answerMs;
  std::vector<std::pair<double, std::string>> presses;  // virtual time, control ("Text1(13)=15")
  std::function<void(Rig&)> check;
  friend void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }
};

// Presses at their times, then whatever runs until everything is done.
void play(Rig& rig, const PressCase& c) {
  for (const auto& [t, press] : c.presses) {
    rig.loop.at(t, [&rig, press = press] {
      if (const auto eq = press.find('='); eq != std::string::npos) {
        rig.panel.texts[press.substr(0, eq)] = press.substr(eq + 1);  // typed
      } else {
        rig.press(press);
      }
    });
  }
  rig.loop.drain();
}

Strings sentAfter(const Rig& rig, double t) {
  Strings out;
  for (const auto& [at, bytes] : rig.port.writes)
    if (at >= t) out.push_back(bytes);
  return out;
}

// The read of "接続" sends its thirty queries 400 ms apart from 0; ":GXEF#" (the RA direction)
// goes out at 6800, ":GXEH#" (the limit) at 7600, ":Gh#" (the horizon) at 5200.
const PressCase kPresses[] = {
    {"OffOnOffOnWhileIdle",
     50,
     {{0, "Command14"}, {200, "Command13"}, {400, "Command14"}, {600, "Command13"}},
     [](Rig& r) {
       // The first runs; of the three pressed during it, only the last is left to run.
       EXPECT_EQ(r.port.sent(), (Strings{":SX97,0#", ":GXEP#", ":SX97,1#", ":GXEP#"}));
       EXPECT_TRUE(r.controller.state().buzzer);
       EXPECT_EQ(r.panel.lamp(13), kMagenta);
     }},
    {"OffOnOffDuringConnect",
     50,
     {{0, "Command11"}, {100, "Command14"}, {200, "Command13"}, {300, "Command14"}},
     [](Rig& r) {
       EXPECT_EQ(sentAfter(r, 12000), (Strings{":SX97,0#", ":GXEP#"}));
       EXPECT_FALSE(r.controller.state().buzzer);
       EXPECT_EQ(r.panel.lamp(14), kMagenta);
     }},
    {"DirectionDuringConnectThenCalculator",
     300,
     {{0, "Command11"}, {6850, "Command2"}, {13000, "Command19"}},
     [](Rig& r) {
       EXPECT_FALSE(r.controller.state().raPlus);
       EXPECT_EQ(r.panel.lamp(2), kMagenta);  // minus, as chosen; the read's older "1" is not shown
       EXPECT_EQ(r.panel.lamp(1), kTeal);
       EXPECT_EQ(sentAfter(r, 13000).at(0), ":TB#");  // the calculator keeps the choice
       EXPECT_EQ(r.form.knownValue(backupPositionOfKey("ra_direction")), "0");
     }},
    {"LimitDuringConnect",
     300,
     {{0, "Command11"}, {7650, "Command7"}},  // after ":GXEH#"
     [](Rig& r) {
       EXPECT_FALSE(r.controller.state().limitStop);
       EXPECT_EQ(r.panel.lamp(6), kMagenta);
     }},
    {"TypedDuringConnectThenSet",
     50,
     {{0, "Command11"}, {1000, "Text1(13)=15"}, {13000, "Command6(5)"}},
     [](Rig& r) {
       EXPECT_EQ(r.panel.texts["Text1(13)"], "15");
       EXPECT_EQ(r.panel.texts["Text1(12)"], "85*00");  // the others as read
       EXPECT_EQ(sentAfter(r, 13000), Strings{":Sh15#"});
       ASSERT_EQ(r.op.messages.size(), 1u);  // told once, naming the field
       EXPECT_NE(r.op.messages[0].text.find("地平線"), std::string::npos);
       EXPECT_FALSE(r.panel.highlighted["Text1(13)"]);  // marked until its SET wrote it
     }},
    {"UserSaveDuringConnect",
     50,
     {{0, "Command11"}, {1000, "Command28"}},
     [](Rig& r) {
       EXPECT_FALSE(std::filesystem::exists(r.dir.path / "SetData.txt"));
       ASSERT_EQ(r.op.messages.size(), 2u);  // the question, then why nothing was saved
       EXPECT_NE(r.op.messages[1].text.find("赤経と赤緯"), std::string::npos);
     }},
};

class Presses : public testing::TestWithParam<PressCase> {};

TEST_P(Presses, TheLastPressWinsAndNothingTheOwnerDidIsOverwritten) {
  const PressCase& c = GetParam();
  Rig rig;
  rig.answerMs = c.answerMs;
  rig.open();
  play(rig, c);
  c.check(rig);
}

INSTANTIATE_TEST_SUITE_P(Cases, Presses, testing::ValuesIn(kPresses),
                         [](const auto& info) { return std::string(info.param.name); });

// A controller answering `delayMs` late, or a byte every `byteMs`, or ignoring one query: after
// "接続", a read button and the polar home position, every field and lamp holds what a prompt
// controller's read shows.
struct Delay {
  const char* name;
  double delayMs;
  double byteMs = 0;
  const char* ignored = "";  // a query never answered
  int messages = 0;          // told once a connection: answers late or missing
  friend void PrintTo(const Delay& d, std::ostream* os) { *os << d.name; }
};

void answerWith(Rig& rig, const Delay& d) {
  rig.port.onWrite = [&rig, d](std::string_view bytes) {
    for (const auto& ex : rig.controller.receive(bytes, sim::Millis(long(rig.loop.nowMs)))) {
      if (ex.reply.empty() || ex.command == d.ignored) continue;
      if (d.byteMs == 0) {
        rig.loop.after(d.delayMs, [&rig, reply = ex.reply] { rig.receive(reply); });
        continue;
      }
      for (std::size_t i = 0; i < ex.reply.size(); ++i) {
        rig.loop.after(d.delayMs + d.byteMs * double(i),
                       [&rig, b = ex.reply.substr(i, 1)] { rig.receive(b); });
      }
    }
  };
}

class Answers : public testing::TestWithParam<Delay> {};

TEST_P(Answers, EveryValueLandsInItsOwnRow) {
  const Delay& d = GetParam();
  Rig prompt, slow;
  prompt.open().press("Command11");
  prompt.press("Command29");
  answerWith(slow, d);
  slow.open().press("Command11");
  slow.press("Command5(0)");
  slow.press("Command29");
  slow.loop.drain();
  for (const Setting& s : kSettings) {
    if (s.field == kNoField || s.query.empty() || s.query == d.ignored) continue;
    if (s.key == "controller_date" || s.key == "controller_time") continue;  // read at other times
    EXPECT_EQ(slow.panel.text(fieldName(s.field)), prompt.panel.text(fieldName(s.field)))
        << s.caption;
  }
  for (int shape = 1; shape <= kLampCount; ++shape) {
    // The RA direction unanswered, and the Dec answer after it doubtful: both axes unknown, so
    // that nothing writes a direction from them.
    if (d.ignored == std::string(":GXEF#") && shape <= 4) {
      EXPECT_EQ(slow.panel.lamp(shape), kGreen) << "Shape" << shape;
      continue;
    }
    EXPECT_EQ(slow.panel.lamp(shape), prompt.panel.lamp(shape)) << "Shape" << shape;
  }
  EXPECT_EQ(slow.op.messages.size(), std::size_t(d.messages));
}

INSTANTIATE_TEST_SUITE_P(Delays, Answers,
                         testing::Values(Delay{"At0", 0}, Delay{"At250", 250}, Delay{"At399", 399},
                                         Delay{"At410", 410, 0, "", 1},
                                         Delay{"At800", 800, 0, "", 1},
                                         Delay{"AByteEvery45", 0, 45, "", 1},
                                         Delay{"RaDirectionIgnored", 50, 0, ":GXEF#", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Answers, ASilentControllerEndsTheReadInBoundedTime) {
  Rig rig;
  rig.answerMs = -1;
  rig.open();
  rig.panel.texts["Text1(5)"] = rig.panel.texts["Combo3"] = "keep";
  rig.press("Command11");
  // Two queries wait a second for their answers; then the controller counts as silent.
  EXPECT_EQ(rig.loop.nowMs, 30 * 400 + 2 * 600);
  EXPECT_TRUE(rig.panel.texts["Text1(5)"] == "keep" && rig.panel.texts["Combo3"] == "keep");
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_NE(rig.op.messages[0].text.find("答えがなかった"), std::string::npos);
  // Answering again: the next press's answer is its own query's, not a late one to doubt.
  rig.answerMs = 50;
  rig.press("Command5(0)");
  EXPECT_EQ(rig.form.knownValue(backupPositionOfKey("max_rate")), "400");
}

// Firmware that answers a little differently: a "1" acknowledging each command that is no query,
// a CR LF after each "#", a ":" before each answer, a "#" alone to keep the line alive. Every
// value still lands in its own field, and an acknowledgement in none, so that no SET writes it.
TEST(Firmware, AcknowledgementsLandNowhereAndFramingIsNotPartOfTheAnswer) {
  struct Framing {
    const char* before;
    const char* after;
  };
  for (const Framing f :
       {Framing{"", ""}, Framing{"", "\r\n"}, Framing{":", ""}, Framing{"", "#"}}) {
    Rig rig;
    rig.port.onWrite = [&](std::string_view bytes) {
      for (const auto& ex : rig.controller.receive(bytes, sim::Millis(long(rig.loop.nowMs)))) {
        const std::string reply = ex.reply.empty() ? "1#" : ex.reply;
        rig.loop.after(50, [&rig, r = f.before + reply + f.after] { rig.receive(r); });
      }
    };
    rig.open().press("Command5(12)");  // 天頂
    rig.press("Command5(5)");          // 経度
    for (const char* ack : {"Command2", "Command7", "Command10", "Command34", "Command31"})
      rig.press(ack);
    rig.loop.drain();
    EXPECT_EQ(rig.panel.texts["Text1(12)"], "85*00") << f.before << f.after;
    EXPECT_EQ(rig.panel.texts["Text1(5)"], "+139*44") << f.before << f.after;
    rig.port.writes.clear();
    rig.press("Command6(6)");
    EXPECT_EQ(rig.port.sent(), Strings{":So85#"});
  }
}

// Presses dropped by a pulled cable, "切断" or another port are named in one message with the
// cause.
TEST(DroppedPresses, AreNamedInOneMessageWithTheirCause) {
  for (const auto& [cause, said] :
       {std::pair{"cable", "通信が切れました"}, std::pair{"Command12", "切断したため、"},
        std::pair{"COM2", "ポートを変えたため、"}}) {
    Rig rig;
    rig.open();
    rig.loop.at(100, [&] {
      for (const char* press : {"Command14", "Command5(0)", "Command29", "Command13"})
        rig.press(press);
    });
    rig.loop.at(1000, [&, cause = std::string(cause)] {
      if (cause == "cable") {  // the adapter closes the port and tells of it
        rig.port.close();
        rig.loop.post([&] { rig.form.Port_Lost(); });
      } else if (cause == "COM2") {
        rig.panel.texts["Combo1"] = cause;
        rig.form.Combo1_LostFocus();
      } else {
        rig.press(cause);
      }
    });
    rig.press("Command11");
    rig.loop.drain();
    EXPECT_EQ(rig.loop.nowMs, 1200) << cause;  // the read ends with the pause in hand
    ASSERT_EQ(rig.op.messages.size(), 1u) << cause;
    const std::string& text = rig.op.messages[0].text;
    EXPECT_NE(text.find(said), std::string::npos) << text;
    for (const char* name : {"自動導入時　ブザー音 ON", "MaxRate", "極北ホームポジション"})
      EXPECT_NE(text.find(name), std::string::npos) << name;
    EXPECT_EQ(text.find("ブザー音 OFF"), std::string::npos);  // gave way to ON
  }
}

}  // namespace
}  // namespace korvane
