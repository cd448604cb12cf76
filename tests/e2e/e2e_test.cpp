// The real shell (QSerialPort adapter, nested-loop Wait, widgets offscreen) against the simulator
// on a pseudo-terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "e2e/tool.h"
#include "protocol/catalogue.h"
#include "support/sim_process.h"
#include "ui/busy_window.h"

namespace korvane {
namespace {

using testing::SimProcess;

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long rssKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
  }
  return 0;
}

TEST(EndToEnd, ConnectReadsEverySettingInOrderFourHundredMsApart) {
  Tool tool;
  SimProcess sim({}, tool.link());
  tool.press("Command11");
  tool.loop.Wait(600);
  const auto log = sim.log();
  ASSERT_EQ(log.size(), kReadAllOrder.size());
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].command, settingByKind(kReadAllOrder[i])->query) << i;
    // Pacing, loosely: the log times when the simulator read a query, which a busy machine
    // delays; korvane-bench measures the spacing itself.
    if (i > 0) {
      EXPECT_GT(log[i].ms - log[i - 1].ms, 250) << i;
    }
  }
  EXPECT_GE(log.back().ms - log.front().ms, 29 * 400 - 20);
  // What each answer becomes is dispatch's; here the answers reach the window, to the last one.
  EXPECT_EQ(tool.text("Text1(0)"), "400");
  EXPECT_EQ(tool.text("Text1(5)"), "+139*44");  // the controller's -139*44, shown the Japanese way
  EXPECT_EQ(tool.text("Combo3"), "6");
  EXPECT_EQ(tool.text("Text1(25)"), "stargazer");
  EXPECT_TRUE(tool.op.messages.empty());
}

TEST(EndToEnd, APortThatCannotBeOpenedGivesOneMessageAndSendsNothing) {
  Tool tool;
  SimProcess sim({}, tool.link(2));  // a controller on port 2; the tool stays on port 1
  tool.op.whileShown = [&] { tool.loop.quit(); };  // end the 12 s read at once
  QElapsedTimer clock;
  clock.start();
  tool.press("Command11");
  EXPECT_LT(clock.elapsed(), 3000);
  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_EQ(tool.op.messages[0].text, "現在使用できるポートがありません。");
  EXPECT_EQ(tool.op.messages[0].title, "通信エラー");
  EXPECT_FALSE(tool.port.isOpen());
  EXPECT_TRUE(sim.log().empty());
}

TEST(EndToEnd, AHangUpClosesThePortOnceLeavesTheToolIdleAndAReconnectWorks) {
  Tool tool;
  {
    SimProcess sim({"--hangup-after", "2"}, tool.link());
    ASSERT_TRUE(tool.openPort());
    tool.press("Command5(0)");
    tool.loop.Wait(300);
    tool.press("Command5(1)");  // the simulator hangs up after this one
    tool.loop.Wait(500);
    EXPECT_EQ(tool.text("Text1(0)"), "400");
    EXPECT_FALSE(tool.port.isOpen());
    ASSERT_EQ(tool.op.messages.size(), 1u);
    EXPECT_EQ(tool.op.messages[0].title, "通信エラー");

    const double before = cpuSeconds();
    tool.loop.Wait(2000);
    EXPECT_LT(cpuSeconds() - before, 0.1) << "the tool should sleep after a hang-up";
    EXPECT_EQ(tool.op.messages.size(), 1u);
    tool.press("Command1");  // the window still answers
    EXPECT_EQ(tool.window.lamp(1), kMagenta);
  }
  SimProcess again({}, tool.link());
  ASSERT_TRUE(tool.openPort());
  tool.press("Command5(2)");
  tool.loop.Wait(300);
  EXPECT_EQ(tool.text("Text1(2)"), "2133");
  EXPECT_EQ(tool.op.messages.size(), 1u);
}

TEST(EndToEnd, AMegabyteOfGarbageNeitherGrowsMemoryNorFreezesTheWindow) {
  Tool tool;
  SimProcess sim({"--flood", "1048576"}, tool.link());
  const long rssBefore = rssKb();
  tool.form.COMM1open();
  tool.press("Command5(0)");
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 20; ++i) tool.loop.Wait(100);
  EXPECT_LT(clock.elapsed(), 4000) << "waits must keep returning during the flood";
  EXPECT_LE(tool.form.RecvBuf().size(), Form1::kRecvBufLimit);
#if !defined(__SANITIZE_ADDRESS__)  // AddressSanitizer holds freed memory back on purpose
  EXPECT_LT(rssKb() - rssBefore, 16 * 1024);
#endif
  tool.press("Command3");
  EXPECT_EQ(tool.window.lamp(3), kMagenta);
}

TEST(EndToEnd, WhatASetButtonWritesIsWhatTheNextReadShows) {
  Tool tool;
  SimProcess sim({}, tool.link());
  tool.form.COMM1open();
  struct Row {
    const char* field;
    const char* typed;
    const char* set;
    const char* read;
    const char* shown;
  };
  // What each text is written as is the SET table's; here two rows make the round trip.
  for (const Row& row : {Row{"Text1(1)", "5400.7", "Command6(1)", "Command5(1)", "5400"},
                         Row{"Text1(5)", "+135*30", "Command6(11)", "Command5(5)", "+135*30"}}) {
    tool.window.setText(row.field, row.typed);
    tool.press(row.set);
    tool.loop.Wait(100);
    tool.window.setText(row.field, "");
    tool.press(row.read);
    tool.loop.Wait(300);
    EXPECT_EQ(tool.text(row.field), row.shown) << row.field;
  }
  const auto log = sim.log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].command, ":$PB5400#");
  EXPECT_EQ(log[2].command, ":Sg-135*30#");
}

TEST(EndToEnd, AnOptionSwitchLightsTheLampTheControllerReports) {
  Tool tool;
  SimProcess sim({}, tool.link());
  tool.form.COMM1open();
  tool.press("Command14");  // buzzer OFF
  EXPECT_EQ(tool.window.lamp(14), kMagenta);
  EXPECT_EQ(tool.window.lamp(13), kTeal);
  tool.press("Command13");  // buzzer ON
  EXPECT_EQ(tool.window.lamp(13), kMagenta);
  EXPECT_EQ(tool.window.lamp(14), kTeal);
  const auto log = sim.log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[2].command, ":SX97,1#");
  EXPECT_EQ(log[3].command, ":GXEP#");
  EXPECT_GT(log[3].ms - log[2].ms, 900);
}

TEST(EndToEnd, APresetWritesDirectionsAndStepsBehindTheBusyWindow) {
  Tool tool;
  SimProcess sim({}, tool.link());
  tool.form.COMM1open();
  bool lockedDuring = false;
  QTimer::singleShot(1200, [&] {
    lockedDuring = !tool.window.isEnabled() && tool.window.busyWindow()->isVisible();
  });
  tool.window.setText("Combo2", "AP");
  tool.form.Combo2_Click();
  EXPECT_TRUE(lockedDuring);
  EXPECT_TRUE(tool.window.isEnabled());
  EXPECT_FALSE(tool.window.busyWindow()->isVisible());
  ASSERT_TRUE(sim.waitForCommands(9, std::chrono::seconds(2)));
  const auto log = sim.log();
  const std::vector<std::string> want{":TB#",      ":TC#",      ":TB#",      ":TC#",     ":$PA400#",
                                      ":$PB1450#", ":$PC1450#", ":$PD3626#", ":$PE3626#"};
  ASSERT_EQ(log.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(log[i].command, want[i]);
    if (i >= 3) {
      EXPECT_GT(log[i].ms - log[i - 1].ms, 200) << i;  // read times; a busy machine delays them
    }
  }
  EXPECT_GE(log.back().ms - log[2].ms, 6 * 500 - 20);
  tool.press("Command5(1)");
  tool.loop.Wait(300);
  EXPECT_EQ(tool.text("Text1(1)"), "1450");
}

// The far end of a pseudo-terminal, written by the test itself at chosen moments.
class ScriptedLine {
 public:
  explicit ScriptedLine(const std::string& link) : master_(::posix_openpt(O_RDWR | O_NOCTTY)) {
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
      throw std::runtime_error("pseudo-terminal");
    }
    std::filesystem::create_symlink(name, link);
  }
  ~ScriptedLine() { ::close(master_); }
  void sayAt(int ms, std::string bytes) {
    QTimer::singleShot(ms, [this, bytes] {
      EXPECT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    });
  }

 private:
  int master_;
};

// A button pressed in the same instant as the first bytes of a reply runs inside the receive
// handler's yield, and waits there; the replies that arrive during its waits are taken as they
// come, each under the kind set last, not held back until some later byte.
TEST(EndToEnd, RepliesDuringAHandlerStartedInsideTheReceiveYieldAreTakenWhenTheyArrive) {
  Tool tool;
  ScriptedLine line(tool.link());
  ASSERT_TRUE(tool.openPort());
  tool.press("Command5(0)");  // MaxRate
  bool pressed = false;
  const auto receive = tool.port.onReceived;
  tool.port.onReceived = [&](std::string_view bytes) {
    if (!std::exchange(pressed, true)) {
      // Buzzer "ON": a switch, two 1000 ms waits around its read-back query.
      QMetaObject::invokeMethod(
          &tool.window, [&] { tool.press("Command13"); }, Qt::QueuedConnection);
    }
    receive(bytes);
  };
  struct Seen {
    std::string buffer;
    Colour on, off;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  auto lookAt = [&](int ms) {
    QTimer::singleShot(ms, [&] {
      seen.push_back({tool.form.RecvBuf(), tool.window.lamp(13), tool.window.lamp(14)});
    });
  };
  line.sayAt(0, "40");
  line.sayAt(60, "0#");  // "400", under the switch's kind by now: not a 0, so ON
  lookAt(500);
  line.sayAt(1400, "0#");  // the read-back: the buzzer is off
  lookAt(1700);
  line.sayAt(2600, "5#");  // after the switch: still its kind
  lookAt(2900);
  tool.loop.Wait(3100);
  EXPECT_EQ(seen, (std::vector<Seen>{
                      {"", kMagenta, kTeal}, {"", kTeal, kMagenta}, {"", kMagenta, kTeal}}));
  EXPECT_EQ(tool.form.ReplyKind(), 29);
}

TEST(EndToEnd, AWaitOfZeroLetsPendingEventsRun) {
  Tool tool;
  bool ran = false;
  QMetaObject::invokeMethod(
      &tool.window, [&] { ran = true; }, Qt::QueuedConnection);
  tool.loop.Wait(0);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
