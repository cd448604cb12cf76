#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdlib>

#include "app/start_up.h"

namespace korvane {

namespace {

std::string utf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

// The narrow argv follows the code page; the wide command line holds every character.
std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> out;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return out;
  for (int i = 1; i < count; ++i) out.push_back(utf8(wide[i]));
  ::LocalFree(wide);
  return out;
}

std::string ProgramName(int, char**) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return InvokedName("");
  const std::string name = InvokedName(count > 0 ? utf8(wide[0]) : "");
  ::LocalFree(wide);
  return name;
}

std::filesystem::path ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::filesystem::current_path();
    if (n < path.size()) return std::filesystem::path(path.substr(0, n)).parent_path();
    path.resize(path.size() * 2);
  }
}

// The folder's access list, not a flag, keeps an ordinary user out of Program Files, and making
// a file there answers for it: a probe, gone when its handle closes.
bool FolderWritable(const std::filesystem::path& folder) {
  const std::filesystem::path probe =
      folder / ("korvane-" + std::to_string(::GetCurrentProcessId()) + ".tmp");
  const HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

// %APPDATA%\Korvane.
std::filesystem::path UserDataFolder() {
  const wchar_t* data = ::_wgetenv(L"APPDATA");
  return std::filesystem::path(data != nullptr ? data : L".") / L"Korvane";
}

}  // namespace korvane
