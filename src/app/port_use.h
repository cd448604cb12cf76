#pragma once
// Whether another program has a port, looked at before the tool opens it: an open port is set to
// the controller's line and written to, which would spoil another program's conversation (a
// terminal, a second copy of the tool, a mount driver). The decisions are pure; what the system
// says (other processes' open files, a device's exclusive flag, lock files) is gathered by one
// file per system, port_use_posix.cpp beside port_use_windows.cpp.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A device as the system names it: its path with every link followed, and its device number
// (0 for anything but a device node).
struct DeviceId {
  std::string path;
  std::uint64_t rdev = 0;
};

// One open file of a process (on Linux an entry of /proc/PID/fd): where it leads, and the device
// number of what it names (0 when that is no device, or unknown).
struct OpenFile {
  long pid = 0;
  std::string target;
  std::uint64_t rdev = 0;
};

// Whether a process other than ownPid has the device open: by the device number, which every
// name of one device node shares, or by the resolved path.
bool HeldByAnotherProcess(const DeviceId& device, const std::vector<OpenFile>& open, long ownPid);

// The lock files a port's device may have in /run/lock (LCK..NAME): the one the serial library
// takes for the path it opens ("/dev/" left out, each "/" turned into "_"; a link's own path
// gives "LCK.._home_u_COM1"), and the one other programs take for the device itself.
std::vector<std::string> LockFileNames(const std::filesystem::path& opened, const DeviceId& device);

// A lock file's owner is its first line's process id, as in "      1234\n" or the serial
// library's "1234\nprogram\nhost\n": Live while that process exists (processGone says it does
// not), Stale once it is gone, Unreadable when the text names no process (the lock is then left
// to the library, which judges it itself).
enum class LockState { Live, Stale, Unreadable };
LockState JudgeLockFile(std::string_view text, const std::function<bool(long pid)>& processGone);

// What the system says of a port's device before it is opened.
struct PortUse {
  bool held = false;                // another process has it open, or made it exclusive
  std::filesystem::path staleLock;  // a stale lock file that this user may not remove
};

// The system's part: other processes' open files (those of other users that this user may not
// see are passed over), the exclusive flag (which does not stop root, so root looks at it
// first), and the lock files: a live one holds the port, a stale one is removed where allowed.
// Opening nothing for writing and changing nothing but a stale lock.
PortUse LookBeforeOpening(const std::filesystem::path& device);

// What the operator is told of a stale lock file left to root: its name and the command that
// removes it.
std::string StaleLockText(std::string_view lock);

}  // namespace korvane
