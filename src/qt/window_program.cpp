#include "qt/window_program.h"

#include <QApplication>
#include <QHash>

#include "app/port_names.h"
#include "app/start_program.h"
#include "qt/backup_dialogs.h"
#include "qt/main_window.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_operator.h"
#include "qt/qt_serial_port.h"
#include "qt/table_dialog.h"
#include "qt/tool_window.h"
#include "window/layout.h"

namespace korvane {

int RunWindowProgram(const Arguments& args, const std::filesystem::path& folder,
                     const std::filesystem::path& portFolder) {
  const auto deviceFor = [&](int n) { return PortDevice(n, portFolder, ExistsOnDisk); };
  // What the system knows of the ports now (an adapter plugged in meanwhile is found).
  const auto portTexts = [&](const std::vector<int>& numbers) {
    const QHash<QString, QSerialPortInfo> serialPorts = SerialPortsByPath();
    std::vector<std::string> texts;
    for (int n : numbers) texts.push_back(PortTooltip(PortFactsOf(deviceFor(n), serialPorts)));
    return texts;
  };
  ToolWindow toolWindow;
  MainWindow& window = toolWindow.client();
  QtSerialPort port(deviceFor);
  QtEventLoop loop;
  QtOperator boxes(&toolWindow);
  QtFileChooser files(&toolWindow);
  QtProgress progress(&toolWindow);
  window.setPortTooltips(portTexts);
  WindowParts parts{
      window,
      port,
      port.events,
      loop,
      boxes,
      {files, progress, [&](TableModel& t) { NewTableDialog(&toolWindow, t)->exec(); }},
      [&] { return PortsPresentNow(portFolder, SerialPortsByPath()); },
      portTexts,
      [&](WindowEvents* form, MenuHandlers menu) {
        window.bind(form);
        toolWindow.setMenuHandlers(std::move(menu));
      },
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
         return toolWindow.grab().save(QString::fromStdU16String(png.u16string()), "PNG");
       },
       [] { return QApplication::exec(); }}};
  return StartWindow(args, folder, parts);
}

}  // namespace korvane
