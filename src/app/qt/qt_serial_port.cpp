#include "app/qt/qt_serial_port.h"

#include <QTimer>

Q_LOGGING_CATEGORY(lcSerial, "korvane.serial", QtWarningMsg)

namespace korvane {

namespace {
constexpr int kHighestPortNumber = 255;
}

QtSerialPort::QtSerialPort(DeviceFor deviceFor) : deviceFor_(std::move(deviceFor)) {
  connect(&serial_, &QSerialPort::readyRead, this, &QtSerialPort::readAvailable);
  connect(&serial_, &QSerialPort::errorOccurred, this, &QtSerialPort::errorOccurred);
}

bool QtSerialPort::setNumber(int number) {
  if (number < 1 || number > kHighestPortNumber) return false;
  number_ = number;
  return true;
}

bool QtSerialPort::open() {
  if (open_) return true;
  const std::filesystem::path device = deviceFor_(number_);
  serial_.setPortName(QString::fromStdString(device.string()));
  serial_.setBaudRate(QSerialPort::Baud9600);
  serial_.setDataBits(QSerialPort::Data8);
  serial_.setParity(QSerialPort::NoParity);
  serial_.setStopBits(QSerialPort::OneStop);
  serial_.setFlowControl(QSerialPort::NoFlowControl);
  serial_.setReadBufferSize(0);  // we take everything on every notification
  if (!serial_.open(QIODevice::ReadWrite)) {
    qCDebug(lcSerial) << "open" << serial_.portName() << "failed:" << serial_.errorString();
    serial_.clearError();
    return false;
  }
  // Settings after the open: a pseudo-terminal takes them only then.
  serial_.setBaudRate(QSerialPort::Baud9600);
  open_ = true;
  qCDebug(lcSerial) << "opened" << serial_.portName();
  return true;
}

void QtSerialPort::close() {
  if (!open_) return;
  open_ = false;
  serial_.close();
  qCDebug(lcSerial) << "closed";
}

void QtSerialPort::write(std::string_view bytes) {
  if (!open_) return;
  qCDebug(lcSerial) << "sent" << QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
  serial_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  // Hand it to the line now rather than on the next turn of the event loop: a close right after
  // (a port choice, "切断", the end of the program) must not lose a command.
  serial_.flush();
}

void QtSerialPort::readAvailable() {
  if (!open_) return;
  const QByteArray data = serial_.readAll();
  if (data.isEmpty()) return;
  qCDebug(lcSerial) << "received" << data;
  if (onReceived) onReceived(std::string_view(data.constData(), static_cast<size_t>(data.size())));
}

void QtSerialPort::errorOccurred(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !open_) return;
  qCDebug(lcSerial) << "line failed:" << error << serial_.errorString();
  close();
  serial_.clearError();
  // The message box waits for the operator; not inside the port's own signal.
  QTimer::singleShot(0, this, [this] {
    if (onLost) onLost();
  });
}

}  // namespace korvane
