// Measures what timed tests should not: the processor share of a long Wait, the time from start to
// the window on screen, and peak memory. Prints figures; asserts nothing.
//
//   build/korvane-bench            (offscreen unless a display is set)

#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>

#include "app/form1.h"
#include "app/qt/qt_event_loop.h"
#include "kit/virtual_kit.h"
#include "ui/main_window.h"

namespace {

double processCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  korvane::kit::TempDir dir;
  korvane::kit::VirtualLoop unusedClock;  // the port stays closed: only the window and Wait count
  korvane::kit::FakePort port{unusedClock};
  korvane::kit::FakeOperator op;
  korvane::QtEventLoop loop;
  korvane::MainWindow window;
  korvane::Form1 form(window, port, loop, op, dir.path);
  window.bind(&form);
  form.Form_Load();
  window.show();
  while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (sinceStart.elapsed() > 10000) break;
  }
  const double shownMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;

  const double waitMs = argc > 1 ? std::atof(argv[1]) : 10000;
  const double cpuBefore = processCpuSeconds();
  QElapsedTimer wall;
  wall.start();
  form.Wait(waitMs);
  const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
  const double cpuMs = (processCpuSeconds() - cpuBefore) * 1000;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("platform            %s\n", qPrintable(QGuiApplication::platformName()));
  std::printf("start to shown      %.1f ms\n", shownMs);
  std::printf("Wait(%.0f)        lasted %.1f ms, used %.1f ms of CPU = %.3f %% of one core\n",
              waitMs, wallMs, cpuMs, 100.0 * cpuMs / wallMs);
  std::printf("peak memory (RSS)   %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
