#pragma once
// The Windows window's file dialogs (the system's own, starting a save in Documents) and its
// progress window: a line ("12 / 30", the port in hand) and a cancel button over the main window,
// which is disabled meanwhile. When each shows is the core's (Form1::Menu_Backup, ...).

#include <windows.h>

#include "app/seams.h"

namespace korvane {

class Win32Window;

class Win32FileChooser : public FileChooser {
 public:
  explicit Win32FileChooser(Win32Window& window) : window_(window) {}
  std::filesystem::path saveFile(std::string_view title, std::string_view name) override;
  std::filesystem::path openFile(std::string_view title) override;

 private:
  Win32Window& window_;
};

class Win32Progress : public Progress {
 public:
  explicit Win32Progress(Win32Window& window) : window_(window) {}
  ~Win32Progress() override { close(); }
  Win32Progress(const Win32Progress&) = delete;
  Win32Progress& operator=(const Win32Progress&) = delete;

  void open(std::string_view title) override;  // at the main window's scale now
  void step(std::string_view text, int value, int maximum) override;
  bool cancelled() const override { return cancelled_; }
  void close() override;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);

  Win32Window& window_;
  HWND owner_ = nullptr, progress_ = nullptr, label_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace korvane
