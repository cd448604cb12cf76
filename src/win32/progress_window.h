#pragma once
// A read's or the search's progress over the Windows window: its line ("12 / 30", the port in
// hand) and a cancel button, the main window disabled meanwhile; gone once the work is done,
// before its result is told.

#include <windows.h>

#include <string_view>

#include "app/form1.h"
#include "app/port_search.h"

namespace korvane {

class ProgressWindow {
 public:
  // first: what it says before the first step; dpi: the owner's.
  ProgressWindow(HWND owner, HFONT font, int dpi, std::string_view title, std::string_view first);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  BackupProgress readCallback();  // a backup's or comparison's read
  FindProgress findCallback();    // the search for the controller

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  bool step(bool ends, const std::string& text);
  void close();

  HWND owner_;
  HWND window_ = nullptr, label_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace korvane
