// The fault matrix: the real shell against the simulator's fault modes, the window closed or other
// buttons pressed in the middle of a wait, and local files that are damaged or cannot be written.
// Every wait is bounded. Checks compare orders and counts; where a duration is checked at all it
// is against the tool's own waits with a wide margin, so that a loaded machine makes the tests
// slower but not wrong.

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "protocol/command_set.h"
#include "e2e/tool.h"
#include "protocol/catalogue.h"
#include "support/sim_process.h"
#include "ui/busy_window.h"

#ifndef KORVANE_SETTEI_PATH
#error "KORVANE_SETTEI_PATH must name the korvane-settei binary"
#endif

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::SimProcess;

constexpr const char* kCommErrorTitle = "通信エラー";
constexpr const char* kNoPortText = "現在使用できるポートがありません。";
constexpr const char* kSavedText = "保存しました。";
constexpr const char* kSaveQuestion = "USER 設定を保存しますか？";

// ------------------------------------------------------------------------------------------
// What the tool did on the line, from its own side: every line of the "korvane.serial" log
// category ("opened", "sent", "received", "line failed", "closed"), in order. A hook can run
// right after a given command has been written, from the event loop: that is inside the wait
// that follows the write, so "press X during the wait after Y" needs no clock at all.
class SerialTrace {
 public:
  struct Event {
    std::string kind;     // sent, received, opened, closed, open failed, line failed
    std::string command;  // the bytes sent or received, the device, or the error
  };

  SerialTrace() {
    current_ = this;
    previous_ = qInstallMessageHandler(&SerialTrace::handle);
    QLoggingCategory::setFilterRules("korvane.serial.debug=true");
  }
  ~SerialTrace() {
    QLoggingCategory::setFilterRules("korvane.serial.debug=false");
    qInstallMessageHandler(previous_);
    current_ = nullptr;
  }
  SerialTrace(const SerialTrace&) = delete;
  SerialTrace& operator=(const SerialTrace&) = delete;

  // fn runs from the event loop right after the tool wrote a command starting with prefix for
  // the occurrence-th time (1 = the first; prefix "" counts every write).
  void afterSent(std::string prefix, int occurrence, std::function<void()> fn) {
    hooks_.push_back({std::move(prefix), occurrence, std::move(fn)});
  }

  const std::vector<Event>& events() const { return events_; }
  std::vector<std::string> sent() const {
    std::vector<std::string> out;
    for (const Event& e : events_) {
      if (e.kind == "sent") out.push_back(e.command);
    }
    return out;
  }
  // Anything the tool did to the line once it had closed the port: opened it again, wrote.
  std::vector<std::string> activityAfterClose() const {
    std::vector<std::string> out;
    bool closed = false;
    for (const Event& e : events_) {
      if (e.kind == "closed") {
        closed = true;
      } else if (closed && (e.kind == "sent" || e.kind == "opened")) {
        out.push_back(e.kind + " " + e.command);
      }
    }
    return out;
  }
  bool closed() const {
    for (auto it = events_.rbegin(); it != events_.rend(); ++it) {
      if (it->kind == "closed") return true;
      if (it->kind == "opened") return false;
    }
    return false;
  }

 private:
  struct Hook {
    std::string prefix;
    int occurrence;
    std::function<void()> fn;
    int seen = 0;
  };

  static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (current_ == nullptr || context.category == nullptr ||
        std::strcmp(context.category, "korvane.serial") != 0) {
      if (previous_) previous_(type, context, message);
      return;
    }
    current_->record(message.toStdString());
  }

  // "12345.678 sent :GXE1#": the time, the event, the bytes (or the device, or the error).
  void record(const std::string& line) {
    static constexpr std::string_view kKinds[] = {"sent",   "received",    "opened",
                                                  "closed", "open failed", "line failed"};
    const std::string_view rest = std::string_view(line).substr(line.find(' ') + 1);
    Event e;
    for (std::string_view kind : kKinds) {
      if (!rest.starts_with(kind)) continue;
      e.kind = kind;
      if (rest.size() > kind.size()) e.command = rest.substr(kind.size() + 1);
      break;
    }
    events_.push_back(e);
    if (e.kind != "sent") return;
    for (Hook& hook : hooks_) {
      if (!e.command.starts_with(hook.prefix) || ++hook.seen != hook.occurrence) continue;
      // Not from inside the write: the handler that wrote goes on to its wait first. A hook
      // still pending when the trace goes is dropped with it.
      QTimer::singleShot(0, &context_, hook.fn);
    }
  }

  inline static SerialTrace* current_ = nullptr;
  inline static QtMessageHandler previous_ = nullptr;
  QObject context_;
  std::vector<Event> events_;
  std::vector<Hook> hooks_;
};

std::vector<std::string> commands(const std::vector<testing::SimLogLine>& log) {
  std::vector<std::string> out;
  for (const auto& line : log) out.push_back(line.command);
  return out;
}

// The first n queries of "接続", in order.
std::vector<std::string> readAllQueries(std::size_t n) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < n && i < kReadAllOrder.size(); ++i) {
    out.emplace_back(settingByKind(kReadAllOrder[i])->query);
  }
  return out;
}

// The controller's log, command by command, against the expected prefixes.
void expectPrefixes(const std::vector<std::string>& log, const std::vector<std::string>& prefixes) {
  ASSERT_EQ(log.size(), prefixes.size()) << ::testing::PrintToString(log);
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_TRUE(log[i].starts_with(prefixes[i])) << i << ": " << log[i];
  }
}

// Descriptors of this process that lead to the device: after the port is closed there are none.
// -1 when they cannot be listed.
int descriptorsOn(const std::string& device) {
  int count = 0;
  std::error_code ec;
  fs::directory_iterator entries("/proc/self/fd", ec);
  if (ec) return -1;
  for (const auto& entry : entries) {
    std::error_code linkError;
    const std::string target = fs::read_symlink(entry.path(), linkError).string();
    // A pseudo-terminal whose far end has gone shows as deleted.
    if (target == device || target == device + " (deleted)") ++count;
  }
  return count;
}

// Cases print as their names, and are named by them.
template <typename Case>
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}
constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// What a path holds, to compare before and after: its kind and, for a file, every byte of it.
std::string contentOf(const fs::path& path) {
  if (fs::is_fifo(path)) return "named pipe";
  if (fs::is_directory(path)) return "directory holding " + readBytes(path / "inside");
  return fs::exists(path) ? "file " + readBytes(path) : "missing";
}

// Files left behind by a save that did not finish ("SetData.txt.XXXXXX").
std::vector<std::string> leftovers(const fs::path& folder) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".txt.") != std::string::npos || name.find(".DAT.") != std::string::npos) {
      out.push_back(name);
    }
  }
  return out;
}

// A pick from the preset list, as the mouse makes it.
void pickPreset(Tool& tool, const QString& name) {
  auto* box = tool.window.findChild<QComboBox*>("Combo2");
  const int index = box->findText(name);
  box->setCurrentIndex(index);
  emit box->activated(index);
}

// A real mouse click: a disabled button, or one in a disabled window, does not take it.
void mouseClick(Tool& tool, const char* name) {
  QWidget* button = tool.window.control(name);
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

// Every change of a text field, in order.
struct FieldLog {
  std::vector<std::pair<std::string, std::string>> changes;
  FieldLog(Tool& tool, const std::vector<std::string>& fields) {
    for (const std::string& name : fields) {
      auto* edit = qobject_cast<QLineEdit*>(tool.window.control(name));
      EXPECT_NE(edit, nullptr) << name;
      if (edit == nullptr) continue;
      QObject::connect(edit, &QLineEdit::textChanged, edit, [this, name](const QString& text) {
        changes.emplace_back(name, text.toStdString());
      });
    }
  }
};

// The lock file Qt takes for a device path (the path as given, "/" turned into "_"). A program
// killed while it held the port leaves it behind; the next open would find it stale.
void removeStaleLock(const std::string& device) {
  std::string name = "LCK.." + device;
  std::replace(name.begin() + 5, name.end(), '/', '_');
  std::error_code ec;
  for (const char* folder : {"/var/lock", "/tmp"}) fs::remove(fs::path(folder) / name, ec);
}

// Another program, for as long as the test needs it; killed with the test in any case, and its
// lock on `device` cleared after it.
class Program {
 public:
  Program(std::vector<std::string> args, std::string device) : device_(std::move(device)) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(127);
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
      ::close_range(3, ~0U, 0);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~Program() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    removeStaleLock(device_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

 private:
  pid_t pid_ = -1;
  std::string device_;
};

// ==========================================================================================
// 1. The controller hangs up in the middle of a sequence.

struct HangUpCase {
  const char* name;
  int hangUpAfter;  // commands the controller takes before it closes the line
  // Starts the sequence on an open port; returns when the handler has returned.
  std::function<void(Tool&)> run;
  std::vector<std::string> wire;  // what reached the controller
  double minMs;                   // the waits the sequence still runs through after the loss
};

class HangUp : public ::testing::TestWithParam<HangUpCase> {};

TEST_P(HangUp, OneMessageThePortClosedAndTheSequenceRunsOutWithoutWriting) {
  const HangUpCase& c = GetParam();
  Tool tool;
  SimProcess sim({"--hangup-after", std::to_string(c.hangUpAfter)}, tool.link());
  SerialTrace trace;
  ASSERT_TRUE(tool.openPort());

  QElapsedTimer clock;
  clock.start();
  c.run(tool);
  EXPECT_GE(clock.elapsed(), c.minMs) << "the sequence must run through its waits";

  EXPECT_EQ(commands(sim.log()), c.wire);
  EXPECT_FALSE(tool.port.isOpen());
  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_EQ(tool.op.messages[0].title, kCommErrorTitle);
  // The tool wrote nothing once the line had failed.
  EXPECT_EQ(trace.sent(), c.wire);
  EXPECT_TRUE(trace.closed());
  EXPECT_TRUE(trace.activityAfterClose().empty());
  EXPECT_TRUE(tool.window.isEnabled());
  EXPECT_TRUE(tool.window.isEnabled(kCommand19));
  EXPECT_FALSE(tool.window.busyWindow()->isVisible());
  EXPECT_EQ(descriptorsOn(sim.slavePath()), 0);

  QTest::qWait(300);
  EXPECT_EQ(tool.op.messages.size(), 1u) << "a lost line is reported once";
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, HangUp,
    ::testing::Values(
        // "接続": the controller answers two queries and goes. The read goes on row by row
        // without writing; once that is shown the test ends it.
        HangUpCase{"DuringReadAll", 2,
                   [](Tool& tool) {
                     std::ptrdiff_t rowAtLoss = 0, rowAtEnd = 0;
                     auto row = [&tool] {
                       return std::ranges::find(kReadAllOrder, tool.form.ReplyKind()) -
                              kReadAllOrder.begin();
                     };
                     tool.op.whileShown = [&] {
                       rowAtLoss = row();
                       QTimer::singleShot(1000, &tool.window, [&] {
                         rowAtEnd = row();
                         tool.loop.quit();
                       });
                     };
                     tool.press("Command11");
                     tool.op.whileShown = nullptr;
                     EXPECT_GT(rowAtEnd, rowAtLoss) << "the read stopped at the loss";
                     EXPECT_EQ(tool.form.ReplyKind(), kReadAllOrder.back());
                   },
                   readAllQueries(2), 0},
        // A preset picked with the port open: the line goes after the calculator's first
        // direction command, in its first 500 ms wait.
        HangUpCase{"DuringCalculatorSendPhase",
                   3,
                   [](Tool& tool) {
                     bool lockedAtLoss = false;
                     tool.op.whileShown = [&] {
                       lockedAtLoss =
                           !tool.window.isEnabled() && tool.window.busyWindow()->isVisible();
                     };
                     pickPreset(tool, "AP");
                     tool.op.whileShown = nullptr;
                     EXPECT_TRUE(lockedAtLoss) << "the loss should fall in the send phase";
                   },
                   {":TB#", ":TC#", ":TB#"},
                   6 * kCalculatorWaitMs},
        // Buzzer ON: the line goes in the wait after the switch; the read-back is not sent.
        HangUpCase{"DuringOptionSwitchWait",
                   1,
                   [](Tool& tool) { tool.press("Command13"); },
                   {":SX97,1#"},
                   2 * kOptionWaitMs}),
    caseName);

// ==========================================================================================
// 2. A controller that is silent, late, slow, or talks nonsense.

// Every visible parameter field, with a text no controller sends.
std::vector<std::string> visibleFields() {
  std::vector<std::string> out;
  for (int i = 0; i <= 15; ++i) out.push_back(text1(i));
  for (int i = 20; i <= 25; ++i) out.push_back(text1(i));
  return out;
}

TEST(FaultMatrix, ASilentControllerLeavesEveryFieldAsItWasWithoutAMessage) {
  Tool tool;
  SimProcess sim({"--silent"}, tool.link());
  for (const std::string& field : visibleFields()) tool.window.setText(field, "keep " + field);
  tool.window.setText(kCombo3, "3");
  // Five rows are enough to show that no row waits for an answer that does not come.
  SerialTrace trace;
  QElapsedTimer clock;
  qint64 fifthQueryAt = -1;
  trace.afterSent("", 5, [&] {
    fifthQueryAt = clock.elapsed();
    tool.loop.quit();
  });
  clock.start();
  tool.press("Command11");
  ASSERT_GE(fifthQueryAt, 0);
  EXPECT_LT(fifthQueryAt, 4 * 1000) << "four silent rows must not cost a second each";
  // Ended early, the read sends its remaining queries at once; none is answered either.
  ASSERT_TRUE(sim.waitForCommands(kReadAllOrder.size(), std::chrono::seconds(3)));
  QTest::qWait(100);

  EXPECT_EQ(commands(sim.log()), readAllQueries(kReadAllOrder.size()));
  for (const std::string& field : visibleFields()) {
    EXPECT_EQ(tool.text(field), "keep " + field);
  }
  EXPECT_EQ(tool.text(kCombo3), "3");
  EXPECT_TRUE(tool.op.messages.empty());
  EXPECT_TRUE(tool.form.RecvBuf().empty());
}

TEST(FaultMatrix, LateAnswersLandInTheNextRowsTarget) {
  Tool tool;
  SimProcess sim({"--late"}, tool.link());  // every answer 600 ms after its query
  for (int i = 0; i <= 4; ++i) tool.window.setText(text1(i), "old");
  FieldLog fields(tool, {text1(0), text1(1), text1(2), text1(3), text1(4)});
  SerialTrace trace;
  // By the fifth query the answers to the first three are in.
  std::vector<std::pair<std::string, std::string>> atFifth;
  trace.afterSent("", 5, [&] {
    atFifth = fields.changes;
    tool.window.close();
  });
  tool.press("Command11");

  // The answer to row n arrives while row n + 1 is set, and is checked as row n + 1's.
  const std::vector<std::pair<std::string, std::string>> want{
      {text1(1), "400"}, {text1(2), "2133"}, {text1(3), "2133"}, {text1(4), "5333"}};
  ASSERT_GE(atFifth.size(), 3u);
  ASSERT_LE(atFifth.size(), want.size());
  for (std::size_t i = 0; i < atFifth.size(); ++i) EXPECT_EQ(atFifth[i], want[i]) << i;
  EXPECT_EQ(tool.text(text1(0)), "old");
  EXPECT_TRUE(tool.op.messages.empty());
}

TEST(FaultMatrix, AnAnswerSentOneByteAtATimeIsAssembledBeforeItIsShown) {
  Tool tool;
  SimProcess sim({"--split-gap", "20"}, tool.link());
  tool.form.COMM1open();
  FieldLog fields(tool, {text1(1), text1(5)});
  tool.press("Command5(1)");  // "2133#", five notifications
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return tool.form.RecvBuf().empty() && !fields.changes.empty(); }));
  tool.press("Command5(5)");  // "-139*44#": the sign is turned only on the whole answer
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return fields.changes.size() >= 2 && tool.form.RecvBuf().empty(); }));
  QTest::qWait(100);
  const std::vector<std::pair<std::string, std::string>> want{{text1(1), "2133"},
                                                              {text1(5), "+139*44"}};
  EXPECT_EQ(fields.changes, want) << "no part of an answer may reach a field";
  EXPECT_TRUE(tool.op.messages.empty());
}

struct NoiseCase {
  const char* name;
  std::vector<std::string> simArgs;
};

class Noise : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(Noise, TheBufferStaysBoundedAndTheWindowKeepsAnswering) {
  Tool tool;
  SimProcess sim(GetParam().simArgs, tool.link());
  tool.form.COMM1open();
  for (int i = 0; i <= 4; ++i) tool.window.setText(text1(i), "old");
  std::size_t largestBuffer = 0;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout,
                   [&] { largestBuffer = std::max(largestBuffer, tool.form.RecvBuf().size()); });
  sampler.start(5);

  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i <= 4; ++i) {
    tool.press(command5(i).c_str());
    tool.loop.Wait(250);
  }
  // Five waits of 250 ms: a window busy with the noise would take far longer.
  EXPECT_LT(clock.elapsed(), 5 * 250 + 3000);
  mouseClick(tool, "Command3");  // the window still takes a click, and the line a command
  EXPECT_EQ(tool.window.lamp(3), kMagenta);
  ASSERT_TRUE(sim.waitForCommands(6, std::chrono::seconds(3)));
  EXPECT_EQ(commands(sim.log()).back(), ":TC#");

  for (int i = 0; i <= 4; ++i) EXPECT_EQ(tool.text(text1(i)), "old") << "noise taken as an answer";
  EXPECT_LE(largestBuffer, Form1::kRecvBufLimit);
  EXPECT_LE(tool.form.RecvBuf().size(), Form1::kRecvBufLimit);
  EXPECT_TRUE(tool.port.isOpen());
  EXPECT_TRUE(tool.op.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, Noise,
                         ::testing::Values(NoiseCase{"GarbageInPlaceOfEveryAnswer", {"--garbage"}},
                                           NoiseCase{"SixteenMebibytesAtOnce",
                                                     {"--flood", "16777216", "--silent"}}),
                         caseName);

// ==========================================================================================
// 3. A port that cannot be opened.

// A second copy of the program, reading everything from port 1 of portFolder, which holds the
// port from the moment its first query reaches the controller.
std::shared_ptr<Program> startOtherCopy(Tool& tool, SimProcess& sim, const fs::path& portFolder) {
  const fs::path data = tool.dir.path / "other-data";
  fs::create_directories(data);
  auto other = std::make_shared<Program>(
      std::vector<std::string>{KORVANE_SETTEI_PATH, "--port-dir", portFolder.string(), "--data-dir",
                               data.string(), "--read-and-screenshot",
                               (data / "shot.png").string()},
      (portFolder / "COM1").string());
  EXPECT_TRUE(sim.waitForCommands(1, std::chrono::seconds(10)))
      << "the other copy did not start reading";
  return other;
}

// This thread as uid 65534 until destroyed. The raw system call changes the calling thread
// only (the C library's setresuid changes every thread); the saved user ID stays 0, so root
// comes back.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser() { ok_ = ::syscall(SYS_setresuid, -1, kNobody, -1) == 0; }
  ~AsOrdinaryUser() {
    if (ok_) ::syscall(SYS_setresuid, -1, 0, -1);
  }
  bool ok() const { return ok_; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool ok_ = false;
};

struct UnusablePortCase {
  const char* name;
  int error;          // why the open fails: this errno, or 0 for Qt's lock file
  bool ordinaryUser;  // "接続" is pressed as uid 65534 rather than root
  // Makes port 1 unusable (nullptr: no device at all); what it returns keeps it so for the test.
  std::function<std::shared_ptr<void>(Tool&, std::unique_ptr<SimProcess>&)> make;
};

class UnusablePort : public ::testing::TestWithParam<UnusablePortCase> {};

TEST_P(UnusablePort, OneMessageAndNothingSent) {
  Tool tool;
  std::unique_ptr<SimProcess> sim;
  const auto keep = GetParam().make ? GetParam().make(tool, sim) : nullptr;
  SerialTrace trace;
  tool.op.whileShown = [&] { tool.loop.quit(); };  // end the 12 s read at once
  {
    std::optional<AsOrdinaryUser> user;
    if (GetParam().ordinaryUser) {
      ASSERT_TRUE(user.emplace().ok());
    }
    tool.press("Command11");
  }

  ASSERT_EQ(tool.op.messages.size(), 1u);
  EXPECT_EQ(tool.op.messages[0].text, kNoPortText);
  EXPECT_EQ(tool.op.messages[0].title, kCommErrorTitle);
  EXPECT_EQ(tool.op.messages[0].style, MessageStyle::OkCancelExclamation);
  EXPECT_FALSE(tool.port.isOpen());
  EXPECT_TRUE(trace.sent().empty());
  // Each case fails for its own reason, not for an incidental one.
  const auto failed = std::find_if(trace.events().begin(), trace.events().end(),
                                   [](const auto& e) { return e.kind == "open failed"; });
  ASSERT_NE(failed, trace.events().end());
  const std::string reason =
      GetParam().error != 0 ? std::strerror(GetParam().error) : "locking the device";
  EXPECT_NE(failed->command.find(reason), std::string::npos) << failed->command;
  if (sim) {
    EXPECT_EQ(descriptorsOn(sim->slavePath()), 0);
    // Only the other program's own read reached the controller: its queries in order, none
    // twice.
    QTest::qWait(100);
    const auto log = commands(sim->log());
    EXPECT_EQ(log, readAllQueries(log.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, UnusablePort,
    ::testing::Values(
        UnusablePortCase{"DeviceMissing", ENOENT, false, nullptr},
        UnusablePortCase{"LinkToNowhere", ENOENT, false,
                         [](Tool& tool, std::unique_ptr<SimProcess>&) {
                           fs::create_symlink("/dev/ttyKorvaneNone", tool.link());
                           return nullptr;
                         }},
        UnusablePortCase{"NotATerminal", ENOTTY, false,
                         [](Tool& tool, std::unique_ptr<SimProcess>&) {
                           writeBytes(tool.link(), ":GXE1#");
                           return nullptr;
                         }},
        // Another copy of the tool has the port and is reading from the controller. Qt takes a
        // lock file named after the device path (/run/lock/LCK..<path>) and the second open of
        // that path fails, for root too; TIOCEXCL, which root ignores, is not what stops it.
        UnusablePortCase{"InUseByAnotherCopyOfTheTool", 0, false,
                         [](Tool& tool, std::unique_ptr<SimProcess>& sim) -> std::shared_ptr<void> {
                           sim = std::make_unique<SimProcess>(std::vector<std::string>{},
                                                              tool.link());
                           return startOtherCopy(tool, *sim, tool.dir.path);
                         }},
        // The other copy reaches the same device through a link of its own, so the lock files
        // differ; Qt's TIOCEXCL on the open device is what refuses the tool, as it does any
        // user but root. The tool opens as uid 65534 here.
        UnusablePortCase{"InUseThroughAnotherPathForAnOrdinaryUser", EBUSY, true,
                         [](Tool& tool, std::unique_ptr<SimProcess>& sim) -> std::shared_ptr<void> {
                           sim = std::make_unique<SimProcess>(std::vector<std::string>{},
                                                              tool.link());
                           const fs::path otherPorts = tool.dir.path / "other-ports";
                           fs::create_directory(otherPorts);
                           fs::create_symlink(sim->slavePath(), otherPorts / "COM1");
                           // The user may use the device, as a member of its group would.
                           fs::permissions(sim->slavePath(), fs::perms(0666));
                           fs::permissions(tool.dir.path, fs::perms(0755));
                           return startOtherCopy(tool, *sim, otherPorts);
                         }}),
    caseName);

// ==========================================================================================
// 4. The window is closed while a handler waits.

struct CloseCase {
  const char* name;
  std::function<void(Tool&)> start;
  int closeAfterWrites;                   // the window closes in the wait after this many commands
  double waitMs;                          // the length of that wait
  std::vector<std::string> wirePrefixes;  // what reaches the controller, by prefix
};

class CloseDuringWait : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseDuringWait, ThePortClosesNothingMoreIsWrittenAndTheProgramEnds) {
  const CloseCase& c = GetParam();
  Tool tool;
  SimProcess sim({}, tool.link());
  ASSERT_TRUE(tool.openPort());
  SerialTrace trace;
  QElapsedTimer clock;
  qint64 closedAt = -1;
  bool handlerReturned = false;
  trace.afterSent("", c.closeAfterWrites, [&] {
    closedAt = clock.elapsed();
    tool.window.close();
  });
  // As in the program: the button's handler runs from the main event loop, and closing the
  // window must end that loop.
  QTimer::singleShot(0, &tool.window, [&] {
    c.start(tool);
    handlerReturned = true;
  });
  bool watchdogFired = false;
  QTimer::singleShot(30000, &tool.window, [&] {
    watchdogFired = true;
    tool.loop.quit();
  });
  clock.start();
  QApplication::exec();
  const qint64 endedAt = clock.elapsed();
  QCoreApplication::removePostedEvents(qApp, QEvent::Quit);

  EXPECT_FALSE(watchdogFired);
  EXPECT_TRUE(handlerReturned);
  EXPECT_TRUE(tool.form.ending());
  ASSERT_GE(closedAt, 0);
  // The close comes at the start of the wait; the wait must not run on. Half of it is a
  // generous bound for what takes a few milliseconds.
  EXPECT_LT(endedAt - closedAt, c.waitMs / 2) << "the program sat out the wait in progress";
  EXPECT_FALSE(tool.port.isOpen());
  EXPECT_EQ(descriptorsOn(sim.slavePath()), 0) << "the device is still open";
  EXPECT_TRUE(trace.closed());
  EXPECT_TRUE(trace.activityAfterClose().empty());

  // The controller got what was sent before the close and nothing after it, also once the
  // sequence would have run out.
  QTest::qWait(300);
  const auto log = commands(sim.log());
  expectPrefixes(log, c.wirePrefixes);
  EXPECT_EQ(trace.sent(), log);
  EXPECT_FALSE(tool.window.busyWindow()->isVisible());
  EXPECT_TRUE(tool.op.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, CloseDuringWait,
    ::testing::Values(
        CloseCase{"ReadAll", [](Tool& tool) { tool.press("Command11"); }, 3, kReadAllWaitMs,
                  readAllQueries(3)},
        CloseCase{"OptionSwitch",
                  [](Tool& tool) { tool.press("Command13"); },
                  1,
                  kOptionWaitMs,
                  {":SX97,1#"}},
        CloseCase{"CalculatorSendPhase",
                  [](Tool& tool) { pickPreset(tool, "AP"); },
                  3,
                  kCalculatorWaitMs,
                  {":TB#", ":TC#", ":TB#"}},
        CloseCase{
            "ClockSet", [](Tool& tool) { tool.press("Command34"); }, 1, kDateTimePauseMs, {":SC"}},
        // The longest wait of all: 3000 ms after the home azimuth query.
        CloseCase{"PolarHomeLastWait",
                  [](Tool& tool) { tool.press("Command29"); },
                  3,
                  kPolarHomeWaitsMs[2],
                  {":TH#", ":G1#", ":G2#"}}),
    caseName);

// ==========================================================================================
// 5. Another button pressed during a wait: its handler runs to completion inside the wait,
// then the interrupted sequence goes on.

struct Press {
  std::string afterPrefix;  // pressed in the wait after this command
  int occurrence;
  std::function<void(Tool&)> press;
};

struct PressCase {
  const char* name;
  std::function<void(Tool&)> start;
  std::vector<Press> presses;
  std::vector<std::string> wirePrefixes;  // the whole exchange, by prefix
  std::function<void(Tool&)> end;         // ends the sequence early (nullptr: runs out)
  std::function<void(Tool&)> check;
};

class PressDuringWait : public ::testing::TestWithParam<PressCase> {};

TEST_P(PressDuringWait, ThePressedHandlerRunsInsideTheWaitThenTheSequenceGoesOn) {
  const PressCase& c = GetParam();
  Tool tool;
  SimProcess sim({}, tool.link());
  ASSERT_TRUE(tool.openPort());
  SerialTrace trace;
  for (const Press& p : c.presses) {
    trace.afterSent(p.afterPrefix, p.occurrence, [&tool, &p] { p.press(tool); });
  }
  if (c.end) {
    trace.afterSent(c.wirePrefixes.back(), 1, [&] { c.end(tool); });
  }
  c.start(tool);

  ASSERT_TRUE(sim.waitForCommands(c.wirePrefixes.size(), std::chrono::seconds(3)));
  QTest::qWait(200);
  expectPrefixes(commands(sim.log()), c.wirePrefixes);
  EXPECT_TRUE(tool.op.messages.empty());
  if (c.check) c.check(tool);
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, PressDuringWait,
    ::testing::Values(
        // A buzzer switch (two 1000 ms waits) inside the first 400 ms wait of "接続": the next
        // query waits for it. The window is closed at the fifth query.
        PressCase{"ReadAllWait",
                  [](Tool& tool) { tool.press("Command11"); },
                  {{":GXE1#", 1, [](Tool& tool) { tool.press("Command13"); }}},
                  {":GXE1#", ":SX97,1#", ":GXEP#", ":GXE4#", ":GXE5#"},
                  [](Tool& tool) { tool.window.close(); },
                  nullptr},
        // Another option inside the buzzer switch's first wait.
        PressCase{"OptionSwitchWait",
                  [](Tool& tool) { tool.press("Command13"); },
                  {{":SX97,1#", 1, [](Tool& tool) { tool.press("Command15"); }}},
                  {":SX97,1#", ":SX95,1#", ":GX95#", ":GXEP#"},
                  nullptr,
                  nullptr},
        // One press in each of the three waits of the polar home position. In the last one the
        // home altitude SET button, which the sequence has disabled, is clicked too: nothing.
        PressCase{"PolarHomeWaits",
                  [](Tool& tool) {
                    tool.window.setText(text1(20), "45");
                    tool.press("Command29");
                  },
                  {{":TH#", 1, [](Tool& tool) { tool.press("Command31"); }},
                   {":G1#", 1, [](Tool& tool) { tool.press("Command37"); }},
                   {":G2#", 1,
                    [](Tool& tool) {
                      mouseClick(tool, "Command6(14)");
                      tool.press("Command33");
                    }}},
                  {":TH#", ":RC#", ":G1#", ":TJ#", ":G2#", ":RS#"},
                  nullptr,
                  [](Tool& tool) {
                    EXPECT_TRUE(tool.window.isEnabled(command6(14)));
                    EXPECT_TRUE(tool.window.isEnabled(command6(15)));
                  }},
        // The calculator's send phase disables the main window: clicks have no effect.
        PressCase{"CalculatorWaitsWithTheWindowDisabled",
                  [](Tool& tool) { pickPreset(tool, "AP"); },
                  {{":TB#", 2, [](Tool& tool) { mouseClick(tool, "Command31"); }},
                   {":$PA", 1,
                    [](Tool& tool) {
                      mouseClick(tool, "Command1");
                      mouseClick(tool, "Command5(0)");
                      mouseClick(tool, "Command28");
                    }}},
                  {":TB#", ":TC#", ":TB#", ":TC#", ":$PA400#", ":$PB1450#", ":$PC1450#",
                   ":$PD3626#", ":$PE3626#"},
                  nullptr,
                  [](Tool& tool) {
                    EXPECT_EQ(tool.window.lamp(2), kMagenta) << "赤経+ was clicked while locked";
                    EXPECT_TRUE(tool.window.isEnabled());
                  }},
        // "Set" pressed again in its own pause, and "APモード" in the inner pause.
        PressCase{"ClockWait",
                  [](Tool& tool) { tool.press("Command34"); },
                  {{":SC", 1, [](Tool& tool) { tool.press("Command34"); }},
                   {":SC", 2, [](Tool& tool) { tool.press("Command35"); }}},
                  {":SC", ":SC", ":TG#", ":=SE#", ":SL", ":SL"},
                  nullptr,
                  nullptr}),
    caseName);

// ==========================================================================================
// 6. Local files.

constexpr const char* kPortFile = "siri.DAT";
constexpr const char* kSetDataFile = "SetData.txt";
constexpr const char* kApLine =
    R"("200","8","2.26666666666666","144","200","8","2.26666666666666","144","400","0","1",)";
constexpr std::size_t kHugeBytes = 10u << 20;

enum class Layout { kMissing, kFile, kDirectory, kNamedPipe };

struct StartUpCase {
  const char* name;
  const char* file;
  Layout layout;
  std::string bytes;  // the file's content for kFile
  // What start-up shows: Combo1 for siri.DAT; the gear table and MaxRate for SetData.txt.
  std::vector<std::pair<std::string, std::string>> shown;
};

class StartUp : public ::testing::TestWithParam<StartUpCase> {};

TEST_P(StartUp, ReadsWhatItCanAndLeavesTheFileAsItWas) {
  const StartUpCase& c = GetParam();
  fs::path path;
  std::string before;
  // Start-up reads the files before the window shows, outside any event loop: a read that
  // blocks is released from here, and counted, rather than left to hang the run.
  std::promise<void> prepared, done;
  bool released = false;
  std::thread watchdog([&, ready = prepared.get_future(), finished = done.get_future()] {
    ready.wait();  // path is set
    if (finished.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return;
    released = true;
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  });
  Tool tool([&](const fs::path& folder) {
    path = folder / c.file;
    prepared.set_value();
    switch (c.layout) {
      case Layout::kMissing:
        break;
      case Layout::kFile:
        writeBytes(path, c.bytes);
        break;
      case Layout::kDirectory:
        fs::create_directory(path);
        writeBytes(path / "inside", "x");
        break;
      case Layout::kNamedPipe:
        ::mkfifo(path.c_str(), 0644);
        break;
    }
    before = contentOf(path);
  });
  if (c.layout == Layout::kFile) {
    EXPECT_EQ(before, "file " + c.bytes);
  }
  done.set_value();
  watchdog.join();
  EXPECT_FALSE(released) << "start-up waited on " << c.file;

  for (const auto& [control, text] : c.shown) EXPECT_EQ(tool.text(control), text) << control;
  EXPECT_TRUE(tool.op.messages.empty());
  EXPECT_EQ(tool.op.beeps, 0) << "start-up saves nothing";
  EXPECT_EQ(contentOf(path), before) << "nothing lost: the file is exactly as it was";
  EXPECT_TRUE(leftovers(tool.dir.path).empty());
}

std::string utf16le(std::string_view ascii) {
  std::string out = "\xff\xfe";
  for (char ch : ascii) {
    out += ch;
    out += '\0';
  }
  return out;
}

using Shown = std::vector<std::pair<std::string, std::string>>;
// The gear table and MaxRate as the window starts, and as the "AP" line of the file sets them.
const Shown kDesignGear{{"Text2", "200"},   {"Text3", "8"},   {"Text4", "3.333"},
                        {"Text5", "144"},   {"Text6", "200"}, {"Text7", "8"},
                        {"Text8", "3.333"}, {"Text9", "144"}, {"Text1(0)", ""}};
const Shown kApGear{
    {"Text2", "200"},   {"Text3", "8"}, {"Text4", "2.26666666666666"}, {"Text5", "144"},
    {"Text6", "200"},   {"Text7", "8"}, {"Text8", "2.26666666666666"}, {"Text9", "144"},
    {"Text1(0)", "400"}};
Shown withText2(Shown shown, std::string text2) {
  shown.front().second = std::move(text2);
  return shown;
}
const Shown kNoPort{{"Combo1", "COM10"}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, StartUp,
    ::testing::Values(
        StartUpCase{"SiriDatMissing",      kPortFile, Layout::kMissing,   "",  kNoPort},
        StartUpCase{"SiriDatEmpty",        kPortFile, Layout::kFile,      "",  kNoPort},
        StartUpCase{"SiriDatTruncated",    kPortFile, Layout::kFile,      " ", kNoPort},
        StartUpCase{"SiriDatHuge",         kPortFile, Layout::kFile,
                    " 12 \r\n" + std::string(kHugeBytes, '\0'), {{"Combo1", "COM12"}}},
        // Saved as UTF-16 by an editor: no number where one is looked for.
        StartUpCase{"SiriDatNotUtf8",      kPortFile, Layout::kFile, utf16le(" 12 \r\n"), kNoPort},
        StartUpCase{"SiriDatIsADirectory", kPortFile, Layout::kDirectory, "", kNoPort},
        StartUpCase{"SiriDatIsANamedPipe", kPortFile, Layout::kNamedPipe, "", kNoPort},
        StartUpCase{"SetDataMissing",      kSetDataFile, Layout::kMissing, "", kDesignGear},
        StartUpCase{"SetDataEmpty",        kSetDataFile, Layout::kFile,    "", kDesignGear},
        // Cut inside the tenth field: ten fields, not eleven.
        StartUpCase{"SetDataTruncated",    kSetDataFile, Layout::kFile,
                    std::string(kApLine).substr(0, std::string(kApLine).size() - 5), kDesignGear},
        StartUpCase{"SetDataHuge",         kSetDataFile, Layout::kFile,
                    kApLine + std::string(kHugeBytes, 'x'), kApGear},
        // "モーター" in Shift_JIS, as an old copy of the file might hold it: each byte that is not
        // UTF-8 shows as U+FFFD, and the other fields load as usual.
        StartUpCase{"SetDataNotUtf8",      kSetDataFile, Layout::kFile,
                    "\"\x83\x82\x81[\x83^\"" + std::string(kApLine).substr(5),
                    withText2(kApGear, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD[\xEF\xBF\xBD^")},
        StartUpCase{"SetDataIsADirectory", kSetDataFile, Layout::kDirectory, "", kDesignGear},
        StartUpCase{"SetDataIsANamedPipe", kSetDataFile, Layout::kNamedPipe, "", kDesignGear}),
    caseName);
// clang-format on

// --- ways a save can fail

// This thread without CAP_DAC_OVERRIDE: root then obeys permission bits as any user does.
class WithoutDacOverride {
 public:
  WithoutDacOverride() {
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2];
    std::memcpy(reduced, saved_, sizeof reduced);
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    ok_ = ::syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutDacOverride() {
    if (ok_) ::syscall(SYS_capset, &header_, saved_);
  }
  bool ok() const { return ok_; }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool ok_ = false;
};

// A small file system over the folder, in a mount namespace of this thread's own so that no one
// else sees it; removed with this object. Not mounted where mounting is not allowed.
class SmallDisk {
 public:
  SmallDisk(const fs::path& where, const char* size) : where_(where) {
    static const bool privateMounts =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    const std::string options = std::string("size=") + size + ",mode=0755";
    mounted_ = privateMounts && ::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool readOnly(bool on) {
    return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | (on ? MS_RDONLY : 0), nullptr) ==
           0;
  }

 private:
  fs::path where_;
  bool mounted_ = false;
};

// Writes until the file system is full; true when it is.
bool fillUp(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const std::string block(4096, 'f');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  // The last page or so may still take a few bytes.
  while (errno != ENOSPC && ::write(fd, "f", 1) == 1) {
  }
  const bool full = errno == ENOSPC;
  ::close(fd);
  return full;
}

// Files may not grow beyond a few bytes, as a quota stops them; SIGXFSZ, which would end the
// process, is ignored so the write fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  bool ok() const { return ok_; }

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
  bool ok_ = false;
};

enum class Obstacle {
  kSetDataIsADirectory,
  kFolderReadOnly,
  kReadOnlyFs,
  kDiskFull,
  kFileSizeLimit
};

struct SaveCase {
  const char* name;
  Obstacle obstacle;
};

class FailedSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(FailedSave, KeepsTheOldFilesAndTellsTheOperator) {
  const Obstacle obstacle = GetParam().obstacle;
  const bool directory = obstacle == Obstacle::kSetDataIsADirectory;
  Tool tool;
  const fs::path folder = tool.dir.path;
  const fs::path setData = folder / kSetDataFile;
  const fs::path portFile = folder / kPortFile;
  // What makes saving fail; whatever is left of it goes before the tool does.
  std::optional<SmallDisk> disk;
  std::optional<WithoutDacOverride> caps;
  std::optional<FileSizeLimit> limit;
  if (obstacle == Obstacle::kReadOnlyFs || obstacle == Obstacle::kDiskFull) {
    if (!disk.emplace(folder, obstacle == Obstacle::kDiskFull ? "64k" : "1m").mounted()) {
      GTEST_SKIP() << "mounting not allowed here";
    }
  }
  if (directory) {
    fs::create_directory(setData);
    writeBytes(setData / "inside", "x");
  } else {
    writeBytes(setData, kApLine);
    writeBytes(portFile, " 3 \r\n");
  }
  std::function<void()> clearObstacle;  // what the operator does about it afterwards
  switch (obstacle) {
    case Obstacle::kSetDataIsADirectory:
      clearObstacle = [&] { fs::remove_all(setData); };
      break;
    case Obstacle::kFolderReadOnly:  // r-x for everyone, and root held to that
      fs::permissions(folder, fs::perms(0555));
      if (!caps.emplace().ok()) GTEST_SKIP() << "cannot drop CAP_DAC_OVERRIDE";
      clearObstacle = [&] {
        caps.reset();
        fs::permissions(folder, fs::perms(0755));
      };
      break;
    case Obstacle::kReadOnlyFs:
      if (!disk->readOnly(true)) GTEST_SKIP() << "cannot remount read-only";
      clearObstacle = [&] { disk->readOnly(false); };
      break;
    case Obstacle::kDiskFull:
      if (!fillUp(folder / "filler")) GTEST_SKIP() << "the disk did not fill";
      clearObstacle = [&] { fs::remove(folder / "filler"); };
      break;
    case Obstacle::kFileSizeLimit:  // below either file's size
      if (!limit.emplace(4).ok()) GTEST_SKIP() << "cannot set RLIMIT_FSIZE";
      clearObstacle = [&] { limit.reset(); };
      break;
  }
  const std::string oldSetData = contentOf(setData);
  const std::string oldPort = directory ? "" : readBytes(portFile);

  pickPreset(tool, "NJP");  // port closed: fills the fields, sends nothing
  tool.op.messages.clear();
  tool.press("Command28");  // "USERﾌﾟﾘｾｯﾄ保存", answered OK

  ASSERT_EQ(tool.op.messages.size(), 2u);
  EXPECT_EQ(tool.op.messages[0].text, kSaveQuestion);
  const auto& told = tool.op.messages[1];
  EXPECT_NE(told.text, kSavedText);
  EXPECT_EQ(told.style, MessageStyle::Critical);
  EXPECT_FALSE(told.title.empty());
  EXPECT_NE(told.text.find(setData.string()), std::string::npos) << "say where: " << told.text;
  EXPECT_EQ(contentOf(setData), oldSetData);
  if (!directory) {
    // The port number is remembered the same way; failing that is not worth a message.
    tool.window.setText(kCombo1, "COM7");
    tool.form.Combo1_LostFocus();
    EXPECT_EQ(readBytes(portFile), oldPort);
    EXPECT_EQ(tool.op.messages.size(), 2u);
  }
  EXPECT_TRUE(leftovers(folder).empty()) << ::testing::PrintToString(leftovers(folder));

  // Once the operator has dealt with it, the same press saves.
  clearObstacle();
  tool.op.messages.clear();
  tool.press("Command28");
  ASSERT_EQ(tool.op.messages.size(), 2u);
  EXPECT_EQ(tool.op.messages[1].text, kSavedText);
  EXPECT_EQ(readBytes(setData), R"("200","8","3","240","200","8","3","144","400","1","0",)");
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, FailedSave,
                         ::testing::Values(SaveCase{"SetDataIsADirectory",
                                                    Obstacle::kSetDataIsADirectory},
                                           SaveCase{"FolderReadOnly", Obstacle::kFolderReadOnly},
                                           SaveCase{"ReadOnlyFileSystem", Obstacle::kReadOnlyFs},
                                           SaveCase{"DiskFull", Obstacle::kDiskFull},
                                           SaveCase{"FileSizeLimit", Obstacle::kFileSizeLimit}),
                         caseName);

}  // namespace
}  // namespace korvane
