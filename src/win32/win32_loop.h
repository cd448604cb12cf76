#pragma once
// Wait as a message loop that sleeps in MsgWaitForMultipleObjectsEx until its time, a message or
// a handle (the serial port's read) wakes it: the window, the port and other buttons run
// meanwhile, and the processor stays idle. What is posted runs from a message-only window of its
// own, in order, and goes with the loop.

#include <windows.h>

#include <deque>
#include <functional>

#include "app/seams.h"

namespace korvane {

class Win32EventLoop : public EventLoop {
 public:
  Win32EventLoop();
  ~Win32EventLoop() override;

  void Wait(double ms) override;
  void processEvents() override { pump(0); }
  void post(std::function<void()> fn) override;
  LocalDateTime now() const override;
  void quit() override { quitting_ = true; }

  // The main loop, until quit(); messages for `dialog` go through its keyboard handling (Tab,
  // Enter on a button) and `keys` (the menu's shortcuts).
  int run(HWND dialog, HACCEL keys);
  // The handle whose signal runs `signalled` from the loop (the port's read event while the port
  // is open); none when it is null.
  void watch(HANDLE handle, std::function<void()> signalled) {
    watched_ = handle;
    signalled_ = std::move(signalled);
  }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  // One message or signal, waiting at most `ms`; false once the program is quitting.
  bool pump(DWORD ms);
  void dispatch(MSG& msg);

  HWND messages_ = nullptr, dialog_ = nullptr;
  HACCEL keys_ = nullptr;
  std::deque<std::function<void()>> posted_;
  HANDLE watched_ = nullptr;
  std::function<void()> signalled_;
  bool quitting_ = false;
};

}  // namespace korvane
