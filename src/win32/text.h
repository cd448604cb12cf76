#pragma once
// Text between the core (UTF-8) and the Win32 API (UTF-16).

#include <windows.h>

#include <string>
#include <string_view>

namespace korvane {

// Each converts in one call, into room for the longest result: a UTF-8 byte makes at most one
// UTF-16 unit, and a UTF-16 unit at most three UTF-8 bytes.
inline std::wstring Wide(std::string_view text) {
  std::wstring out(text.size(), L'\0');
  out.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), int(out.size()))));
  return out;
}

inline std::string Utf8(std::wstring_view text) {
  std::string out(text.size() * 3, '\0');
  out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                          static_cast<int>(text.size()), out.data(),
                                                          int(out.size()), nullptr, nullptr)));
  return out;
}

}  // namespace korvane
