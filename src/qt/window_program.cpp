#include "qt/window_program.h"

#include <QApplication>
#include <QHash>

#include "app/menu_flows.h"
#include "app/port_names.h"
#include "app/start_program.h"
#include "qt/backup_dialogs.h"
#include "qt/journal_dialog.h"
#include "qt/main_window.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_operator.h"
#include "qt/qt_serial_port.h"
#include "qt/tool_window.h"
#include "qt/wiring.h"
#include "window/layout.h"

namespace korvane {

int RunWindowProgram(const Arguments& args, const std::filesystem::path& folder,
                     const std::filesystem::path& portFolder) {
  const auto deviceFor = [&](int n) { return PortDevice(n, portFolder, ExistsOnDisk); };
  // What the system knows of the ports, asked again for each search (an adapter plugged in
  // meanwhile is found).
  QHash<QString, QSerialPortInfo> serialPorts = SerialPortsByPath();
  const auto portTooltip = [&](int n) {
    return PortTooltip(PortFactsOf(deviceFor(n), serialPorts));
  };
  ToolWindow toolWindow;
  MainWindow& window = toolWindow.client();
  QtSerialPort port(deviceFor);
  QtEventLoop loop;
  QtOperator windowOperator(&toolWindow);
  ConsoleOperator console;
  Operator& op = NoOneWatches(args) ? static_cast<Operator&>(console) : windowOperator;
  Form1 form(window, port, loop, op, folder);
  WireShell(form, port, loop, window);
  form.setPortsPresent([&] {
    serialPorts = SerialPortsByPath();
    return PortsPresentNow(portFolder, serialPorts);
  });
  QtFileChooser files(&toolWindow);
  QtProgress progress(&toolWindow);
  toolWindow.setMenuHandlers(MenuHandlersFor(
      form, port, port.events, portTooltip,
      {files, progress, [&](CompareTable& t) { NewCompareDialog(&toolWindow, t)->exec(); },
       [&](JournalView& v) { NewJournalDialog(&toolWindow, v)->exec(); }}));
  window.setPortTooltips([&](const std::vector<int>& numbers) {
    serialPorts = SerialPortsByPath();  // what is plugged in now
    std::vector<std::string> texts;
    for (int n : numbers) texts.push_back(portTooltip(n));
    return texts;
  });
  return RunWindow(args, form, port, loop, console,
                   {[&] { toolWindow.show(); },
                    [&] {
                      std::string rects;
                      for (const ControlEntry& entry : windowControls()) {
                        if (entry.has(kHidden)) continue;
                        const QRect r = window.control(entry.name)->geometry();
                        rects += ControlRectLine(entry.name, r.x(), r.y(), r.width(), r.height());
                      }
                      return rects;
                    },
                    [&](const std::filesystem::path& png) {
                      return toolWindow.grab().save(QString::fromStdU16String(png.u16string()),
                                                    "PNG");
                    },
                    [] { return QApplication::exec(); }});
}

}  // namespace korvane
