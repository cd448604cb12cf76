#pragma once
// The Port seam on a Windows COM port: opened overlapped with the controller's line settings
// (kControllerLine), one read always pending whose event wakes the message loop, so that a wait
// never spins and a reply reaches the handlers within one turn of the loop. A read or write that
// fails (the far end hangs up, the adapter is unplugged) closes the port at once, and the owner
// is told once. With the logging rule "korvane.serial.debug=true" in QT_LOGGING_RULES, as for the
// Qt program, every command, reply, open, close and failure goes to standard error.

#include <windows.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "app/port_events.h"
#include "app/traffic_log.h"
#include "win32/win32_loop.h"

namespace korvane {

class Win32SerialPort : public AdapterPort {
 public:
  Win32SerialPort(Win32EventLoop& loop, DeviceFor deviceFor);
  ~Win32SerialPort() override;

  bool open() override;
  void close() override;
  bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
  bool write(std::string_view bytes) override;

 private:
  void startReads();         // reads until one is pending
  void readDone();           // the pending read's event fired
  void received(DWORD got);  // got bytes in buffer_
  void lose();

  Win32EventLoop& loop_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  OVERLAPPED read_{};
  OVERLAPPED write_{};
  std::array<char, 4096> buffer_{};
  std::string device_;  // the path opened last, as the traffic log names it
  TrafficLog log_;      // to standard error
};

// What Windows knows of its COM ports: the ones it has now, ascending (PortsPresent), and each
// one's tooltip (PortTooltip): whether it is there, and the adapter behind it (Device Manager's
// name, its maker, its USB ids) from SetupAPI.
std::vector<int> PortsPresentNow();
std::vector<std::string> PortTooltips(const std::vector<int>& numbers);

}  // namespace korvane
