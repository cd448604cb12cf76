// Start-up: the window, the port, the event loop and the handlers, wired together.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QSerialPortInfo>
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
#include "app/port_tooltip.h"
#include "app/qt/qt_event_loop.h"
#include "app/qt/qt_serial_port.h"
#include "app/qt/wiring.h"
#include "ui/main_window.h"
#include "ui/qt_operator.h"

namespace {

// Paths cross between Qt and the core as UTF-16, so that a folder named in Japanese keeps its name
// on Windows, where a narrow path would follow the code page.
std::filesystem::path toPath(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}
QString toQString(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
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

// The serial devices the system lists, by their real path (on Windows by their name, "COM3").
QHash<QString, QSerialPortInfo> serialPortsByPath() {
  QHash<QString, QSerialPortInfo> ports;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    const QString path = port.portName();
#else
    const QString path = QFileInfo(port.systemLocation()).canonicalFilePath();
#endif
    if (!path.isEmpty()) ports.insert(path, port);
  }
  return ports;
}

// What the system knows of the device behind a port: where a link leads, and the adapter's
// description, maker and USB ids (listed under the link's target, not the link).
korvane::PortFacts portFacts(const std::filesystem::path& device,
                             const QHash<QString, QSerialPortInfo>& ports) {
  korvane::PortFacts facts;
  facts.device = device;
#ifdef Q_OS_WIN
  // A Windows port is no file: it is there when the system lists it.
  const auto port = ports.constFind(toQString(device));
  facts.present = port != ports.constEnd();
#else
  const QFileInfo info(toQString(device));
  facts.present = info.exists();  // follows links
  if (info.isSymLink()) {
    facts.linkTarget = toPath(facts.present ? info.canonicalFilePath() : info.symLinkTarget());
  }
  const auto port = facts.present ? ports.constFind(info.canonicalFilePath()) : ports.constEnd();
#endif
  if (port != ports.constEnd()) {
    korvane::PortAdapter adapter;
    adapter.description = port->description().toStdString();
    adapter.manufacturer = port->manufacturer().toStdString();
    if (port->hasVendorIdentifier()) adapter.vendorId = port->vendorIdentifier();
    if (port->hasProductIdentifier()) adapter.productId = port->productIdentifier();
    facts.adapter = adapter;
  }
  return facts;
}

bool savePng(QWidget& window, const QString& path) {
  const bool ok = window.grab().save(path, "PNG");
  std::printf("%s\n", ok ? qPrintable(QFileInfo(path).absoluteFilePath()) : "screenshot failed");
  std::fflush(stdout);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("korvane-settei");
  QApplication::setWindowIcon(QIcon(":/korvane/korvane-settei.png"));
  QGuiApplication::setDesktopFileName("korvane-settei");  // the menu entry's icon on Wayland
  QCommandLineParser cli;
  cli.setApplicationDescription("Korvane ｾｯﾃｲ — settings tool for the mount controller");
  cli.addHelpOption();
  const QCommandLineOption dataDirOpt("data-dir", "Folder of siri.DAT and SetData.txt.", "dir");
  const QCommandLineOption portDirOpt("port-dir", "Folder searched for COMn links.", "dir");
  const QCommandLineOption shotOpt("screenshot", "Save a PNG of the window and quit.", "png");
  const QCommandLineOption readShotOpt("read-and-screenshot",
                                       "Press 接続, read everything, save a PNG and quit.", "png");
  cli.addOptions({dataDirOpt, portDirOpt, shotOpt, readShotOpt});
  cli.process(app);

  const QString programFolder = QCoreApplication::applicationDirPath();
  // The user's own folder holds the local files and the COMn links a user makes: beside the
  // program, or for an installed copy the user's data folder, where no root is needed to link.
  const std::filesystem::path ownFolder = dataFolder(programFolder);
  const std::filesystem::path portFolder =
      cli.isSet(portDirOpt) ? toPath(cli.value(portDirOpt)) : ownFolder;
  const std::filesystem::path folder =
      cli.isSet(dataDirOpt) ? toPath(cli.value(dataDirOpt)) : ownFolder;

#ifdef Q_OS_WIN
  // Port n is the system's own "COMn".
  auto deviceFor = [](int n) { return std::filesystem::path("COM" + std::to_string(n)); };
#else
  auto deviceFor = [portFolder](int n) {
    return korvane::PortDevice(n, portFolder, korvane::ExistsOnDisk);
  };
#endif

  korvane::MainWindow window;
  korvane::QtSerialPort port(deviceFor);
  korvane::QtEventLoop loop;
  korvane::QtOperator op(&window);
  korvane::Form1 form(window, port, loop, op, folder);
  korvane::WireShell(form, port, window);
  const QHash<QString, QSerialPortInfo> serialPorts = serialPortsByPath();
  window.setPortTooltips([&deviceFor, &serialPorts](int n) {
    return korvane::PortTooltip(portFacts(deviceFor(n), serialPorts));
  });

  form.Form_Load();
  window.show();

  // The picture runs: save the window (after a full read, for the second) and quit.
  const bool readFirst = cli.isSet(readShotOpt);
  if (readFirst || cli.isSet(shotOpt)) {
    const QString path = cli.value(readFirst ? readShotOpt : shotOpt);
    QTimer::singleShot(200, &window, [&, path, readFirst] {
      if (readFirst) {
        form.Command11_Click();
        loop.Wait(600);  // the answer to the last query
      }
      const bool ok = savePng(window, path);
      loop.quit();
      QCoreApplication::exit(ok ? 0 : 1);
    });
  }
  return app.exec();
}
