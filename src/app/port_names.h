#pragma once
// Port numbers and names. The window's list shows "COM1".."COM19"; a name typed on the command line
// or stored in "siri.DAT" may be any of "COM1".."COM255". Which device port n stands for differs
// by system (port_names_posix.cpp, port_names_windows.cpp; the build takes its target's):
// - POSIX: "<folder of the program>/COMn" when that exists (a link a user or the simulator made),
//   otherwise the first that exists of /dev/ttyUSB{n-1}, /dev/ttyACM{n-1}, /dev/ttyS{n-1};
// - Windows: "\\.\COMn", the name CreateFile needs from COM10 up.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/controls.h"  // ComName

namespace korvane {

// The port box lists COM1..kPortCount (window/layout.h); a typed or stored name may go up to:
inline constexpr int kHighestPortNumber = 255;

// The controller's line: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
struct LineSettings {
  int baud;
  int dataBits;
  char parity;  // 'N'
  int stopBits;
  bool flowControl;
};
inline constexpr LineSettings kControllerLine{9600, 8, 'N', 1, false};

// n for exactly "COMn" with 1 <= n <= highest (no blanks, no leading zero, upper case); else 0.
int ComNumber(std::string_view name, int highest);

using PathExists = std::function<bool(const std::filesystem::path&)>;

// The real file system's answer; never throws. A link counts even when its target is missing:
// a "COMn" link to an unplugged adapter is still that port, and opening it fails with the usual
// message rather than falling back to whatever /dev/ttyS{n-1} is.
bool ExistsOnDisk(const std::filesystem::path& path);

// The device for port n; when none exists, the link path in the program's folder (opening it
// then fails like any absent port).
std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists);

// The ports there are now, ascending. POSIX: each n with a COMn link in folder (also one whose
// device is missing: it is still that port), or whose device (/dev/ttyUSB{n-1}, ttyACM, ttyS)
// exists and is one the system lists as a serial port (systemPort; a ttyS with no chip behind it
// is not). Windows: each n whose device systemPort says the system has.
std::vector<int> PortsPresent(const std::filesystem::path& folder, const PathExists& exists,
                              const PathExists& systemPort);

// The device a port's path names, every link followed; empty when it cannot be resolved (a link
// to an adapter not plugged in). Two ports that give the same path are one device.
std::string ResolvedDevice(const std::filesystem::path& device);

// Whether a port refused for lack of permission wants the user in the "dialout" group (POSIX).
bool PortsWantDialoutGroup();

// The path to open for a device: one with a "/" in it is a path from the current folder, as
// everywhere on the command line ("ports/COM1", "./COM1"); the serial library would look a
// relative name up under /dev. A bare name ("ttyUSB0", "COM3") stays as it is.
std::filesystem::path DevicePathToOpen(const std::filesystem::path& device,
                                       const std::filesystem::path& currentFolder);

}  // namespace korvane
