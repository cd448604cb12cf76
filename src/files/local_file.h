#pragma once
// Reading and writing the two small files beside the program. A save never leaves a damaged
// file: the new text goes to a temporary file beside the old one, every write, the flush and the
// close are checked, and only then is it renamed over the old file. On any failure the old file
// stays byte for byte.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Nothing when the file is missing, is not a regular file, or cannot be read. Only the first
// maxBytes are read: both files hold one short line.
std::optional<std::string> ReadLocalFile(const std::filesystem::path& path,
                                         std::size_t maxBytes = 64 * 1024);

// True when the whole text is on disk under `path`; otherwise `error` says why. `mode` is the
// file's POSIX permission bits: 0600 for a file only its owner may read.
bool WriteLocalFile(const std::filesystem::path& path, std::string_view bytes,
                    std::string* error = nullptr, unsigned mode = 0644);

// Bytes as UTF-8 text: invalid sequences become U+FFFD, so that a field never holds broken text.
std::string ValidUtf8(std::string_view bytes);

}  // namespace korvane
