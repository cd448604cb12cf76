#pragma once
// The Port seam on a QSerialPort, with the controller's line settings (kControllerLine).
// When the line fails while open (the far end hangs up, an adapter is unplugged) the port is
// closed at once, so that a dead device cannot flood the event loop with errors, and the owner
// is told once.

#include <QLoggingCategory>
#include <QObject>
#include <QSerialPort>
#include <filesystem>
#include <string>

#include "app/port_events.h"
#include "app/traffic_log.h"

Q_DECLARE_LOGGING_CATEGORY(lcSerial)

namespace korvane {

class QtSerialPort : public QObject, public AdapterPort {
 public:
  explicit QtSerialPort(DeviceFor deviceFor);
  ~QtSerialPort() override;  // closes the port (and logs it)

  bool open() override;
  std::filesystem::path staleLock() const override { return staleLock_; }
  std::string device(int number) const override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(std::string_view bytes) override;

 private:
  void readAvailable();
  void errorOccurred(QSerialPort::SerialPortError error);

  QSerialPort serial_;
  QString device_;  // the path opened last, for the traffic log
  TrafficLog log_;
  std::filesystem::path staleLock_;
  bool open_ = false;
};

}  // namespace korvane
