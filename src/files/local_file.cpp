#include "files/local_file.h"

#include <cstdint>

// The text half of the local files; reading and saving, which need the system, are in
// local_file_posix.cpp and local_file_windows.cpp.

namespace korvane {

std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace korvane
