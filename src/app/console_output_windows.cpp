#include <windows.h>

#include <algorithm>
#include <string>

#include "app/console_output.h"

namespace korvane {

bool WriteConsoleUtf8(void* console, std::string_view utf8) {
  DWORD mode = 0;
  if (console == nullptr || console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode))
    return false;
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  // A console takes a limited amount at a time: the rest follows until all is written.
  for (std::size_t at = 0; at < wide.size();) {
    DWORD put = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
    if (!::WriteConsoleW(console, wide.data() + at, want, &put, nullptr) || put == 0) break;
    at += put;
  }
  return true;
}

void Print(std::FILE* stream, std::string_view utf8) {
  const DWORD which = stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  // What the C library holds yet goes first, so that the lines keep their order.
  std::fflush(stream);
  if (WriteConsoleUtf8(::GetStdHandle(which), utf8)) return;
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace korvane
