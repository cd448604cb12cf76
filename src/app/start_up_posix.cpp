#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "app/start_up.h"

namespace korvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

std::string ProgramName(int argc, char** argv) {
  return InvokedName(argc > 0 && argv[0] != nullptr ? argv[0] : "");
}

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path(ec) : program.parent_path();
}

bool FolderWritable(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

// $XDG_DATA_HOME/korvane-settei, else ~/.local/share/korvane-settei.
std::filesystem::path UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && std::filesystem::path(data).is_absolute()) {
    return std::filesystem::path(data) / kProgramName;
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "/") / ".local/share" / kProgramName;
}

}  // namespace korvane
