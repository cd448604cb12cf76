// Start-up: the window, the port, the event loop and the handlers, wired together.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "app/form1.h"
#include "app/local_files_place.h"
#include "app/port_names.h"
#include "backup/backup_file.h"
#include "qt/backup_dialogs.h"
#include "qt/command_line.h"
#include "qt/main_window.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_operator.h"
#include "qt/qt_serial_port.h"
#include "qt/tool_window.h"
#include "qt/wiring.h"

namespace {

// Paths cross between Qt and the core as UTF-16, so that a folder named in Japanese keeps its name
// on Windows, where a narrow path would follow the code page.
std::filesystem::path toPath(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}

bool folderWritable(const QString& folder) {
#ifdef Q_OS_UNIX
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
#else
  // On Windows the folder's access list, not a flag, keeps an ordinary user out of Program Files,
  // and making a file there answers for it: a probe, removed at once.
  QTemporaryFile probe(QDir(folder).filePath("korvane-XXXXXX.tmp"));
  return probe.open();
#endif
}

// The two small files live beside the program, as the tool has always kept them; an installed
// copy, or one whose folder cannot be written, keeps them in the user's data folder
// (ChooseLocalFilesPlace says how an installed copy is told from a build folder).
std::filesystem::path dataFolder(const QString& programFolder) {
  const std::filesystem::path folder = toPath(programFolder);
  if (korvane::ChooseLocalFilesPlace(folder, korvane::ExistsOnDisk,
                                     folderWritable(programFolder)) ==
      korvane::LocalFilesPlace::kBesideProgram) {
    return folder;
  }
  const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(appData);
  return toPath(appData);
}

bool savePng(QWidget& window, const QString& path) {
  const bool ok = window.grab().save(path, "PNG");
  std::printf("%s\n", ok ? qPrintable(QFileInfo(path).absoluteFilePath()) : "screenshot failed");
  std::fflush(stdout);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser cli;
  cli.setApplicationDescription(
      "Korvane ｾｯﾃｲ — settings tool for the mount controller.\n\n"
      "Without a mode it opens the window. The backup modes need no window and no display:\n"
      "  --backup FILE   read every setting from the controller and save them in FILE\n"
      "  --compare FILE  print each setting that differs: key, the controller's value, the file's\n"
      "  --restore FILE  write the settings that differ, read them back and print each with its\n"
      "                  read-back\n"
      "PORT is COMn (mapped as the window maps it) or a device path; without --port the port that\n"
      "siri.DAT names. Progress goes to standard error, results to standard output.\n"
      "Exit status: 0 done and everything matches; 1 the controller differs from the file\n"
      "(--compare) or a read-back does not match (--restore); 2 trouble before anything was\n"
      "written (bad arguments, a refused file, a port that does not open, a setting that did not\n"
      "answer).");
  cli.addHelpOption();
  const QCommandLineOption dataDirOpt("data-dir", "Folder of siri.DAT and SetData.txt.", "dir");
  const QCommandLineOption portDirOpt("port-dir", "Folder searched for COMn links.", "dir");
  const QCommandLineOption shotOpt("screenshot", "Save a PNG of the window and quit.", "png");
  const QCommandLineOption readShotOpt("read-and-screenshot",
                                       "Press 接続, read everything, save a PNG and quit.", "png");
  const QCommandLineOption backupOpt("backup", "Back up every setting to FILE.", "FILE");
  const QCommandLineOption compareOpt("compare", "Compare the controller with FILE.", "FILE");
  const QCommandLineOption restoreOpt("restore", "Restore what differs from FILE.", "FILE");
  const QCommandLineOption portOpt("port", "The port of the backup modes.", "PORT");
  const QCommandLineOption secretsOpt(
      "show-secrets", "Print the WiFi passwords in --compare and --restore (else ********).");
  cli.addOptions({dataDirOpt, portDirOpt, shotOpt, readShotOpt, backupOpt, compareOpt, restoreOpt,
                  portOpt, secretsOpt});
  if (!cli.parse(arguments)) {
    std::fprintf(stderr, "korvane-settei: %s\n", qPrintable(cli.errorText()));
    return korvane::kExitTrouble;
  }
  if (cli.isSet("help") || cli.isSet("help-all")) {
    // No application object yet, so Qt cannot name the program itself.
    std::fputs(qPrintable(cli.helpText().replace("<executable_name>", "korvane-settei")), stdout);
    return 0;
  }
  const int modes =
      int(cli.isSet(backupOpt)) + int(cli.isSet(compareOpt)) + int(cli.isSet(restoreOpt));
  if (modes > 1 || (modes == 0 && cli.isSet(portOpt))) {
    std::fprintf(stderr,
                 "korvane-settei: one of --backup, --compare, --restore (--port goes "
                 "with one of them)\n");
    return korvane::kExitTrouble;
  }

  // The user's own folder holds the local files and the COMn links a user makes: beside the
  // program, or for an installed copy the user's data folder, where no root is needed to link.
  const auto folders = [&] {
    const std::filesystem::path own = dataFolder(QCoreApplication::applicationDirPath());
    return std::pair{cli.isSet(dataDirOpt) ? toPath(cli.value(dataDirOpt)) : own,
                     cli.isSet(portDirOpt) ? toPath(cli.value(portDirOpt)) : own};
  };

  if (modes == 1) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("korvane-settei");
    const auto [folder, portFolder] = folders();
    const korvane::BackupMode mode = cli.isSet(backupOpt)    ? korvane::BackupMode::Backup
                                     : cli.isSet(compareOpt) ? korvane::BackupMode::Compare
                                                             : korvane::BackupMode::Restore;
    const QString file = cli.value(cli.isSet(backupOpt)    ? backupOpt
                                   : cli.isSet(compareOpt) ? compareOpt
                                                           : restoreOpt);
    // "--backup --port COM1" would take "--port" for the file and back up another controller.
    QString wrong;
    if (file.startsWith('-'))
      wrong = QStringLiteral("FILE is missing (\"%1\" is an option)").arg(file);
    if (cli.value(portOpt).startsWith('-')) wrong = QStringLiteral("PORT is missing");
    if (!cli.positionalArguments().isEmpty()) {
      wrong = QStringLiteral("\"%1\" is no option").arg(cli.positionalArguments().first());
    }
    if (!wrong.isEmpty()) {
      std::fprintf(stderr,
                   "korvane-settei: %s\nusage: korvane-settei --backup|--compare|--restore FILE "
                   "[--port PORT] [--show-secrets]\n",
                   qPrintable(wrong));
      return korvane::kExitTrouble;
    }
    return korvane::RunBackupCommand(
        {mode, toPath(file), cli.value(portOpt), folder, portFolder, cli.isSet(secretsOpt)});
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("korvane-settei");
  QApplication::setWindowIcon(QIcon(":/korvane/korvane-settei.png"));
  QGuiApplication::setDesktopFileName("korvane-settei");  // the menu entry's icon on Wayland
  const auto [folder, portFolder] = folders();

  auto deviceFor = [portFolder = portFolder](int n) {
    return korvane::PortDevice(n, portFolder, korvane::ExistsOnDisk);
  };

  korvane::ToolWindow toolWindow;
  korvane::MainWindow& window = toolWindow.client();
  korvane::QtSerialPort port(deviceFor);
  korvane::QtEventLoop loop;
  // The picture runs have no one to press OK: their messages go to standard error.
  const bool readFirst = cli.isSet(readShotOpt);
  const bool pictureRun = readFirst || cli.isSet(shotOpt);
  korvane::QtOperator windowOperator(&toolWindow);
  korvane::ConsoleOperator console;
  korvane::Operator& op = pictureRun ? static_cast<korvane::Operator&>(console) : windowOperator;
  korvane::Form1 form(window, port, loop, op, folder);
  korvane::WireShell(form, port, loop, window);
  toolWindow.setMenuHandlers({
      [&] {
        const korvane::LocalDateTime now = loop.now();
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        korvane::ShowBackupDialogs(
            &toolWindow, form, op,
            {KORVANE_VERSION, korvane::ComName(port.number()),
             QDir(documents).filePath(QString::fromStdString(korvane::BackupFileName(now)))});
      },
      [&] { korvane::ShowCompareRestoreDialogs(&toolWindow, form, op); },
  });
  const QHash<QString, QSerialPortInfo> serialPorts = korvane::SerialPortsByPath();
  window.setPortTooltips([&deviceFor, &serialPorts](int n) {
    return korvane::PortTooltip(korvane::PortFactsOf(deviceFor(n), serialPorts));
  });

  form.Form_Load();
  toolWindow.show();

  // The picture runs: save the window (after a full read, for the second) and quit. The picture
  // is saved even when the read could not run (a port this user may not open); the status says so.
  if (pictureRun) {
    const QString path = cli.value(readFirst ? readShotOpt : shotOpt);
    QTimer::singleShot(200, &toolWindow, [&, path] {
      if (readFirst) form.Command11_Click();  // returns once the last answer has had its time
      const bool read = !readFirst || (port.isOpen() && console.messages == 0);
      const bool saved = savePng(toolWindow, path);
      loop.quit();
      QCoreApplication::exit(saved && read ? 0 : korvane::kExitTrouble);
    });
  }
  return app.exec();
}
