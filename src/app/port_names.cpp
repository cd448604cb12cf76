#include "app/port_names.h"

namespace korvane {

bool ExistsOnDisk(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists) {
  const std::filesystem::path link = programFolder / ("COM" + std::to_string(number));
  if (exists(link)) return link;
  const std::string n = std::to_string(number - 1);
  for (const char* stem : {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"}) {
    const std::filesystem::path device = stem + n;
    if (exists(device)) return device;
  }
  return link;
}

std::filesystem::path DevicePathToOpen(const std::filesystem::path& device,
                                       const std::filesystem::path& currentFolder) {
  if (device.is_absolute() || device.generic_string().find('/') == std::string::npos) {
    return device;
  }
  return currentFolder / device;
}

}  // namespace korvane
