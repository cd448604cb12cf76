// Start-up: the window, the port, the event loop and the handlers, wired together.

#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/form1.h"
#include "app/port_names.h"
#include "app/qt/qt_event_loop.h"
#include "app/qt/qt_serial_port.h"
#include "ui/main_window.h"
#include "ui/qt_operator.h"

namespace {

// The two small files live beside the program, as the tool has always kept them; an installed
// copy whose folder cannot be written keeps them in the user's data folder instead.
std::filesystem::path dataFolder(const QString& programFolder) {
  if (::access(programFolder.toLocal8Bit().constData(), W_OK) == 0) {
    return programFolder.toStdString();
  }
  const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(appData);
  return appData.toStdString();
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
  // Message boxes without a title of their own show this one.
  QApplication::setApplicationDisplayName("Korvane ｾｯﾃｲ");
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
  const std::filesystem::path portFolder =
      (cli.isSet(portDirOpt) ? cli.value(portDirOpt) : programFolder).toStdString();
  const std::filesystem::path folder =
      cli.isSet(dataDirOpt) ? std::filesystem::path(cli.value(dataDirOpt).toStdString())
                            : dataFolder(programFolder);

  auto deviceFor = [portFolder](int n) {
    return korvane::PortDevice(n, portFolder, [](const std::filesystem::path& p) {
      std::error_code ec;
      return std::filesystem::exists(p, ec);
    });
  };

  korvane::MainWindow window;
  korvane::QtSerialPort port(deviceFor);
  korvane::QtEventLoop loop;
  korvane::QtOperator op(&window);
  korvane::Form1 form(window, port, loop, op, folder);
  port.onReceived = [&form](std::string_view bytes) {
    form.MSComm1_OnComm(korvane::Form1::kReceiveEvent, bytes);
  };
  port.onLost = [&form] { form.Port_Lost(); };
  window.bind(&form);
  window.setPortTooltips([&deviceFor](int n) { return deviceFor(n).string(); });

  form.Form_Load();
  window.show();

  if (cli.isSet(shotOpt)) {
    const QString path = cli.value(shotOpt);
    QTimer::singleShot(200, &window, [&] {
      const bool ok = savePng(window, path);
      loop.quit();
      QCoreApplication::exit(ok ? 0 : 1);
    });
  } else if (cli.isSet(readShotOpt)) {
    const QString path = cli.value(readShotOpt);
    QTimer::singleShot(200, &window, [&] {
      form.Command11_Click();
      loop.Wait(600);  // the answer to the last query
      const bool ok = savePng(window, path);
      loop.quit();
      QCoreApplication::exit(ok ? 0 : 1);
    });
  }
  return app.exec();
}
