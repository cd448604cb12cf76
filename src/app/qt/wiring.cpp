#include "app/qt/wiring.h"

namespace korvane {

void WireShell(Form1& form, QtSerialPort& port, MainWindow& window) {
  port.onReceived = [&form](std::string_view bytes) {
    form.MSComm1_OnComm(Form1::kReceiveEvent, bytes);
  };
  port.onLost = [&form] { form.Port_Lost(); };
  window.bind(&form);
}

}  // namespace korvane
