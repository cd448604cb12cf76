#include "app/port_names.h"

namespace korvane {

std::filesystem::path PortDevice(int number, const std::filesystem::path& programFolder,
                                 const PathExists& exists) {
  const std::filesystem::path link = programFolder / ComName(number);
  if (exists(link)) return link;
  const std::string n = std::to_string(number - 1);
  for (const char* stem : {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"}) {
    const std::filesystem::path device = stem + n;
    if (exists(device)) return device;
  }
  return link;
}

}  // namespace korvane
