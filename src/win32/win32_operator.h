#pragma once
// Message boxes and the beep, for the handlers, as the system's own dialogs over the window.

#include <windows.h>

#include "app/seams.h"

namespace korvane {

class Win32Operator : public Operator {
 public:
  explicit Win32Operator(HWND owner) : owner_(owner) {}
  MessageButton message(std::string_view text, std::string_view title, MessageStyle style) override;
  void beep() override { MessageBeep(MB_OK); }

 private:
  HWND owner_;
};

}  // namespace korvane
