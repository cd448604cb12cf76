#include "qt/qt_serial_port.h"

#include <QMetaEnum>
#include <QTimer>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

#include "app/port_names.h"
#include "app/port_use.h"
#include "app/traffic_log.h"

// The traffic log (the core's TrafficLog): off unless QT_LOGGING_RULES="korvane.serial.debug=true";
// one line per command sent, per chunk received, and per open, close and failure, each stamped with
// the milliseconds since start, so that a reply can be matched to its command and the gaps
// measured.
Q_LOGGING_CATEGORY(lcSerial, "korvane.serial", QtWarningMsg)

namespace korvane {

QtSerialPort::QtSerialPort(DeviceFor deviceFor)
    : AdapterPort(std::move(deviceFor)),
      log_([] { return lcSerial().isDebugEnabled(); },
           [](const std::string& line) { qCDebug(lcSerial).noquote() << line.c_str(); }) {
  connect(&serial_, &QSerialPort::readyRead, this, &QtSerialPort::readAvailable);
  connect(&serial_, &QSerialPort::errorOccurred, this, &QtSerialPort::errorOccurred);
}

QtSerialPort::~QtSerialPort() {
  close();
}

namespace {

std::filesystem::path pathToOpen(const std::filesystem::path& device) {
#ifdef Q_OS_UNIX
  std::error_code ec;  // a current folder that is gone leaves the path as it is
  return DevicePathToOpen(device, std::filesystem::current_path(ec));
#else
  return device;
#endif
}

}  // namespace

std::string QtSerialPort::device(int number) const {
#ifdef Q_OS_UNIX
  return ResolvedDevice(pathToOpen(deviceFor_(number)));
#else
  // A COM port has one name.
  return {};
#endif
}

bool QtSerialPort::open() {
  if (open_) return true;
  const std::filesystem::path device = pathToOpen(deviceFor_(number()));
  device_ = QString::fromStdString(device.string());
  staleLock_.clear();
#ifdef Q_OS_UNIX
  // Before anything changes on it: the serial library would set the line of a port that another
  // program holds without a lock file of its kind, and let root past another holder's exclusive
  // flag. A bare name is one under /dev, as the library takes it.
  const PortUse use = LookBeforeOpening(device.has_parent_path() ? device : "/dev" / device);
  if (use.held || !use.staleLock.empty()) {
    openTrouble_ = use.held ? OpenTrouble::InUse : OpenTrouble::StaleLock;
    staleLock_ = use.staleLock;
    log_.openFailed(device.string(), use.held ? "held by another process"
                                              : "stale lock file " + staleLock_.string());
    return false;
  }
#endif
  serial_.setPortName(device_);
  static_assert(kControllerLine.parity == 'N' && kControllerLine.stopBits == 1 &&
                !kControllerLine.flowControl);
  serial_.setBaudRate(kControllerLine.baud);
  serial_.setDataBits(static_cast<QSerialPort::DataBits>(kControllerLine.dataBits));
  serial_.setParity(QSerialPort::NoParity);
  serial_.setStopBits(QSerialPort::OneStop);
  serial_.setFlowControl(QSerialPort::NoFlowControl);
  serial_.setReadBufferSize(0);  // we take everything on every notification
  if (!serial_.open(QIODevice::ReadWrite)) {
    log_.openFailed(device.string(), serial_.errorString().toStdString());
    // Qt says "permission" both for a port another program holds and for one this user may not
    // open; the file's own permissions tell them apart.
    openTrouble_ = OpenTrouble::Other;
    if (serial_.error() == QSerialPort::PermissionError) {
#ifdef Q_OS_UNIX
      const bool mayOpen = ::faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
#else
      const bool mayOpen = true;  // Windows refuses a port in use as access denied
#endif
      openTrouble_ = mayOpen ? OpenTrouble::InUse : OpenTrouble::NoPermission;
    }
    serial_.clearError();
    return false;
  }
  // Settings after the open: a pseudo-terminal takes them only then.
  serial_.setBaudRate(kControllerLine.baud);
  // What the device kept from before (a late answer to the last search's query, say) is no
  // answer to anything this open will ask.
  serial_.clear(QSerialPort::Input);
  open_ = true;
  log_.opened(device_.toStdString());
  return true;
}

void QtSerialPort::close() {
  if (!open_) return;
  open_ = false;
  serial_.close();
  log_.closed(device_.toStdString());
}

bool QtSerialPort::write(std::string_view bytes) {
  if (!open_) return false;
  log_.sent(bytes);
  const qint64 taken = serial_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  // Hand it to the line now rather than on the next turn of the event loop: a close right after
  // (a port choice, "切断", the end of the program) must not lose a command. A failure found
  // meanwhile has closed the port (errorOccurred).
  serial_.flush();
  return open_ && taken == static_cast<qint64>(bytes.size());
}

void QtSerialPort::readAvailable() {
  if (!open_) return;
  const QByteArray data = serial_.readAll();
  if (data.isEmpty()) return;
  log_.received(std::string_view(data.constData(), static_cast<size_t>(data.size())));
  // QSerialPort emits no readyRead while a slot of it still runs: the events take the bytes to
  // the handlers through the event loop, after this slot has returned.
  if (events.received)
    events.received(std::string_view(data.constData(), static_cast<size_t>(data.size())));
}

void QtSerialPort::errorOccurred(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !open_) return;
  log_.lineFailed(
      std::string(QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)) + ": " +
      serial_.errorString().toStdString());
  close();
  serial_.clearError();
  if (events.lost) events.lost();
}

}  // namespace korvane
