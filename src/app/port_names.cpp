#include "app/port_names.h"

namespace korvane {

int ComNumber(std::string_view name, int highest) {
  if (!name.starts_with("COM") || name.size() < 4 || name.size() > 6 || name[3] == '0') return 0;
  int n = 0;
  for (const char c : name.substr(3)) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= highest ? n : 0;
}

bool ExistsOnDisk(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

std::string ResolvedDevice(const std::filesystem::path& device) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::canonical(device, ec);
  return ec ? std::string() : resolved.generic_string();
}

std::filesystem::path DevicePathToOpen(const std::filesystem::path& device,
                                       const std::filesystem::path& currentFolder) {
  if (device.is_absolute() || device.generic_string().find('/') == std::string::npos) {
    return device;
  }
  return currentFolder / device;
}

}  // namespace korvane
