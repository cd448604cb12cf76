#pragma once
// The Qt shell joined to the handlers, the same way for the program, the end-to-end tests and the
// benchmark: the port's events go to the handlers through the loop (port_events.h), the window's
// events to form's handlers.

#include "app/form1.h"
#include "qt/main_window.h"
#include "qt/qt_serial_port.h"

namespace korvane {

void WireShell(Form1& form, QtSerialPort& port, EventLoop& loop, MainWindow& window);
// The port alone, for the command-line modes, which have no window.
void WirePort(Form1& form, QtSerialPort& port, EventLoop& loop);

}  // namespace korvane
