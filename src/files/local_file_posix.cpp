// Reading and saving the local files with the POSIX calls (Linux and the other Unix systems).

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "files/local_file.h"

namespace korvane {

std::optional<std::string> ReadLocalFile(const std::filesystem::path& path, std::size_t maxBytes) {
  // Without O_NONBLOCK a named pipe in place of the file would hold start-up until something
  // writes to it, and a link to a serial device until its carrier comes: the program would hang
  // before its window shows. A regular file reads the same either way; anything else is refused
  // just below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string out;
  std::vector<char> chunk(8192);
  while (out.size() < maxBytes) {
    const std::size_t want = std::min(chunk.size(), maxBytes - out.size());
    const ssize_t got = ::read(fd, chunk.data(), want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    out.append(chunk.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return out;
}

namespace {
bool fail(std::string* error, const char* what, int err) {
  if (error) *error = std::string(what) + ": " + std::strerror(err);
  return false;
}
}  // namespace

std::optional<AppendFile> AppendFile::Open(const std::filesystem::path& path, std::string* error) {
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
      fail(error, "cannot open the file", errno);
      return std::nullopt;
    }
    int locked = 0;
    do {
      locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    struct stat held {};
    const int err = locked != 0 || ::fstat(fd, &held) != 0 ? errno
                    : S_ISREG(held.st_mode)                ? 0
                                                           : EINVAL;
    if (err != 0) {
      ::close(fd);
      fail(error, "cannot lock the file", err);
      return std::nullopt;
    }
    // Another copy may have moved the file away while this one waited for the lock.
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      return AppendFile(fd, path);
    }
    ::close(fd);
  }
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

AppendFile::~AppendFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));  // and the lock with it
}

std::uintmax_t AppendFile::Size() const {
  struct stat st {};
  return ::fstat(static_cast<int>(handle_), &st) == 0 ? static_cast<std::uintmax_t>(st.st_size) : 0;
}

bool AppendFile::EndsLine() const {
  const std::uintmax_t size = Size();
  char last = 0;
  return size > 0 &&
         ::pread(static_cast<int>(handle_), &last, 1, static_cast<off_t>(size - 1)) == 1 &&
         last == '\n';
}

bool AppendFile::MoveTo(const std::filesystem::path& to, std::string* error) {
  if (::rename(path_.c_str(), to.c_str()) != 0) return fail(error, "cannot rename", errno);
  return true;
}

bool AppendFile::Append(std::string_view bytes, std::string* error, std::uintmax_t room) {
  const int fd = static_cast<int>(handle_);
  const std::uintmax_t end = Size();
  const std::size_t put = static_cast<std::size_t>(std::min<std::uintmax_t>(bytes.size(), room));
  ssize_t done = 0;
  do {
    done = ::write(fd, bytes.data(), put);
  } while (done < 0 && errno == EINTR);
  if (done >= 0 && static_cast<std::size_t>(done) == bytes.size()) return true;
  const int err = done < 0 ? errno : ENOSPC;
  if (::ftruncate(fd, static_cast<off_t>(end)) != 0) {
    return fail(error, "cannot write, nor cut off what was written", err);
  }
  return fail(error, "cannot write", err);
}

long UtcOffsetMinutes() {
  const std::time_t now = std::time(nullptr);
  struct tm local {};
  ::localtime_r(&now, &local);
  return local.tm_gmtoff / 60;
}

namespace {
SaveFault faultOf(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return SaveFault::NoFolder;
    case EACCES:
    case EPERM:
      return SaveFault::NoPermission;
    case EROFS:
      return SaveFault::ReadOnlyDrive;
    default:
      return SaveFault::Other;
  }
}
}  // namespace

SaveFault SaveTargetFault(const std::filesystem::path& requested) {
  const std::filesystem::path path = SaveTarget(requested);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  struct stat seen {};
  if (::stat(folder.c_str(), &seen) != 0) return faultOf(errno);
  if (!S_ISDIR(seen.st_mode)) return SaveFault::NoFolder;
  if (::stat(path.c_str(), &seen) == 0) {
    if (S_ISDIR(seen.st_mode)) return SaveFault::IsFolder;
    if ((seen.st_mode & 0222) == 0) return SaveFault::ReadOnlyFile;  // as WriteLocalFile refuses
  }
  return ::access(folder.c_str(), W_OK) == 0 ? SaveFault::None : faultOf(errno);
}

bool WriteLocalFile(const std::filesystem::path& requested, std::string_view bytes,
                    std::string* error, unsigned mode) {
  const std::filesystem::path path = SaveTarget(requested);  // through a link, to its file
  // A rename replaces a file whatever its own mode, and root may write anything: a file its owner
  // made read-only is refused here, as Windows refuses it.
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (replacing && (old.st_mode & 0222) == 0) return fail(error, "the file is read-only", EACCES);
  // A file that is there keeps the mode its owner gave it; one for its owner only (a backup with
  // passwords) never gains a reader by it.
  if (replacing) {
    const bool ownerOnly = (mode & 077) == 0;
    mode = old.st_mode & (ownerOnly ? 07700u : 07777u);
  }
  std::string tmp = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return fail(error, "cannot create a temporary file", errno);
  auto abandon = [&](const char* what) {
    const int err = errno;
    ::close(fd);
    ::unlink(tmp.c_str());
    return fail(error, what, err);
  };
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t put = ::write(fd, p, left);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return abandon("write failed");
    p += put;
    left -= static_cast<std::size_t>(put);
  }
  // The temporary file is created 0600, so an owner-only file is never readable by others, not
  // even while it is being written.
  ::fchmod(fd, static_cast<mode_t>(mode));
  if (::fsync(fd) != 0) return abandon("flush failed");
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return fail(error, "close failed", err);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return fail(error, "rename failed", err);
  }
  return true;
}

}  // namespace korvane
