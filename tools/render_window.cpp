// korvane-render OUT.png [--sample | --find PORTDIR]
// Draws the main window offscreen and saves it, to look at the layout as the operator will see
// it. With --sample the fields hold long values and the lamps show all three colours, and the
// busy notice is saved beside it as OUT-busy.png. With --find the window searches the COMn links
// of PORTDIR for the controller (no port of the machine's own) and OUT.png is the message box
// that tells what it found.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/form1.h"
#include "app/port_events.h"
#include "app/port_names.h"
#include "qt/backup_dialogs.h"
#include "qt/busy_window.h"
#include "qt/main_window.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_operator.h"
#include "qt/qt_serial_port.h"
#include "qt/tool_window.h"

namespace {

void fillSample(korvane::MainWindow& window) {
  const char* const values[][2] = {
      {"Text1(0)", "400"},
      {"Text1(1)", "200000"},
      {"Text1(2)", "199999"},
      {"Text1(3)", "3626"},
      {"Text1(4)", "5333"},
      {"Text1(5)", "-139*44"},
      {"Text1(6)", "+35*39"},
      {"Text1(7)", "+9"},
      {"Text1(8)", "100"},
      {"Text1(9)", "100"},
      {"Text1(10)", "10"},
      {"Text1(11)", "10"},
      {"Text1(12)", "90*"},
      {"Text1(13)", "-10*"},
      {"Text1(14)", "12/31/24"},
      {"Text1(15)", "23:59:59"},
      {"Text1(20)", "35"},
      {"Text1(21)", "0"},
      {"Text1(22)", "HomeNet-5G"},
      {"Text1(23)", "Korvane-AP"},
      {"Text1(24)", "password123"},
      {"Text1(25)", "secret!"},
      {"Text4", "3.33333333333333"},
      {"Text8", "2.26666666666666"},
      {"Text10", "1.72413793103448"},
      {"Text11", "413"},
      {"Combo1", "COM19"},
      {"Combo2", "USER"},
      {"Combo3", "10"},
  };
  for (const auto& [name, value] : values) window.setText(name, value);
  const korvane::Colour colours[] = {korvane::kMagenta, korvane::kTeal, korvane::kGreen};
  for (int shape = 1; shape <= 14; ++shape) window.setLamp(shape, colours[shape % 3]);
  window.setHighlighted("Text4", true);
}

}  // namespace

// The real search's message box, as the operator sees it, saved while it is shown.
int renderFind(const QString& out, const std::filesystem::path& ports) {
  using namespace korvane;
  ToolWindow tool;
  QtSerialPort port([&](int n) { return PortDevice(n, ports, ExistsOnDisk); });
  QtEventLoop loop;
  QtOperator op(&tool);
  Form1 form(tool.client(), port, loop, op, ports);
  port.events = PortEventsFor(form, loop);
  tool.client().bind(&form);
  form.setPortsPresent(
      [&] { return PortsPresent(ports, ExistsOnDisk, [](const auto&) { return false; }); });
  tool.show();
  bool saved = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    saved = box->grab().save(out, "PNG");
    box->accept();
  });
  poll.start(100);
  QtProgress progress(&tool);
  form.Menu_Find(progress, port.events, [&](int n) {
    return PortTooltip(PortFactsOf(PortDevice(n, ports, ExistsOnDisk), {}));
  });
  if (!saved) std::fprintf(stderr, "korvane-render: cannot write %s\n", qPrintable(out));
  return saved ? 0 : 1;
}

int main(int argc, char** argv) {
  const bool find = argc == 4 && std::string(argv[2]) == "--find";
  if (argc < 2 || (argc == 3 && std::string(argv[2]) != "--sample") || (argc == 4 && !find) ||
      argc > 4) {
    std::fprintf(stderr, "usage: korvane-render OUT.png [--sample | --find PORTDIR]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (find) return renderFind(QString::fromLocal8Bit(argv[1]), argv[3]);
  const bool sample = argc == 3;
  const QString out = QString::fromLocal8Bit(argv[1]);

  korvane::MainWindow window;
  if (sample) fillSample(window);
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(out, "PNG")) {
    std::fprintf(stderr, "korvane-render: cannot write %s\n", argv[1]);
    return 1;
  }
  if (sample) {
    window.showBusy(true);
    QApplication::processEvents();
    const QFileInfo info(out);
    const QString busyOut = info.dir().filePath(info.completeBaseName() + "-busy.png");
    if (!window.busyWindow()->grab().save(busyOut, "PNG")) {
      std::fprintf(stderr, "korvane-render: cannot write %s\n", qPrintable(busyOut));
      return 1;
    }
  }
  return 0;
}
