#include "files/local_file.h"

#include <cstdint>
#include <cstdio>

// The text half of the local files; reading and saving, which need the system, are in
// local_file_posix.cpp and local_file_windows.cpp.

namespace korvane {

std::string UtcOffsetText() {
  const long minutes = UtcOffsetMinutes();
  const long whole = minutes < 0 ? -minutes : minutes;
  char text[32];
  std::snprintf(text, sizeof text, "%c%02ld:%02ld", minutes < 0 ? '-' : '+', whole / 60,
                whole % 60);
  return text;
}

std::filesystem::path SaveTarget(const std::filesystem::path& path) {
  std::filesystem::path target = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(target, ec)) break;
    const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

std::string_view SaveFaultText(SaveFault fault) {
  switch (fault) {
    case SaveFault::None:
      return {};
    case SaveFault::NoFolder:
      return "保存先のフォルダーがありません。";
    case SaveFault::NoPermission:
      return "保存先のフォルダーに書き込む権限がありません。";
    case SaveFault::ReadOnlyDrive:
      return "保存先のドライブには書き込めません。";
    case SaveFault::DriveNotReady:
      return "保存先のドライブの準備ができていません。";
    case SaveFault::IsFolder:
      return "これはフォルダーです。ファイルの名前を指定してください。";
    case SaveFault::ReadOnlyFile:
      return "読み取り専用のファイルです。";
    case SaveFault::Other:
      break;
  }
  return "保存先に書き込めません。";
}

std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace korvane
