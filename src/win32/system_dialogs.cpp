#include "win32/system_dialogs.h"

// after windows.h
#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "win32/dialog.h"
#include "win32/text.h"
#include "win32/win32_window.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {

constexpr wchar_t kClass[] = L"KorvaneSetteiProgress";
constexpr int kCancelId = 2;

// The user's Documents folder, where a save starts; empty if there is none.
std::filesystem::path documentsFolder() {
  PWSTR path = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// A file name from the system's open or save dialog; empty when the operator cancels.
std::filesystem::path askFile(HWND owner, bool save, std::string_view title,
                              const std::wstring& suggested = {}) {
  std::wstring filters;  // "name\0pattern\0...\0"
  for (const FileFilter& f : kBackupFileFilters)
    filters += Wide(f.name) + L'\0' + Wide(f.pattern) + L'\0';
  filters += L'\0';
  std::wstring file = suggested;
  file.resize(MAX_PATH * 4, L'\0');
  const std::wstring caption = Wide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.lpstrDefExt = L"ini";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return {};
  return std::filesystem::path(file.c_str());
}

}  // namespace

std::filesystem::path Win32FileChooser::saveFile(std::string_view title, std::string_view name) {
  return askFile(window_.hwnd(), true, title, (documentsFolder() / Wide(name)).wstring());
}

std::filesystem::path Win32FileChooser::openFile(std::string_view title) {
  return askFile(window_.hwnd(), false, title);
}

void Win32Progress::open(std::string_view title) {
  close();
  cancelled_ = false;
  owner_ = window_.hwnd();
  const int dpi = window_.dpi();
  progress_ = MakeDialogWindow(owner_, kClass, &Win32Progress::proc, Wide(title), Scaled(360, dpi),
                               Scaled(110, dpi), this, WS_POPUP);
  CentreOver(progress_, owner_);
  const ScaledChildren child{progress_, window_.font(), dpi};
  label_ = child(L"STATIC", L"", SS_LEFT, 16, 18, 328, 24, 0);
  child(L"BUTTON", Wide(kCancelCaption), WS_TABSTOP | BS_DEFPUSHBUTTON, 250, 62, 94, 30, kCancelId);
  EnableWindow(owner_, FALSE);  // one read or search, and no other press, at a time
  ShowWindow(progress_, SW_SHOW);
  UpdateWindow(progress_);
}

void Win32Progress::step(std::string_view text, int, int) {
  if (progress_ != nullptr) SetWindowTextW(label_, Wide(text).c_str());
}

void Win32Progress::close() {
  if (progress_ == nullptr) return;
  EnableWindow(owner_, TRUE);  // before the window goes, so that the owner gets the focus back
  DestroyWindow(progress_);
  progress_ = nullptr;
}

LRESULT CALLBACK Win32Progress::proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<Win32Progress>(hwnd, message, l);
  if (self != nullptr &&
      ((message == WM_COMMAND && LOWORD(w) == kCancelId) || message == WM_CLOSE)) {
    self->cancelled_ = true;  // the work stops at its next look, and closes this window
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace korvane
