// Start-up: the window, the port, the event loop and the handlers, wired together.

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/backup_command.h"
#include "app/form1.h"
#include "app/menu_flows.h"
#include "app/port_names.h"
#include "app/start_up.h"
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

namespace {

bool savePng(QWidget& window, const QString& path) {
  const bool ok = window.grab().save(path, "PNG");
  std::printf("%s\n", ok ? qPrintable(QFileInfo(path).absoluteFilePath()) : "screenshot failed");
  std::fflush(stdout);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const korvane::Arguments args = korvane::ParseArguments(korvane::ProgramArguments(argc, argv));
  if (!args.error.empty()) {
    std::fputs(args.error.c_str(), stderr);
    return korvane::kExitTrouble;
  }
  if (args.version) {
    std::fputs(korvane::VersionText().c_str(), stdout);
    return korvane::kExitDone;
  }
  if (args.help) {
    std::fputs(korvane::HelpText(korvane::ProgramName(argc, argv)).c_str(), stdout);
    return korvane::kExitDone;
  }
  // The user's own folder holds the local files and the COMn links a user makes: beside the
  // program, or for an installed copy the user's data folder, where no root is needed to link.
  const auto folders = [&] {
    const std::filesystem::path own = korvane::LocalFilesFolder();
    return std::pair{args.dataFolder.value_or(own), args.portFolder.value_or(own)};
  };

  if (args.journalEntries) {
    return korvane::RunJournalCommand(folders().first, *args.journalEntries, args.showSecrets);
  }
  if (args.mode || args.find) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(korvane::kProgramName);
    const auto [folder, portFolder] = folders();
    const QHash<QString, QSerialPortInfo> serialPorts = korvane::SerialPortsByPath();
    korvane::BackupCommand command{
        args.mode.value_or(korvane::BackupMode::Backup),
        args.file,
        args.port,
        folder,
        portFolder,
        args.showSecrets,
        [&] { return korvane::PortsPresentNow(portFolder, serialPorts); },
        {}};
    command.acceptMechanics = args.acceptMechanics;
    command.deviceText = [&](int n) {
      return korvane::PortTooltip(korvane::PortFactsOf(
          korvane::PortDevice(n, portFolder, korvane::ExistsOnDisk), serialPorts));
    };
    korvane::QtSerialPort port([&](int n) { return korvane::BackupCommandDevice(command, n); });
    korvane::QtEventLoop loop;
    if (args.find) return korvane::RunFindCommand(command, port, loop, port.events);
    return korvane::RunBackupCommand(command, port, loop, port.events);
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(korvane::kProgramName);
  QApplication::setWindowIcon(QIcon(":/korvane/korvane-settei.png"));
  QGuiApplication::setDesktopFileName("korvane-settei");  // the menu entry's icon on Wayland
  const auto [folder, portFolder] = folders();

  auto deviceFor = [portFolder = portFolder](int n) {
    return korvane::PortDevice(n, portFolder, korvane::ExistsOnDisk);
  };

  // What the system knows of the ports, asked again for each search (an adapter plugged in
  // meanwhile is found).
  QHash<QString, QSerialPortInfo> serialPorts = korvane::SerialPortsByPath();
  const auto portTooltip = [&deviceFor, &serialPorts](int n) {
    return korvane::PortTooltip(korvane::PortFactsOf(deviceFor(n), serialPorts));
  };
  korvane::ToolWindow toolWindow;
  korvane::MainWindow& window = toolWindow.client();
  korvane::QtSerialPort port(deviceFor);
  korvane::QtEventLoop loop;
  // The picture runs have no one to press OK: their messages go to standard error.
  const bool readFirst = args.readAndScreenshot.has_value();
  const bool pictureRun = readFirst || args.screenshot.has_value();
  korvane::QtOperator windowOperator(&toolWindow);
  korvane::ConsoleOperator console;
  korvane::Operator& op = pictureRun ? static_cast<korvane::Operator&>(console) : windowOperator;
  korvane::Form1 form(window, port, loop, op, folder);
  korvane::WireShell(form, port, loop, window);
  form.setPortsPresent([&, portFolder = portFolder] {
    serialPorts = korvane::SerialPortsByPath();
    return korvane::PortsPresentNow(portFolder, serialPorts);
  });
  korvane::QtFileChooser files(&toolWindow);
  korvane::QtProgress progress(&toolWindow);
  toolWindow.setMenuHandlers({
      [&] { form.Menu_Backup(files, progress); },
      [&] {
        if (const auto table = form.Menu_Compare(files, progress))
          korvane::NewCompareDialog(&toolWindow, *table)->exec();
      },
      [&] {
        korvane::JournalView view(form);
        korvane::NewJournalDialog(&toolWindow, view)->exec();
      },
      [&] { form.Menu_Find(progress, port.events, portTooltip); },
      [&] { return !port.isOpen(); },
  });
  window.setPortTooltips(portTooltip);

  form.Form_Load();
  toolWindow.show();

  if (args.controlRects) {
    std::string rects;
    for (const korvane::ControlEntry& entry : korvane::windowControls()) {
      if (entry.has(korvane::kHidden)) continue;
      const QRect r = window.control(entry.name)->geometry();
      rects += korvane::ControlRectLine(entry.name, r.x(), r.y(), r.width(), r.height());
    }
    const bool written = korvane::WriteLocalFile(*args.controlRects, rects);
    return written ? korvane::kExitDone : korvane::kExitTrouble;
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
      QCoreApplication::exit(
          korvane::PictureRunStatus(saved, readFirst, portOpen, console.messages));
    });
  }
  return app.exec();
}
