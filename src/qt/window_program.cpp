#include "qt/window_program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/backup_command.h"
#include "app/form1.h"
#include "app/port_names.h"
#include "backup/backup_file.h"
#include "files/local_file.h"
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

namespace {

bool savePng(QWidget& window, const QString& path) {
  const bool ok = window.grab().save(path, "PNG");
  std::printf("%s\n", ok ? qPrintable(QFileInfo(path).absoluteFilePath()) : "screenshot failed");
  std::fflush(stdout);
  return ok;
}

}  // namespace

int RunWindowProgram(const Arguments& args, const std::filesystem::path& folder,
                     const std::filesystem::path& portFolder) {
  auto deviceFor = [&portFolder](int n) { return PortDevice(n, portFolder, ExistsOnDisk); };

  // What the system knows of the ports, asked again for each search (an adapter plugged in
  // meanwhile is found).
  QHash<QString, QSerialPortInfo> serialPorts = SerialPortsByPath();
  const auto portTooltip = [&deviceFor, &serialPorts](int n) {
    return PortTooltip(PortFactsOf(deviceFor(n), serialPorts));
  };
  ToolWindow toolWindow;
  MainWindow& window = toolWindow.client();
  QtSerialPort port(deviceFor);
  QtEventLoop loop;
  // The picture runs have no one to press OK: their messages go to standard error.
  const bool readFirst = args.readAndScreenshot.has_value();
  const bool pictureRun = readFirst || args.screenshot.has_value();
  QtOperator windowOperator(&toolWindow);
  ConsoleOperator console;
  Operator& op = pictureRun ? static_cast<Operator&>(console) : windowOperator;
  Form1 form(window, port, loop, op, folder);
  WireShell(form, port, loop, window);
  form.setPortsPresent([&] {
    serialPorts = SerialPortsByPath();
    return PortsPresentNow(portFolder, serialPorts);
  });
  toolWindow.setMenuHandlers({
      [&] {
        const LocalDateTime now = loop.now();
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        ShowBackupDialogs(&toolWindow, form, op,
                          {KORVANE_VERSION, ComName(port.number()),
                           QDir(documents).filePath(QString::fromStdString(BackupFileName(now)))});
      },
      [&] { ShowCompareRestoreDialogs(&toolWindow, form, op); },
      [&] { ShowJournalDialog(&toolWindow, form, op); },
      [&] { ShowFindDialog(&toolWindow, form, port.events, portTooltip); },
      [&] { return !port.isOpen(); },
  });
  window.setPortTooltips(portTooltip);

  form.Form_Load();
  toolWindow.show();

  if (args.controlRects) {
    std::string rects;
    for (const ControlEntry& entry : windowControls()) {
      if (entry.has(kHidden)) continue;
      const QRect r = window.control(entry.name)->geometry();
      rects += ControlRectLine(entry.name, r.x(), r.y(), r.width(), r.height());
    }
    const bool written = WriteLocalFile(*args.controlRects, rects);
    return written ? kExitDone : kExitTrouble;
  }

  // The picture runs: save the window (after a full read, for the second) and quit. The picture
  // is saved even when the read could not run (a port this user may not open); the status says so.
  if (pictureRun) {
    const QString path = QString::fromStdU16String(
        (readFirst ? *args.readAndScreenshot : *args.screenshot).u16string());
    QTimer::singleShot(200, &toolWindow, [&, path] {
      if (readFirst) form.Command11_Click();  // returns once the last answer has had its time
      const bool portOpen = port.isOpen();    // before the end closes it
      const bool saved = savePng(toolWindow, path);
      loop.quit();
      QCoreApplication::exit(PictureRunStatus(saved, readFirst, portOpen, console.messages));
    });
  }
  return QApplication::exec();
}

}  // namespace korvane
