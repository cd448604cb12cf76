// Reading and saving the local files with the Win32 calls, on wide paths.

// std::min and std::max, not the header's macros of those names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "files/local_file.h"

namespace korvane {

namespace {

// The system's own words for an error, as UTF-8, in the language of the owner's Windows.
std::string systemMessage(DWORD err) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide(text ? text : L"", text ? length : 0);
  if (text) ::LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                           wide.back() == L'.')) {
    wide.pop_back();
  }
  if (wide.empty()) return "error " + std::to_string(err);
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

bool fail(std::string* error, const char* what, DWORD err) {
  if (error) *error = std::string(what) + ": " + systemMessage(err);
  return false;
}

}  // namespace

std::optional<std::string> ReadLocalFile(const std::filesystem::path& path, std::size_t maxBytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;  // a folder does not open this way either
  // A pipe or a device in place of the file would hold start-up in ReadFile until something
  // writes to it: only a file on a disk is read.
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    return std::nullopt;
  }
  std::string out;
  std::vector<char> chunk(8192);
  while (out.size() < maxBytes) {
    const auto want = static_cast<DWORD>(std::min(chunk.size(), maxBytes - out.size()));
    DWORD got = 0;
    if (!::ReadFile(file, chunk.data(), want, &got, nullptr)) {
      ::CloseHandle(file);
      return std::nullopt;
    }
    if (got == 0) break;
    out.append(chunk.data(), got);
  }
  ::CloseHandle(file);
  return out;
}

namespace {

HANDLE handleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// The lock is on one byte far past any journal's end: Windows' locks keep others from reading
// what they cover, and a reader must never wait for an append.
OVERLAPPED lockedByte() {
  OVERLAPPED at{};
  at.OffsetHigh = 0x40000000;
  return at;
}

bool sameFile(HANDLE held, const std::filesystem::path& path) {
  const HANDLE named = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  const bool same = ::GetFileInformationByHandle(held, &a) &&
                    ::GetFileInformationByHandle(named, &b) &&
                    a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                    a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
  ::CloseHandle(named);
  return same;
}

}  // namespace

// Windows has no permission bits to set: a file in the user's own folder is the user's alone.
std::optional<AppendFile> AppendFile::Open(const std::filesystem::path& path, std::string* error) {
  for (;;) {
    // Shared for deleting too, so that the rename below may move it while others hold it open.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      fail(error, "cannot open the file", ::GetLastError());
      return std::nullopt;
    }
    OVERLAPPED at = lockedByte();
    if (::GetFileType(file) != FILE_TYPE_DISK ||
        !::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
      const DWORD err = ::GetLastError();
      ::CloseHandle(file);
      fail(error, "cannot lock the file", err == NO_ERROR ? ERROR_INVALID_HANDLE : err);
      return std::nullopt;
    }
    // Another copy may have moved the file away while this one waited for the lock.
    if (sameFile(file, path)) return AppendFile(reinterpret_cast<std::intptr_t>(file), path);
    at = lockedByte();
    ::UnlockFileEx(file, 0, 1, 0, &at);
    ::CloseHandle(file);
  }
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

AppendFile::~AppendFile() {
  if (handle_ == -1) return;
  OVERLAPPED at = lockedByte();
  ::UnlockFileEx(handleOf(handle_), 0, 1, 0, &at);
  ::CloseHandle(handleOf(handle_));
}

std::uintmax_t AppendFile::Size() const {
  LARGE_INTEGER size{};
  return ::GetFileSizeEx(handleOf(handle_), &size) ? static_cast<std::uintmax_t>(size.QuadPart) : 0;
}

bool AppendFile::EndsLine() const {
  const std::uintmax_t size = Size();
  if (size == 0) return false;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(size - 1);
  at.OffsetHigh = static_cast<DWORD>((size - 1) >> 32);
  char last = 0;
  DWORD got = 0;
  return ::ReadFile(handleOf(handle_), &last, 1, &got, &at) && got == 1 && last == '\n';
}

bool AppendFile::MoveTo(const std::filesystem::path& to, std::string* error) {
  if (!::MoveFileExW(path_.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(error, "cannot rename", ::GetLastError());
  }
  return true;
}

bool AppendFile::Append(std::string_view bytes, std::string* error, std::uintmax_t room) {
  const HANDLE file = handleOf(handle_);
  const std::uintmax_t end = Size();
  // At the end as measured: every append holds the lock, so nothing has been added since.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(end);
  at.OffsetHigh = static_cast<DWORD>(end >> 32);
  const auto put = static_cast<DWORD>(std::min<std::uintmax_t>(bytes.size(), room));
  DWORD done = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), put, &done, &at);
  if (ok && done == bytes.size()) return true;
  const DWORD err = ok ? ERROR_DISK_FULL : ::GetLastError();
  LARGE_INTEGER cut{};
  cut.QuadPart = static_cast<LONGLONG>(end);
  if (!::SetFilePointerEx(file, cut, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)) {
    return fail(error, "cannot write, nor cut off what was written", err);
  }
  return fail(error, "cannot write", err);
}

long UtcOffsetMinutes() {
  TIME_ZONE_INFORMATION zone{};
  const DWORD which = ::GetTimeZoneInformation(&zone);
  const long bias = zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                                 : which == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                                  : 0);
  return -bias;  // Bias is UTC minus local
}

namespace {
SaveFault faultOf(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
      return SaveFault::NoFolder;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
      return SaveFault::NoPermission;
    case ERROR_WRITE_PROTECT:
      return SaveFault::ReadOnlyDrive;
    case ERROR_NOT_READY:
      return SaveFault::DriveNotReady;
    default:
      return SaveFault::Other;
  }
}
}  // namespace

SaveFault SaveTargetFault(const std::filesystem::path& requested) {
  const std::filesystem::path path = SaveTarget(requested);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : L".";
  DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return faultOf(::GetLastError());
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return SaveFault::NoFolder;
  attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return SaveFault::IsFolder;
    if (attributes & FILE_ATTRIBUTE_READONLY) return SaveFault::ReadOnlyFile;
  }
  // The folder's access list, not a flag, says whether we may write there: a file made there and
  // gone when its handle closes answers for it.
  const std::filesystem::path probe =
      folder / (L"korvane-" + std::to_wstring(::GetCurrentProcessId()) + L".probe");
  const HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    return err == ERROR_FILE_EXISTS ? SaveFault::None : faultOf(err);
  }
  ::CloseHandle(h);
  return SaveFault::None;
}

bool WriteLocalFile(const std::filesystem::path& requested, std::string_view bytes,
                    std::string* error, unsigned /*mode*/) {
  const std::filesystem::path path = SaveTarget(requested);  // through a link, to its file
  // The move below would refuse a file marked read-only too, but only after the temporary file is
  // written, and not under Wine run as root (which keeps the mark as the file's mode).
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return fail(error, "the file is read-only", ERROR_ACCESS_DENIED);
  }
  // The temporary file sits beside the old one, so that the move below stays on one volume and
  // replaces the file in one step.
  std::wstring tmp;
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD err = ERROR_FILE_EXISTS;
  for (unsigned attempt = 0;
       file == INVALID_HANDLE_VALUE && err == ERROR_FILE_EXISTS && attempt < 100; ++attempt) {
    tmp = path.native() + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(attempt) + L".tmp";
    file = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (file == INVALID_HANDLE_VALUE) err = ::GetLastError();
  }
  if (file == INVALID_HANDLE_VALUE) return fail(error, "cannot create a temporary file", err);
  auto abandon = [&](const char* what, DWORD why) {
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    ::DeleteFileW(tmp.c_str());
    return fail(error, what, why);
  };
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(left, 1 << 20));
    DWORD put = 0;
    if (!::WriteFile(file, p, want, &put, nullptr)) {
      return abandon("write failed", ::GetLastError());
    }
    if (put == 0) return abandon("write failed", ERROR_WRITE_FAULT);
    p += put;
    left -= put;
  }
  if (!::FlushFileBuffers(file)) return abandon("flush failed", ::GetLastError());
  const bool closed = ::CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
  if (!closed) return abandon("close failed", ::GetLastError());
  // Replaces a file, never a folder, nor a file marked read-only; the write-through returns only
  // once the move itself is on the disk.
  if (!::MoveFileExW(tmp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return abandon("rename failed", ::GetLastError());
  }
  return true;
}

}  // namespace korvane
