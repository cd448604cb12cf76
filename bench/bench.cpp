// Measures what timed tests should not, and prints the figures; asserts nothing.
//
//   build/korvane-bench [--wait-ms N] [--runs N]
//
// - start-up to shown and peak memory, the tool against a bare Qt window of the same size, each
//   in fresh processes (median of --runs);
// - a full read-all against the simulator: the processor share, the spacing of the queries on
//   the wire (as the simulator received them), and the delay from a reply's last byte arriving
//   in the tool to its field changing;
// - the processor share of one long Wait.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/backup_sequences.h"
#include "app/form1.h"
#include "app/port_events.h"
#include "files/local_file.h"
#include "kit/virtual_kit.h"
#include "qt/main_window.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_serial_port.h"
#include "support/sim_process.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double msSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

struct Spread {
  double min = 0, median = 0, max = 0;
};
Spread spread(std::vector<double> v) {
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  return {v.front(), v[v.size() / 2], v.back()};
}

void showAndWaitExposed(QWidget& w) {
  w.show();
  QElapsedTimer guard;
  guard.start();
  while ((!w.windowHandle() || !w.windowHandle()->isExposed()) && guard.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

// A child run: build the window, show it, report, exit.
int child(const char* what, int argc, char** argv) {
  QApplication app(argc, argv);
  korvane::kit::TempDir dir;
  korvane::kit::VirtualLoop unusedClock;
  korvane::kit::FakePort port{unusedClock};
  korvane::kit::FakeOperator op;
  korvane::QtEventLoop loop;
  if (std::strcmp(what, "bare") == 0) {
    QWidget bare;
    bare.setFixedSize(925, 568);
    showAndWaitExposed(bare);
  } else {
    korvane::MainWindow window;
    korvane::Form1 form(window, port, loop, op, dir.path);
    window.bind(&form);
    form.Form_Load();
    showAndWaitExposed(window);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("shown %ld\n", usage.ru_maxrss);
  std::fflush(stdout);
  return 0;
}

struct ChildFigures {
  double shownMs;
  double peakMiB;
};

// Spawns this program as a child; the time runs from the spawn to the child's report.
ChildFigures runChild(const char* self, const char* what) {
  int out[2];
  if (pipe(out) != 0) return {0, 0};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char childFlag[] = "--child";
  std::string kind = what;
  char* args[] = {const_cast<char*>(self), childFlag, kind.data(), nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  posix_spawn(&pid, self, &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char buf[128] = {};
  std::string line;
  ssize_t got = 0;
  while (line.find('\n') == std::string::npos && (got = read(out[0], buf, sizeof buf)) > 0) {
    line.append(buf, static_cast<std::size_t>(got));
  }
  const double shown = msSince(start);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  long peakKb = 0;
  std::sscanf(line.c_str(), "shown %ld", &peakKb);
  return {shown, static_cast<double>(peakKb) / 1024.0};
}

// The window as the handlers see it, noting when a field changes.
struct TimedPanel : korvane::Panel {
  korvane::Panel& inner;
  std::vector<Clock::time_point> textChanges;
  explicit TimedPanel(korvane::Panel& p) : inner(p) {}
  std::string text(std::string_view c) const override { return inner.text(c); }
  void setText(std::string_view c, std::string_view v) override {
    inner.setText(c, v);
    textChanges.push_back(Clock::now());
  }
  korvane::Colour lamp(int s) const override { return inner.lamp(s); }
  void setLamp(int s, korvane::Colour c) override {
    inner.setLamp(s, c);
    textChanges.push_back(Clock::now());
  }
  void setHighlighted(std::string_view c, bool on) override { inner.setHighlighted(c, on); }
  bool isEnabled(std::string_view c) const override { return inner.isEnabled(c); }
  void setEnabled(std::string_view c, bool on) override { inner.setEnabled(c, on); }
  void showBusy(bool on) override { inner.showBusy(on); }
  void addItem(std::string_view c, std::string_view t) override { inner.addItem(c, t); }
};

void readAllFigures() {
  korvane::kit::TempDir dir;
  korvane::MainWindow window;
  TimedPanel panel(window);
  korvane::QtSerialPort port([&](int n) { return dir.path / ("COM" + std::to_string(n)); });
  korvane::QtEventLoop loop;
  korvane::kit::FakeOperator op;
  korvane::Form1 form(panel, port, loop, op, dir.path);
  port.events = korvane::PortEventsFor(form, loop);
  window.bind(&form);
  std::vector<Clock::time_point> replyArrivals;
  port.events.received = [&, receive = port.events.received](std::string_view bytes) {
    if (bytes.find('#') != std::string_view::npos) replyArrivals.push_back(Clock::now());
    receive(bytes);
  };
  showAndWaitExposed(window);
  korvane::testing::SimProcess sim({}, (dir.path / "COM1").string());

  const double cpuBefore = processCpuSeconds();
  const auto start = Clock::now();
  form.Command11_Click();  // the last answer's 400 ms included
  const double wallMs = msSince(start);
  const double cpuMs = (processCpuSeconds() - cpuBefore) * 1000;

  const auto log = sim.log();
  std::vector<double> gaps;
  for (std::size_t i = 1; i < log.size(); ++i) gaps.push_back(log[i].ms - log[i - 1].ms);
  // Each arrival is answered by the first window change at or after it.
  std::vector<double> delays;
  for (const auto& arrival : replyArrivals) {
    auto it = std::lower_bound(panel.textChanges.begin(), panel.textChanges.end(), arrival);
    if (it != panel.textChanges.end()) {
      delays.push_back(std::chrono::duration<double, std::micro>(*it - arrival).count());
    }
  }
  const Spread g = spread(gaps), d = spread(delays);
  std::printf("read-all (接続)       %zu queries in %.0f ms, CPU %.1f ms = %.2f %% of one core\n",
              log.size(), wallMs, cpuMs, 100.0 * cpuMs / wallMs);
  std::printf(
      "query spacing        min %.1f / median %.1f / max %.1f ms (as the simulator read them)\n",
      g.min, g.median, g.max);
  std::printf("reply to field       min %.0f / median %.0f / max %.0f µs over %zu replies\n", d.min,
              d.median, d.max, delays.size());
}

// A backup of every setting, then a restore of five settings made to differ in the file: one
// read-all each, plus half a second per written setting and their read-backs for the restore.
void backupFigures() {
  korvane::kit::TempDir dir;
  korvane::MainWindow window;
  korvane::QtSerialPort port([&](int n) { return dir.path / ("COM" + std::to_string(n)); });
  korvane::QtEventLoop loop;
  korvane::kit::FakeOperator op;
  korvane::Form1 form(window, port, loop, op, dir.path);
  port.events = korvane::PortEventsFor(form, loop);
  window.bind(&form);
  korvane::testing::SimProcess sim({}, (dir.path / "COM1").string());
  form.COMM1open();

  auto start = Clock::now();
  const auto saved = form.Backup_Save(dir.path / "a.ini", {});
  const double backupMs = msSince(start);
  auto parsed = korvane::Parse_Backup(*korvane::ReadLocalFile(dir.path / "a.ini"));
  auto* file = std::get_if<korvane::BackupFile>(&parsed);
  if (saved.trouble != korvane::BackupTrouble::None || file == nullptr) {
    std::printf("backup               failed: %s\n", saved.message.c_str());
    return;
  }
  const std::pair<const char*, const char*> changes[] = {{"max_rate", "450"},
                                                         {"backlash_ra", "7"},
                                                         {"site_longitude", "+135*30"},
                                                         {"wifi_ap_ssid", "Bench"},
                                                         {"option_buzzer", "0"}};
  for (const auto& [key, value] : changes) {
    file->values[static_cast<std::size_t>(korvane::backupPositionOfKey(key))] = value;
  }
  korvane::WriteLocalFile(dir.path / "b.ini", korvane::Format_Backup(*file));
  start = Clock::now();
  const auto comparison = form.Backup_Compare(dir.path / "b.ini", {});
  const auto report = form.Backup_Restore(comparison.file, comparison.differing);
  const double restoreMs = msSince(start);
  std::printf("backup               30 settings in %.0f ms\n", backupMs);
  std::printf("restore              %d differing written, %d read back alike, in %.0f ms\n",
              report.written(), report.matching(), restoreMs);
}

void waitFigure(double waitMs) {
  korvane::QtEventLoop loop;
  const double cpuBefore = processCpuSeconds();
  const auto start = Clock::now();
  loop.Wait(waitMs);
  const double wallMs = msSince(start);
  const double cpuMs = (processCpuSeconds() - cpuBefore) * 1000;
  std::printf("Wait(%.0f)          lasted %.1f ms, CPU %.2f ms = %.3f %% of one core\n", waitMs,
              wallMs, cpuMs, 100.0 * cpuMs / wallMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return child(argv[2], argc, argv);
  double waitMs = 10000;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--wait-ms") == 0) waitMs = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;

  std::vector<double> toolShown, bareShown, toolPeak, barePeak;
  for (int i = 0; i < runs; ++i) {
    const ChildFigures t = runChild(self, "tool"), b = runChild(self, "bare");
    toolShown.push_back(t.shownMs), toolPeak.push_back(t.peakMiB);
    bareShown.push_back(b.shownMs), barePeak.push_back(b.peakMiB);
  }
  QApplication app(argc, argv);
  std::printf("platform             %s, %ld cores\n", qPrintable(QGuiApplication::platformName()),
              sysconf(_SC_NPROCESSORS_ONLN));
  std::printf("start to shown       tool %.1f ms, bare 925x568 window %.1f ms (median of %d)\n",
              spread(toolShown).median, spread(bareShown).median, runs);
  std::printf("peak memory (RSS)    tool %.1f MiB, bare window %.1f MiB\n", spread(toolPeak).median,
              spread(barePeak).median);
  readAllFigures();
  backupFigures();
  waitFigure(waitMs);
  return 0;
}
