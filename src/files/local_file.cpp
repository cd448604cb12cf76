#include "files/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

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

bool WriteLocalFile(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                    unsigned mode) {
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

std::string ValidUtf8(std::string_view in) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const auto c = static_cast<unsigned char>(in[i]);
    std::size_t len = 0;
    std::uint32_t min = 0;
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, min = 0x10000;
    }
    bool ok = len != 0 && i + len <= in.size();
    std::uint32_t cp = ok ? (c & (0xFF >> (len + 1))) : 0;
    for (std::size_t k = 1; ok && k < len; ++k) {
      const auto cc = static_cast<unsigned char>(in[i + k]);
      ok = (cc & 0xC0) == 0x80;
      cp = (cp << 6) | (cc & 0x3F);
    }
    ok = ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (ok) {
      out.append(in.substr(i, len));
      i += len;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

}  // namespace korvane
