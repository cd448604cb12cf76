#include "qt/wiring.h"

namespace korvane {

void WirePort(Form1& form, QtSerialPort& port) {
  port.onReceived = [&form](std::string_view bytes) {
    form.MSComm1_OnComm(Form1::kReceiveEvent, bytes);
  };
  port.onLost = [&form] { form.Port_Lost(); };
}

void WireShell(Form1& form, QtSerialPort& port, MainWindow& window) {
  WirePort(form, port);
  window.bind(&form);
}

}  // namespace korvane
