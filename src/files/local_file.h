#pragma once
// Reading and writing the two small files beside the program. A save never leaves a damaged
// file: the new text goes to a temporary file beside the old one, every write, the flush and the
// close are checked, and only then is it renamed over the old file. On any failure the old file
// stays byte for byte. A file its owner made read-only is never replaced. Paths are the system's
// own (wide on Windows), so a folder named in Japanese works.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Nothing when the file is missing, is not a regular file, or cannot be read. Only the first
// maxBytes are read: both files hold one short line.
std::optional<std::string> ReadLocalFile(const std::filesystem::path& path,
                                         std::size_t maxBytes = 64 * 1024);

// True when the whole text is on disk under `path` (a link's target: the link stays); otherwise
// `error` says why. `mode` is a new file's POSIX permission bits (0600 for a file only its owner
// may read); a file that is replaced keeps its own, less any for others when `mode` has none.
bool WriteLocalFile(const std::filesystem::path& path, std::string_view bytes,
                    std::string* error = nullptr, unsigned mode = 0644);

// Why a save to `path` would fail, found before anything is made (a backup's read takes 12 s):
// its folder missing or closed to us, the path a folder, the file read-only. The system's error
// codes are turned into these, so that a message in Japanese holds no English words of the system.
enum class SaveFault {
  None,
  NoFolder,
  NoPermission,
  ReadOnlyDrive,
  DriveNotReady,
  IsFolder,
  ReadOnlyFile,
  Other,
};
SaveFault SaveTargetFault(const std::filesystem::path& path);
std::string_view SaveFaultText(SaveFault fault);  // empty for None

// A file appended to under a lock that every AppendFile of the same file takes, another copy of
// the program's too, so that no two measure, move or append to it at once; held until it closes.
// Every append is one write, so that a crash or a pulled plug leaves every earlier line whole.
class AppendFile {
 public:
  // Opens the file `path` names (made, for its owner only, when missing) and waits for its lock;
  // when the file was moved away meanwhile, the one now in its place is taken instead. Nothing,
  // with `error` saying why, when it cannot be opened.
  static std::optional<AppendFile> Open(const std::filesystem::path& path, std::string* error);
  AppendFile(AppendFile&& other) noexcept;
  AppendFile& operator=(AppendFile&&) = delete;
  ~AppendFile();

  std::uintmax_t Size() const;
  // False when the file ends in anything but "\n": a line cut short (an empty file ends no line).
  bool EndsLine() const;
  // Renames the file to `to`, in place of any file there; it stays open and locked.
  bool MoveTo(const std::filesystem::path& to, std::string* error);
  // Writes the bytes at the end with one write. One that falls short (a full disk; `room`, the
  // most the disk takes, plays one in a test) is cut off again: the file stays as it was, and
  // false with `error` saying why.
  bool Append(std::string_view bytes, std::string* error,
              std::uintmax_t room = std::numeric_limits<std::uintmax_t>::max());

 private:
  AppendFile(std::intptr_t handle, std::filesystem::path path)
      : handle_(handle), path_(std::move(path)) {}
  std::intptr_t handle_;  // the system's: a descriptor, or a HANDLE
  std::filesystem::path path_;
};

// The local time's offset from UTC now in minutes, as the system's time zone says (the system's
// part), and as text: "+09:00", "-03:30".
long UtcOffsetMinutes();
std::string UtcOffsetText();

// Where a save to `path` lands: a symbolic link is followed to the file it names (through any
// number of links, up to the systems' own limit of 40), so that the link stays a link.
std::filesystem::path SaveTarget(const std::filesystem::path& path);

// The path as UTF-8 on every system, for a message (path::string() follows the code page on
// Windows).
std::string PathUtf8(const std::filesystem::path& path);

}  // namespace korvane
