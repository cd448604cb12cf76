#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/port_names.h"
#include "app/port_use.h"

namespace korvane {

namespace {

// Each open file of every process but this one, as /proc shows them. A process of another user
// keeps its list to itself unless this is root: passed over.
std::vector<OpenFile> openFilesOfOthers(long ownPid) {
  std::vector<OpenFile> files;
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return files;
  while (const dirent* p = ::readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(p->d_name, &end, 10);
    if (pid <= 0 || *end != '\0' || pid == ownPid) continue;
    const std::string folder = "/proc/" + std::string(p->d_name) + "/fd/";
    DIR* fds = ::opendir(folder.c_str());
    if (fds == nullptr) continue;
    while (const dirent* f = ::readdir(fds)) {
      if (f->d_name[0] == '.') continue;
      const std::string entry = folder + f->d_name;
      char target[4096];
      const ssize_t n = ::readlink(entry.c_str(), target, sizeof target - 1);
      if (n <= 0) continue;
      OpenFile file{pid, std::string(target, static_cast<std::size_t>(n)), 0};
      struct stat st {};
      // Pipes and sockets ("pipe:[123]") name no path; a file's target does.
      if (file.target.front() == '/' && ::stat(entry.c_str(), &st) == 0 &&
          (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))) {
        file.rdev = st.st_rdev;
      }
      files.push_back(std::move(file));
    }
    ::closedir(fds);
  }
  ::closedir(proc);
  return files;
}

// The exclusive flag another holder set keeps every user but root out; root opens the device
// anyway, so it looks first: read-only, without becoming its terminal, changing nothing.
bool exclusiveForRoot(const std::filesystem::path& device) {
  if (::geteuid() != 0) return false;  // the open itself is refused
  const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY;
  int exclusive = 0;
  const bool set = ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
  ::close(fd);
  return set;
}

bool processGone(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

PortUse LookBeforeOpening(const std::filesystem::path& device) {
  PortUse use;
  struct stat st {};
  DeviceId id{ResolvedDevice(device), 0};
  if (::stat(device.c_str(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)))
    id.rdev = st.st_rdev;
  if (id.path.empty()) return use;  // nothing there to hold; the open says so
  if (HeldByAnotherProcess(id, openFilesOfOthers(::getpid()), ::getpid()) ||
      exclusiveForRoot(device)) {
    use.held = true;
    return use;
  }
  // /var/lock is /run/lock on most systems: one look each, by the folder's real path.
  std::vector<std::filesystem::path> folders;
  for (const char* folder : {"/run/lock", "/var/lock"}) {
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(folder, ec);
    if (!ec && std::ranges::find(folders, real) == folders.end()) folders.push_back(real);
  }
  for (const std::filesystem::path& folder : folders) {
    for (const std::string& name : LockFileNames(device, id)) {
      const std::filesystem::path lock = folder / name;
      std::ifstream in(lock, std::ios::binary);
      if (!in) continue;
      std::ostringstream text;
      text << in.rdbuf();
      switch (JudgeLockFile(text.str(), processGone)) {
        case LockState::Live:
          use.held = true;
          return use;
        case LockState::Stale:
          // A lock of another user in the sticky lock folder stays: root must remove it.
          if (::unlink(lock.c_str()) != 0 && errno != ENOENT) {
            use.staleLock = lock;
            return use;
          }
          break;
        case LockState::Unreadable:
          break;
      }
    }
  }
  return use;
}

}  // namespace korvane
