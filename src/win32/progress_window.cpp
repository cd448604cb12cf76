#include "win32/progress_window.h"

#include "app/progress_shown.h"
#include "win32/dialog.h"
#include "win32/text.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {
constexpr wchar_t kClass[] = L"KorvaneSetteiProgress";
constexpr int kCancelId = 2;
}  // namespace

ProgressWindow::ProgressWindow(HWND owner, HFONT font, int dpi, std::string_view title,
                               std::string_view first)
    : owner_(owner) {
  static const bool registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = &ProgressWindow::proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = kClass;
    return RegisterClassExW(&c) != 0;
  }();
  (void)registered;
  const auto px = [dpi](int at96) { return Scaled(at96, dpi); };
  RECT r{0, 0, px(360), px(110)};
  AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME);
  RECT o;
  GetWindowRect(owner, &o);
  const int w = r.right - r.left, h = r.bottom - r.top;
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, Wide(title).c_str(), WS_POPUP | WS_CAPTION,
                            (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, w, h, owner,
                            nullptr, GetModuleHandleW(nullptr), this);
  label_ =
      MakeChild(window_, font, L"STATIC", Wide(first), SS_LEFT, px(16), px(18), px(328), px(24), 0);
  MakeChild(window_, font, L"BUTTON", Wide(kCancelCaption), WS_TABSTOP | BS_DEFPUSHBUTTON, px(250),
            px(62), px(94), px(30), kCancelId);
  EnableWindow(owner_, FALSE);  // one read or search, and no other press, at a time
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

ProgressWindow::~ProgressWindow() {
  close();
}

void ProgressWindow::close() {
  if (window_ == nullptr) return;
  EnableWindow(owner_, TRUE);  // before the window goes, so that the owner gets the focus back
  DestroyWindow(window_);
  window_ = nullptr;
}

bool ProgressWindow::step(bool ends, const std::string& text) {
  if (ends) return close(), true;  // the result comes next
  if (window_ != nullptr) SetWindowTextW(label_, Wide(text).c_str());
  return !cancelled_;
}

BackupProgress ProgressWindow::readCallback() {
  return [this](int done, int total) {
    const ProgressStep s = ReadProgressStep(done, total);
    return step(s.ends, s.text);
  };
}

FindProgress ProgressWindow::findCallback() {
  return [this](int done, int total, int number) {
    const ProgressStep s = FindProgressStep(done, total, number);
    return step(s.ends, s.text);
  };
}

LRESULT CALLBACK ProgressWindow::proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<ProgressWindow>(hwnd, message, l);
  if (self != nullptr &&
      ((message == WM_COMMAND && LOWORD(w) == kCancelId) || message == WM_CLOSE)) {
    self->cancelled_ = true;  // the work stops at its next look, and closes this window
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace korvane
