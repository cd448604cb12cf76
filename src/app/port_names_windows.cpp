#include "app/port_names.h"

namespace korvane {

// Every COM port is the system's own device, by the name CreateFile takes for any number (plain
// "COM10" would be a file of that name); the folder's links are a POSIX way to name one.
std::filesystem::path PortDevice(int number, const std::filesystem::path&, const PathExists&) {
  return std::filesystem::path("\\\\.\\" + ComName(number));
}

std::vector<int> PortsPresent(const std::filesystem::path& folder, const PathExists& exists,
                              const PathExists& systemPort) {
  std::vector<int> present;
  for (int number = 1; number <= kHighestPortNumber; ++number)
    if (systemPort(PortDevice(number, folder, exists))) present.push_back(number);
  return present;
}

bool PortsWantDialoutGroup() {
  return false;
}

}  // namespace korvane
