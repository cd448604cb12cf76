#pragma once
// The Qt shell joined to the handlers, the same way for the program, the end-to-end tests and the
// benchmark: received bytes go to the receive handler, a lost line to Port_Lost, the window's
// events to form's handlers.

#include "app/form1.h"
#include "qt/main_window.h"
#include "qt/qt_serial_port.h"

namespace korvane {

void WireShell(Form1& form, QtSerialPort& port, MainWindow& window);
// The port alone, for the command-line modes, which have no window.
void WirePort(Form1& form, QtSerialPort& port);

}  // namespace korvane
