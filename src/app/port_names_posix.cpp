#include "app/port_names.h"

namespace korvane {

namespace {
constexpr const char* kDeviceStems[] = {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"};
}  // namespace

std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists) {
  const std::filesystem::path link = programFolder / ComName(number);
  if (exists(link)) return link;
  const std::string n = std::to_string(number - 1);
  for (const char* stem : kDeviceStems) {
    const std::filesystem::path device = stem + n;
    if (exists(device)) return device;
  }
  return link;
}

std::vector<int> PortsPresent(const std::filesystem::path& folder, const PathExists& exists,
                              const PathExists& systemPort) {
  std::vector<int> present;
  for (int number = 1; number <= kHighestPortNumber; ++number) {
    const std::filesystem::path link = folder / ComName(number);
    const std::filesystem::path device = PortDevice(number, folder, exists);
    if (exists(link) || (device != link && systemPort(device))) present.push_back(number);
  }
  return present;
}

bool PortsWantDialoutGroup() {
  return true;
}

}  // namespace korvane
