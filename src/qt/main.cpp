// Start-up: the core's (start_program.h); here what needs Qt: the application, the port and the
// event loop of the modes without a window, and the window program (window_program.h).

#include <QApplication>
#include <QHash>
#include <QIcon>

#include "app/port_names.h"
#include "app/start_program.h"
#include "qt/port_facts.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_serial_port.h"
#include "qt/window_program.h"

namespace korvane {
namespace {

class QtShell : public Shell {
 public:
  QtShell(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  int runCommand(BackupCommand& command, bool find) override {
    QCoreApplication app(argc_, argv_);
    QCoreApplication::setApplicationName(kProgramName);
    const QHash<QString, QSerialPortInfo> serialPorts = SerialPortsByPath();
    const std::filesystem::path portFolder = command.portFolder;
    command.portsPresent = [&] { return PortsPresentNow(portFolder, serialPorts); };
    command.deviceText = [&](int n) {
      return PortTooltip(PortFactsOf(PortDevice(n, portFolder, ExistsOnDisk), serialPorts));
    };
    QtSerialPort port([&](int n) { return BackupCommandDevice(command, n); });
    QtEventLoop loop;
    return RunCommand(command, find, port, loop, port.events);
  }

  int runWindow(const Arguments& args, const std::filesystem::path& folder,
                const std::filesystem::path& portFolder) override {
    QApplication app(argc_, argv_);
    QApplication::setApplicationName(kProgramName);
    QApplication::setWindowIcon(QIcon(":/korvane/korvane-settei.png"));
    QGuiApplication::setDesktopFileName("korvane-settei");  // the menu entry's icon on Wayland
    return RunWindowProgram(args, folder, portFolder);
  }

 private:
  int& argc_;
  char** argv_;
};

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  korvane::QtShell shell(argc, argv);
  return korvane::StartProgram(korvane::ProgramArguments(argc, argv),
                               korvane::ProgramName(argc, argv), korvane::Program::Both, shell);
}
