#pragma once
// Which device a port number stands for. The window speaks of "COM1".."COM19"; on this system
// port n is "<folder of the program>/COMn" when that exists (a link a user or the simulator
// made), otherwise the first that exists of /dev/ttyUSB{n-1}, /dev/ttyACM{n-1}, /dev/ttyS{n-1}.

#include <filesystem>
#include <functional>
#include <string>

namespace korvane {

using PathExists = std::function<bool(const std::filesystem::path&)>;

// The real file system's answer; never throws. A link counts even when its target is missing:
// a "COMn" link to an unplugged adapter is still that port, and opening it fails with the usual
// message rather than falling back to whatever /dev/ttyS{n-1} is.
bool ExistsOnDisk(const std::filesystem::path& path);

// The device for port n; when none exists, the link path in the program's folder (opening it
// then fails like any absent port).
std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists);

// The path to open for a device: one with a "/" in it is a path from the current folder, as
// everywhere on the command line ("ports/COM1", "./COM1"); the serial library would look a
// relative name up under /dev. A bare name ("ttyUSB0", "COM3") stays as it is.
std::filesystem::path DevicePathToOpen(const std::filesystem::path& device,
                                       const std::filesystem::path& currentFolder);

}  // namespace korvane
