#pragma once
// The search's progress over the Windows window: the port in hand, "n / total" and a cancel
// button, the main window disabled meanwhile; gone once the search is done, before its result.

#include <windows.h>

#include "app/port_search.h"

namespace korvane {

class FindProgressWindow {
 public:
  FindProgressWindow(HWND owner, HFONT font);
  ~FindProgressWindow();
  FindProgressWindow(const FindProgressWindow&) = delete;
  FindProgressWindow& operator=(const FindProgressWindow&) = delete;

  FindProgress callback();

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  void close();

  HWND owner_;
  HWND window_ = nullptr, label_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace korvane
