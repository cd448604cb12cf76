#pragma once
// One tool as the program wires it, with a recording operator instead of modal boxes. Port n is
// the link "COMn" in a folder of the test's own, which also holds the two local files.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <functional>

#include "app/form1.h"
#include "app/port_events.h"
#include "kit/virtual_kit.h"
#include "qt/main_window.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_serial_port.h"

namespace korvane {

struct Tool {
  kit::TempDir dir;
  MainWindow window;
  QtSerialPort port{[this](int n) { return dir.path / ("COM" + std::to_string(n)); }};
  QtEventLoop loop;
  kit::FakeOperator op;
  Form1 form{window, port, loop, op, dir.path};

  // prepare lays out the folder (files, links) before start-up reads it.
  explicit Tool(const std::function<void(const std::filesystem::path&)>& prepare = {}) {
    if (prepare) prepare(dir.path);
    port.events = PortEventsFor(form, loop);
    window.bind(&form);
    form.Form_Load();
    window.show();
  }
  bool openPort() {  // "接続" without the read
    form.COMM1open();
    return port.isOpen();
  }
  std::string link(int n = 1) const { return (dir.path / ("COM" + std::to_string(n))).string(); }
  void press(const char* button) {  // as a click on the button
    auto* widget = window.findChild<QAbstractButton*>(button);
    ASSERT_NE(widget, nullptr) << button;
    widget->click();
  }
};

}  // namespace korvane
