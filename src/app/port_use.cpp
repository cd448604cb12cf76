#include "app/port_use.h"

#include <algorithm>

namespace korvane {

bool HeldByAnotherProcess(const DeviceId& device, const std::vector<OpenFile>& open, long ownPid) {
  return std::ranges::any_of(open, [&](const OpenFile& f) {
    if (f.pid == ownPid) return false;
    // Every pipe, socket and file has device number 0: only a device node's number names it.
    return (device.rdev != 0 && f.rdev == device.rdev) ||
           (!device.path.empty() && f.target == device.path);
  });
}

std::vector<std::string> LockFileNames(const std::filesystem::path& opened,
                                       const DeviceId& device) {
  const auto name = [](std::string path) {
    if (path.starts_with("/dev/")) path.erase(0, 5);
    std::ranges::replace(path, '/', '_');
    return "LCK.." + path;
  };
  std::vector<std::string> names{name(opened.generic_string())};
  if (!device.path.empty() && name(device.path) != names.front())
    names.push_back(name(device.path));
  return names;
}

LockState JudgeLockFile(std::string_view text, const std::function<bool(long pid)>& processGone) {
  std::string_view line = text.substr(0, text.find('\n'));
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return LockState::Unreadable;
  line.remove_prefix(start);
  // At most the digits of the largest process id; 0 and below name no process (kill() would
  // take them for a process group).
  constexpr std::size_t kMostDigits = 10;
  if (line.empty() || line.size() > kMostDigits ||
      line.find_first_not_of("0123456789") != std::string_view::npos) {
    return LockState::Unreadable;
  }
  long pid = 0;
  for (const char c : line) pid = pid * 10 + (c - '0');
  if (pid <= 0) return LockState::Unreadable;
  return processGone(pid) ? LockState::Stale : LockState::Live;
}

std::string StaleLockText(std::string_view lock) {
  const std::string name(lock);
  return "終了したプログラムのロックファイル " + name + " が残っています（sudo rm " + name +
         " で消せます）";
}

}  // namespace korvane
