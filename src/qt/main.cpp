// Start-up: a mode of the command line, or the window (window_program.h).

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <cstdio>
#include <filesystem>

#include "app/backup_command.h"
#include "app/port_names.h"
#include "app/start_up.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_serial_port.h"
#include "qt/window_program.h"

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
  return korvane::RunWindowProgram(args, folder, portFolder);
}
