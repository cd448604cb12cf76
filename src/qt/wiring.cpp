#include "qt/wiring.h"

namespace korvane {

void WirePort(Form1& form, QtSerialPort& port, EventLoop& loop) {
  port.events = PortEventsFor(form, loop);
}

void WireShell(Form1& form, QtSerialPort& port, EventLoop& loop, MainWindow& window) {
  WirePort(form, port, loop);
  window.bind(&form);
}

}  // namespace korvane
