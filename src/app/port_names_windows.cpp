#include "app/port_names.h"

namespace korvane {

// Every COM port is the system's own device, by the name CreateFile takes for any number (plain
// "COM10" would be a file of that name); the folder's links are a POSIX way to name one.
std::filesystem::path PortDevice(int number, const std::filesystem::path&, const PathExists&) {
  return std::filesystem::path("\\\\.\\" + ComName(number));
}

}  // namespace korvane
