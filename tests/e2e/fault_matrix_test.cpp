// The fault matrix: the real shell against the simulator's fault modes, the window closed or
// other buttons pressed in a wait, ports that cannot be opened, local files that are damaged or
// cannot be written; and what the real event loop adds to the handlers. Every wait is bounded,
// and a duration is checked only against the tool's own waits, with a wide margin.

#include <fcntl.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <set>

#include "app/backup_sequences.h"
#include "app/port_names.h"
#include "e2e/tool.h"
#include "protocol/catalogue.h"
#include "qt/busy_window.h"
#include "qt/port_facts.h"
#include "support/conditions.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::SimProcess;
using Strings = std::vector<std::string>;

// The tool's "korvane.serial" log lines without their time ("sent :GXE1#", "open failed ..."),
// and hooks run from the event loop right after the n-th command starting with a prefix is
// written: inside the wait that follows the write, with no clock needed.
class SerialTrace {
 public:
  SerialTrace() : previous_(qInstallMessageHandler(&SerialTrace::handle)) {
    current_ = this;
    QLoggingCategory::setFilterRules("korvane.serial.debug=true");
  }
  ~SerialTrace() {
    QLoggingCategory::setFilterRules("korvane.serial.debug=false");
    qInstallMessageHandler(previous_);
    current_ = nullptr;
  }
  void afterSent(std::string prefix, int n, std::function<void()> fn) {
    hooks_.push_back({"sent " + prefix, n, std::move(fn)});
  }
  Strings lines;

 private:
  struct Hook {
    std::string prefix;
    int n;
    std::function<void()> fn;
  };
  static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!context.category || std::strcmp(context.category, "korvane.serial") != 0)
      return current_->previous_(type, context, message);  // installed only while current_ is
    const std::string line = message.toStdString();
    current_->lines.push_back(line.substr(line.find(' ') + 1));
    for (Hook& hook : current_->hooks_) {
      if (current_->lines.back().starts_with(hook.prefix) && --hook.n == 0)
        QTimer::singleShot(0, &current_->context_, hook.fn);  // dropped with the trace
    }
  }
  inline static SerialTrace* current_ = nullptr;
  QtMessageHandler previous_;
  QObject context_;
  std::vector<Hook> hooks_;
};

// Descriptors of this process on the device (a pseudo-terminal whose far end has gone shows as
// deleted): a closed port leaves none.
int descriptorsOn(const std::string& device) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const std::string target = fs::read_symlink(entry.path(), ec).string();
    count += target == device || target == device + " (deleted)";
  }
  return count;
}
void pick(Tool& tool, const char* preset) {  // from the list, as the mouse picks
  auto* box = tool.window.findChild<QComboBox*>("Combo2");
  box->setCurrentIndex(box->findText(preset));
  emit box->activated(box->currentIndex());
}
void mouseClick(Tool& tool, const char* name) {  // a disabled button, or window, takes none
  QTest::mouseClick(tool.window.control(name), Qt::LeftButton);
}
Strings text1s(std::vector<int> indices) {
  Strings out;
  for (int i : indices) out.push_back("Text1(" + std::to_string(i) + ")");
  return out;
}
void setFields(Tool& tool, const Strings& fields, const char* text) {
  for (const std::string& field : fields) tool.window.setText(field, text);
}
constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };
// A failing case is named in words, not as "168-byte object <70-BD …>".
template <typename Case>
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

// ==========================================================================================
// A sequence started on an open port from the main event loop, as a click starts it, against
// the simulator in a fault mode; it runs out, the controller hangs up, or the window is closed.

enum class End { kRunsOut, kLineLost, kWindowClosed };
struct Press {
  std::string after;  // pressed in the wait after the n-th command starting so
  int n;
  std::function<void(Tool&)> press;
};
struct Sequence {
  const char* name;
  End end;
  Strings sim;  // the simulator's fault options
  std::function<void(Tool&)> start;
  Strings wire;  // what reaches the controller, by prefix
  // kLineLost: the least the sequence lasts; kWindowClosed: the wait the window closes in.
  double ms = 0;
  int closeAfter = 0;  // the window closes in the wait after this many commands
  std::vector<Press> presses = {};
  std::function<void(Tool&)> check = nullptr;
};

void run(const Sequence& c) {
  Tool tool;
  SimProcess sim(c.sim, tool.link());
  ASSERT_TRUE(tool.openPort());
  SerialTrace trace;
  for (const Press& p : c.presses) trace.afterSent(p.after, p.n, [&tool, &p] { p.press(tool); });
  QElapsedTimer clock;
  qint64 closedAt = -1, returnedAt = -1;
  trace.afterSent("", c.closeAfter, [&] {
    closedAt = clock.elapsed();
    tool.window.close();
  });
  QTimer::singleShot(0, &tool.window, [&] {
    c.start(tool);
    returnedAt = clock.elapsed();
    QCoreApplication::exit();
  });
  QTimer::singleShot(30000, &tool.window, [&] { tool.loop.quit(); });  // a hang fails, not stalls
  clock.start();
  QApplication::exec();  // as in the program: closing the window must end it
  const qint64 endedAt = clock.elapsed();
  QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
  // A simulator still writing a flood into a busy line reads the commands after it late: wait
  // for those the sequence should have sent, then see that nothing more comes.
  sim.waitForCommands(c.wire.size(), std::chrono::seconds(20));
  QTest::qWait(300);

  ASSERT_GE(returnedAt, 0) << "the handler has not returned";
  const Strings wire = sim.commands();
  ASSERT_EQ(wire.size(), c.wire.size()) << ::testing::PrintToString(wire);
  for (std::size_t i = 0; i < wire.size(); ++i)
    EXPECT_TRUE(wire[i].starts_with(c.wire[i])) << wire[i];
  ASSERT_EQ(tool.op.messages.size(), c.end == End::kLineLost ? 1u : 0u) << "one message, once";
  for (const auto& m : tool.op.messages) EXPECT_EQ(m.title, "通信エラー");
  EXPECT_EQ(tool.port.isOpen(), c.end == End::kRunsOut);
  EXPECT_EQ(descriptorsOn(sim.slavePath()), c.end == End::kRunsOut ? 1 : 0) << "open or not";
  if (c.end == End::kWindowClosed) {
    EXPECT_TRUE(tool.form.ending());
    // The close comes within the waits before it, at the start of a wait, which must not run on.
    EXPECT_LT(closedAt, c.closeAfter * c.ms + 2000) << "the sequence stalled before the close";
    EXPECT_LT(endedAt - closedAt, c.ms / 2) << "the program sat out the wait in progress";
  } else {
    EXPECT_GE(returnedAt, c.ms) << "the sequence must run through its waits";
    EXPECT_LT(endedAt, 30000);
    EXPECT_TRUE(tool.window.isEnabled() && tool.window.isEnabled("Command19"));
  }
  EXPECT_FALSE(tool.window.busyWindow()->isVisible());
  if (c.check) c.check(tool);
}

auto pressing(const char* button) {
  return [button](Tool& tool) { tool.press(button); };
}
const Strings kFirstFive{":GXE1#", ":GXE4#", ":GXE5#", ":GXE7#", ":GXEE#"};  // of "接続"

class HangUp : public ::testing::TestWithParam<Sequence> {};
TEST_P(HangUp, OneMessageThePortClosedAndTheSequenceRunsOutWithoutWriting) {
  run(GetParam());
}
// clang-format off
// (A hang-up during "接続" is the shell contract's, run against both windows.)
INSTANTIATE_TEST_SUITE_P(FaultMatrix, HangUp, ::testing::Values(
    // Buzzer ON: the line goes in the wait after the switch, so the read-back is not sent, and
    // the switch ends with that wait. A controller on the line again is then reached as before.
    Sequence{"DuringOptionSwitchWait", End::kLineLost, {"--hangup-after", "1"}, pressing("Command13"), {":SX97,1#"},
             1000, 0, {}, [](Tool& tool) {
      SimProcess again({}, tool.link());
      ASSERT_TRUE(tool.openPort());
      tool.press("Command5(2)");
      tool.loop.Wait(300);
      EXPECT_EQ(tool.window.text("Text1(2)"), "2133");
    }}), caseName);

class CloseDuringWait : public ::testing::TestWithParam<Sequence> {};
TEST_P(CloseDuringWait, ThePortClosesNothingMoreIsWrittenAndTheProgramEnds) { run(GetParam()); }
INSTANTIATE_TEST_SUITE_P(FaultMatrix, CloseDuringWait, ::testing::Values(
    Sequence{"ReadAll",             End::kWindowClosed, {}, pressing("Command11"), {":GXE1#", ":GXE4#", ":GXE5#"}, 400, 3},
    // The longest wait of all: 3000 ms after the home azimuth query.
    Sequence{"PolarHomeLastWait",   End::kWindowClosed, {}, pressing("Command29"), {":TH#", ":G1#", ":G2#"}, 3000, 3}),
    caseName);

// Another button pressed in a wait. A command without an answer runs inside the wait and the
// sequence goes on; a press with queries of its own waits until the sequence has ended, so that
// every answer is filed under its own query.
class PressDuringWait : public ::testing::TestWithParam<Sequence> {};
TEST_P(PressDuringWait, ACommandRunsInsideTheWaitAQueryAfterTheSequence) { run(GetParam()); }
INSTANTIATE_TEST_SUITE_P(FaultMatrix, PressDuringWait, ::testing::Values(
    // "接続" again in the first wait of "接続": the second read starts after the first has heard
    // its last answer; every field shows its own setting.
    Sequence{"ReadAllWait", End::kWindowClosed, {}, pressing("Command11"),
             [] { Strings w; for (auto* s : readAllSequence()) w.emplace_back(s->query); w.emplace_back(":GXE1#"); return w; }(),
             400, 31, {{":GXE1#", 1, pressing("Command11")}}, [](Tool& tool) {
               EXPECT_EQ(tool.window.text("Text1(1)") + " " + tool.window.text("Text1(16)"), "2133 1"); }},
    // A press in each of its three waits; in the last the home altitude SET, which the sequence
    // has disabled, is clicked too: nothing.
    Sequence{"PolarHomeWaits", End::kRunsOut, {}, pressing("Command29"), {":TH#", ":RC#", ":G1#", ":TJ#", ":G2#", ":RS#"}, 0, 0,
             {{":TH#", 1, pressing("Command31")}, {":G1#", 1, pressing("Command37")},
              {":G2#", 1, [](Tool& tool) { mouseClick(tool, "Command6(14)"); tool.press("Command33"); }}},
             [](Tool& tool) { EXPECT_TRUE(tool.window.isEnabled("Command6(14)") && tool.window.isEnabled("Command6(15)")); }},
    // The send phase disables the main window: clicks have no effect.
    // The preset AP: its directions, then the calculator's, MaxRate and the four step settings.
    Sequence{"CalculatorWaitsWithTheWindowDisabled", End::kRunsOut, {}, [](Tool& tool) { pick(tool, "AP"); },
             {":TB#", ":TC#", ":TB#", ":TC#", ":$PA400#", ":$PB", ":$PC", ":$PD", ":$PE"}, 0, 0,
             {{":TB#", 2, [](Tool& tool) { mouseClick(tool, "Command31"); }},
              {":$PA", 1, [](Tool& tool) { for (auto b : {"Command1", "Command5(0)", "Command28"}) mouseClick(tool, b); }}},
             [](Tool& tool) { EXPECT_EQ(tool.window.lamp(2), kMagenta) << "赤経+ was taken"; }},
    // "Set" pressed again in its own pause, and "APモード" in the inner pause.
    Sequence{"ClockWait", End::kRunsOut, {}, pressing("Command34"), {":SC", ":SC", ":TG#", ":=SE#", ":SL", ":SL"}, 0, 0,
             {{":SC", 1, pressing("Command34")}, {":SC", 2, pressing("Command35")}}}),
    caseName);
// clang-format on

// Five reads, and a click, while the controller floods the line with noise.
void readFiveUnderNoise(Tool& tool) {
  setFields(tool, text1s({0, 1, 2, 3, 4}), "old");
  std::size_t largest = 0;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout,
                   [&] { largest = std::max(largest, tool.form.RecvBuf().size()); });
  sampler.start(5);
  QElapsedTimer clock;
  clock.start();
  for (const char* read :
       {"Command5(0)", "Command5(1)", "Command5(2)", "Command5(3)", "Command5(4)"}) {
    tool.press(read);
    tool.loop.Wait(250);
  }
  // The first two reads wait a second each for an answer that does not come; then the controller
  // counts as silent and the rest take their pause only.
  EXPECT_LT(clock.elapsed(), 5 * 250 + 2 * (kAnswerBoundMs - kReadAllWaitMs) + 3000)
      << "a window busy with the noise takes far longer";
  mouseClick(tool, "Command3");  // the window still takes a click, and the line its command
  EXPECT_EQ(tool.window.lamp(3), kMagenta);
  for (const std::string& field : text1s({0, 1, 2, 3, 4}))
    EXPECT_EQ(tool.window.text(field), "old");
  EXPECT_LE(largest, Form1::kRecvBufLimit);
  // Told once that the controller does not answer, not once a read.
  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_NE(tool.op.messages[0].text.find("答えがなかった"), std::string::npos);
  tool.op.messages.clear();
}
// What the fields show of answers that come a byte at a time, or after a flood of noise. (Late,
// missing and acknowledged answers are the virtual-time tests'.)
class Answers : public ::testing::TestWithParam<Sequence> {};
TEST_P(Answers, TheFieldsShowWhatArrivedAsTheirRowsSayAndTheWindowKeepsAnswering) {
  run(GetParam());
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(FaultMatrix, Answers, ::testing::Values(
    // An answer is shown once it is whole; the sign is turned on the whole answer only.
    Sequence{"OneByteAtATime", End::kRunsOut, {"--split-gap", "20"}, [](Tool& tool) {
      Strings changes;
      QObject listening;
      for (const std::string& name : text1s({1, 5})) {
        QObject::connect(qobject_cast<QLineEdit*>(tool.window.control(name)), &QLineEdit::textChanged, &listening,
                         [&](const QString& text) { changes.push_back(text.toStdString()); });
      }
      for (const char* read : {"Command5(1)", "Command5(5)"}) {  // "2133#", "-139*44#"
        tool.press(read);
        tool.loop.Wait(400);
      }
      EXPECT_EQ(changes, Strings({"2133", "+139*44"}));
    }, {":GXE4#", ":Gg#"}},
    Sequence{"SixteenMebibytesAtOnce", End::kRunsOut, {"--flood", "16777216", "--silent"}, readFiveUnderNoise,
             {":GXE1#", ":GXE4#", ":GXE5#", ":GXE7#", ":GXEE#", ":TC#"}}),
    caseName);
// clang-format on

// ==========================================================================================
// A port that cannot be opened: one message, and nothing is sent.

// Another copy of the program reading everything from port 1 of portFolder: it holds the port
// from the moment its first query reaches the controller.
std::shared_ptr<void> otherCopy(Tool& tool, SimProcess& sim, const fs::path& portFolder) {
  const fs::path data = tool.dir.path / "other-data";
  fs::create_directories(data);
  auto holder = std::make_shared<testing::PortHolder>(
      Strings{KORVANE_SETTEI_PATH, "--port-dir", portFolder.string(), "--data-dir", data.string(),
              "--read-and-screenshot", (data / "shot.png").string()},
      (portFolder / "COM1").string());
  EXPECT_TRUE(sim.waitForCommands(1, std::chrono::seconds(10))) << "the other copy is not reading";
  return holder;
}

struct Unusable {
  const char* name;
  int error;          // why the open fails: this errno, or 0 for another process holding it
  bool ordinaryUser;  // "接続" is pressed as uid 65534 rather than root
  const char* found;  // what the search says of the port
  // Makes port 1 unusable; what it returns keeps it so for the test.
  std::function<std::shared_ptr<void>(Tool&, std::unique_ptr<SimProcess>&)> make;
};
class UnusablePort : public ::testing::TestWithParam<Unusable> {};
TEST_P(UnusablePort, OneMessageAndNothingSent) {
  Tool tool;
  std::unique_ptr<SimProcess> sim;
  const auto keep = GetParam().make(tool, sim);
  SerialTrace trace;
  tool.op.whileShown = [&] { tool.loop.quit(); };  // end the 12 s read at once
  {
    std::optional<testing::AsOrdinaryUser> user;
    if (GetParam().ordinaryUser) {
      ASSERT_TRUE(user.emplace().ok());
    }
    tool.press("Command11");
    // The search names the port with its reason, and takes nothing from another program.
    tool.op.whileShown = nullptr;
    tool.form.setPortsPresent([] { return std::vector<int>{1}; });
    tool.form.Find_Controller(
        tool.port.events, [](int) { return "d"; }, [](int, int, int) { return true; });
  }
  ASSERT_EQ(tool.op.messages.size(), 2u);
  EXPECT_NE(tool.op.messages[1].text.find(std::string("COM1  d: ") + GetParam().found),
            std::string::npos)
      << tool.op.messages[1].text;
  tool.op.messages.pop_back();
  // The port list's tooltip says whether the device is there, a link's target for a link.
  EXPECT_EQ(PortFactsOf(tool.link(), {}).present, fs::exists(tool.link()));
  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_EQ(tool.op.messages[0].text, "現在使用できるポートがありません。");
  EXPECT_EQ(tool.op.messages[0].title, "通信エラー");
  // Nothing sent, and each case fails for its own reason, not for an incidental one.
  const char* reason =
      GetParam().error ? std::strerror(GetParam().error) : "held by another process";
  ASSERT_EQ(trace.lines.size(), 2u) << ::testing::PrintToString(trace.lines);
  EXPECT_TRUE(trace.lines[0].starts_with("open failed ")) << trace.lines[0];
  EXPECT_NE(trace.lines[0].find(reason), std::string::npos) << trace.lines[0];
  if (sim) {  // only the other copy's own read reached the controller: its queries, none twice
    EXPECT_EQ(descriptorsOn(sim->slavePath()), 0);
    const Strings log = sim->commands();
    if (!GetParam().error || GetParam().error == EBUSY) {
      EXPECT_EQ(log.at(0), ":GXE1#");
    }
    EXPECT_EQ(std::set<std::string>(log.begin(), log.end()).size(), log.size());
  }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(FaultMatrix, UnusablePort, ::testing::Values(
    Unusable{"DeviceMissing", ENOENT, false, "開けません", [](Tool&, auto&) { return nullptr; }},
    Unusable{"LinkToNowhere", ENOENT, false, "開けません", [](Tool& tool, auto&) {
      fs::create_symlink("/dev/ttyKorvaneNone", tool.link());
      return nullptr;
    }},
    Unusable{"NotATerminal", ENOTTY, false, "開けません", [](Tool& tool, auto&) {
      std::ofstream(tool.link()) << ":GXE1#";
      return nullptr;
    }},
    // Root sees the other copy among the device's holders, and opens nothing.
    Unusable{"InUseByAnotherCopyOfTheTool", 0, false, "ほかのプログラムが使用中", [](Tool& tool, std::unique_ptr<SimProcess>& sim) {
      sim = std::make_unique<SimProcess>(Strings{}, tool.link());
      return otherCopy(tool, *sim, tool.dir.path);
    }},
    // The other copy reaches the device through a link of its own, so the lock files differ;
    // Qt's TIOCEXCL on the open device refuses any user but root.
    // A device of root's, as /dev/ttyUSB0 is for a user outside the dialout group.
    Unusable{"NotPermittedForAnOrdinaryUser", EACCES, true, "開く権限がありません", [](Tool& tool, std::unique_ptr<SimProcess>& sim) {
      sim = std::make_unique<SimProcess>(Strings{}, tool.link());
      fs::permissions(tool.dir.path, fs::perms(0755));
      return nullptr;
    }},
    Unusable{"InUseThroughAnotherPathForAnOrdinaryUser", EBUSY, true, "ほかのプログラムが使用中", [](Tool& tool, std::unique_ptr<SimProcess>& sim) {
      sim = std::make_unique<SimProcess>(Strings{}, tool.link());
      fs::create_directory(tool.dir.path / "other-ports");
      fs::create_symlink(sim->slavePath(), tool.dir.path / "other-ports" / "COM1");
      fs::permissions(sim->slavePath(), fs::perms(0666));  // as for a member of its group
      fs::permissions(tool.dir.path, fs::perms(0755));
      return otherCopy(tool, *sim, tool.dir.path / "other-ports");
    }}), caseName);
// clang-format on

// ==========================================================================================
// Finding the controller among real pseudo-terminals: the simulator behind a port above the
// list's own, a silent one, another device, a link to nothing. One query reaches each device
// that opens and nothing after it; every port is closed again; the found port then opens.

TEST(FindController, FindsTheSimulatorAmongOtherPortsAndLeavesEveryPortClosed) {
  Tool tool;
  SimProcess silent({"--silent"}, tool.link(2)), modem({"--modem"}, tool.link(3));
  SimProcess controller({}, tool.link(21));
  fs::create_symlink("/dev/ttyKorvaneNone", tool.link(4));
  tool.form.setPortsPresent([&] {  // the folder's links only: no port of this machine's own
    return PortsPresent(tool.dir.path, ExistsOnDisk, [](const fs::path&) { return false; });
  });
  tool.form.Form_Load();
  auto* box = tool.window.findChild<QComboBox*>("Combo1");
  ASSERT_EQ(box->itemText(box->count() - 1), "COM21");
  const auto descriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = descriptors();
  std::map<int, qint64> started;  // each port's start, from the search's progress
  QElapsedTimer clock;
  clock.start();
  const auto find = [&](qint64 cancelAt) {
    tool.form.Find_Controller(
        tool.port.events, [](int) { return "d"; },
        [&](int, int, int n) {
          started.emplace(n, clock.elapsed());
          return clock.elapsed() < cancelAt;
        });
  };
  find(1'000'000);
  EXPECT_LE(started.at(3) - started.at(2), 1200) << "the silent port";
  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_NE(tool.op.messages[0].text.find("COM21  d"), std::string::npos);
  for (SimProcess* sim : {&silent, &modem, &controller}) {
    EXPECT_EQ(sim->commands(), Strings{":GXE1#"});
    EXPECT_EQ(descriptorsOn(sim->slavePath()), 0);
  }
  EXPECT_EQ(descriptors(), before);
  EXPECT_EQ(tool.window.text("Combo1"), "COM21");
  // Cancelled while the silent port is tried: it is closed, and no later port is tried.
  clock.restart();
  find(300);
  EXPECT_EQ(silent.commands().size(), 2u);
  EXPECT_EQ(modem.commands().size(), 1u);
  EXPECT_EQ(descriptors(), before);
  EXPECT_TRUE(tool.op.messages.back().text.starts_with("探すのを途中でやめました。"));
  EXPECT_TRUE(tool.openPort());  // "接続" opens the port found first
  EXPECT_EQ(tool.port.number(), 21);
}

// ==========================================================================================
// Local files.

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
// What the folder holds, to compare before and after: each entry's kind and a file's every byte.
std::string contentOf(const fs::path& folder) {
  std::string out;
  for (const auto& entry : std::set<fs::path>(fs::directory_iterator(folder), {})) {
    out += entry.filename().string() + (fs::is_fifo(entry) ? " (named pipe)\n" : " ");
    if (fs::is_directory(entry)) out += "holding {" + contentOf(entry) + "}\n";
    if (fs::is_regular_file(entry)) out += readBytes(entry) + "\n";
  }
  return out;
}

const std::string kApLine =
    R"("200","8","2.26666666666666","144","200","8","2.26666666666666","144","400","0","1",)";

// "USERﾌﾟﾘｾｯﾄ保存" confirmed when the save cannot succeed: the operator is told where, the old
// files stay byte for byte, no temporary file is left, and once the cause is gone the same press
// saves. One obstacle for each step of the save that can fail: the temporary file cannot be
// created (a folder root may not write to), a write fails (a full disk), the rename fails (a
// directory in the file's place).
enum class Obstacle { kSetDataIsADirectory, kFolderReadOnly, kDiskFull };
struct Save {
  const char* name;
  Obstacle obstacle;
};
class FailedSave : public ::testing::TestWithParam<Save> {};
TEST_P(FailedSave, KeepsTheOldFilesAndTellsTheOperator) {
  const Obstacle obstacle = GetParam().obstacle;
  Tool tool;
  const fs::path folder = tool.dir.path, setData = folder / "SetData.txt";
  std::optional<testing::SmallDisk> disk;  // whatever makes saving fail goes before the tool
  std::optional<testing::WithoutDacOverride> caps;
  if (obstacle == Obstacle::kDiskFull && !disk.emplace(folder, "64k").ok())
    GTEST_SKIP() << "no mounting here";
  if (obstacle == Obstacle::kSetDataIsADirectory && fs::create_directory(setData))
    std::ofstream(setData / "inside") << "x";
  if (obstacle != Obstacle::kSetDataIsADirectory) {
    std::ofstream(setData) << kApLine;
    std::ofstream(folder / "siri.DAT") << " 3 \r\n";
  }
  if (obstacle == Obstacle::kFolderReadOnly)
    fs::permissions(folder, fs::perms(0555));  // and root held to that:
  if (obstacle == Obstacle::kFolderReadOnly && !caps.emplace().ok())
    GTEST_SKIP() << "CAP_DAC_OVERRIDE stays";
  if (obstacle == Obstacle::kDiskFull && !disk->fill()) GTEST_SKIP() << "the disk did not fill";
  const std::string before = contentOf(folder);

  pick(tool, "NJP");        // port closed: fills the fields, sends nothing
  tool.press("Command28");  // answered OK
  tool.window.setText("Combo1", "COM7");
  tool.form.Combo1_LostFocus();  // the port number is remembered the same way, without a message
  ASSERT_EQ(tool.op.messages.size(), 2u);
  EXPECT_EQ(tool.op.messages[0].text, "USER 設定を保存しますか？");
  EXPECT_EQ(tool.op.messages[1].style, MessageStyle::Critical);
  EXPECT_NE(tool.op.messages[1].text.find(setData.string()), std::string::npos) << "say where";
  const bool portSaved = obstacle == Obstacle::kSetDataIsADirectory;  // no siri.DAT to keep there
  EXPECT_EQ(contentOf(folder), portSaved ? before + "siri.DAT  7 \r\n\n" : before);

  caps.reset();  // what the operator does about it
  fs::remove_all(obstacle == Obstacle::kSetDataIsADirectory ? setData : folder / "filler");
  fs::permissions(folder, fs::perms(0755));
  tool.op.messages.clear();
  tool.press("Command28");
  ASSERT_EQ(tool.op.messages.size(), 2u);
  EXPECT_EQ(tool.op.messages[1].text, "保存しました。");
  EXPECT_EQ(readBytes(setData), R"("200","8","3","240","200","8","3","144","400","1","0",)");
}
INSTANTIATE_TEST_SUITE_P(FaultMatrix, FailedSave,
                         ::testing::Values(Save{"SetDataIsADirectory",
                                                Obstacle::kSetDataIsADirectory},
                                           Save{"FolderReadOnly", Obstacle::kFolderReadOnly},
                                           Save{"DiskFull", Obstacle::kDiskFull}),
                         caseName);

// ==========================================================================================
// What the real event loop adds to the handlers.

// A button pressed in the same instant as the first bytes of a reply runs inside the receive
// handler's yield, and waits there; the replies that arrive during its waits are taken as they
// come, each under the kind set last, not held back until some later byte.
TEST(EndToEnd, RepliesDuringAHandlerStartedInsideTheReceiveYieldAreTakenWhenTheyArrive) {
  Tool tool;
  const int line = ::posix_openpt(O_RDWR | O_NOCTTY);  // the far end, written by the test
  char name[128] = {};
  ASSERT_TRUE(::grantpt(line) == 0 && ::unlockpt(line) == 0 &&
              ::ptsname_r(line, name, sizeof name) == 0);
  fs::create_symlink(name, tool.link());
  auto sayAt = [line](int ms, std::string bytes) {
    QTimer::singleShot(
        ms, [=] { EXPECT_EQ(::write(line, bytes.data(), bytes.size()), ssize_t(bytes.size())); });
  };
  ASSERT_TRUE(tool.openPort());
  QTimer::singleShot(0, [&] { tool.press("Command5(0)"); });  // MaxRate, its answer on the way
  bool pressed = false;
  const auto receive = tool.port.events.received;
  tool.port.events.received = [&](std::string_view bytes) {
    if (!std::exchange(pressed, true)) {  // buzzer "ON": two 1000 ms waits around its read-back
      QMetaObject::invokeMethod(
          &tool.window, [&] { tool.press("Command13"); }, Qt::QueuedConnection);
    }
    receive(bytes);
  };
  std::vector<std::tuple<std::string, Colour, Colour>> seen;  // buffer, ON lamp, OFF lamp
  auto lookAt = [&](int ms) {
    QTimer::singleShot(ms, [&] {
      seen.emplace_back(tool.form.RecvBuf(), tool.window.lamp(13), tool.window.lamp(14));
    });
  };
  sayAt(0, "40");
  sayAt(60, "0#");  // "400": the answer MaxRate's query waits for, whatever was pressed meanwhile
  lookAt(500);
  sayAt(1600, "0#");  // the read-back: the buzzer is off
  lookAt(1700);
  sayAt(2600, "5#");  // after the switch, when no query waits: no lamp moves
  lookAt(2900);
  tool.loop.Wait(3100);
  ::close(line);
  EXPECT_EQ(tool.window.text("Text1(0)"), "400");
  EXPECT_EQ(seen,
            (decltype(seen){{"", kGreen, kGreen}, {"", kTeal, kMagenta}, {"", kTeal, kMagenta}}));
  EXPECT_EQ(tool.form.ReplyKind(), 29);
}

// A wait of 0 lets what is pending run; a longer one sleeps: half a second of it costs the
// processor next to nothing (a wait that spun would cost the whole half second).
TEST(EndToEnd, AWaitOfZeroLetsPendingEventsRunAndALongerOneSleeps) {
  Tool tool;
  bool ran = false;
  QMetaObject::invokeMethod(
      &tool.window, [&] { ran = true; }, Qt::QueuedConnection);
  tool.loop.Wait(0);
  EXPECT_TRUE(ran);
  const std::clock_t processor = std::clock();
  QElapsedTimer clock;
  clock.start();
  tool.loop.Wait(500);
  EXPECT_GE(clock.elapsed(), 500);
  EXPECT_LT(double(std::clock() - processor) / CLOCKS_PER_SEC, 0.1) << "the wait spun";
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
