#pragma once
// Which device a port number stands for. The window speaks of "COM1".."COM19"; on this system
// port n is "<folder of the program>/COMn" when that exists (a link a user or the simulator
// made), otherwise the first that exists of /dev/ttyUSB{n-1}, /dev/ttyACM{n-1}, /dev/ttyS{n-1}.

#include <filesystem>
#include <functional>
#include <string>

namespace korvane {

using PathExists = std::function<bool(const std::filesystem::path&)>;

// The real file system's answer (a link counts when its target exists); never throws.
bool ExistsOnDisk(const std::filesystem::path& path);

// The device for port n; when none exists, the link path in the program's folder (opening it
// then fails like any absent port).
std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists);

}  // namespace korvane
