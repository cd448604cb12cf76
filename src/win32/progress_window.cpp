#include "win32/find_progress.h"

#include "win32/text.h"
#include "win32/window_object.h"
#include "window/texts.h"

namespace korvane {

namespace {
constexpr wchar_t kClass[] = L"KorvaneSetteiFind";
constexpr int kCancelId = 2;
}  // namespace

FindProgressWindow::FindProgressWindow(HWND owner, HFONT font) : owner_(owner) {
  static const bool registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = &FindProgressWindow::proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = kClass;
    return RegisterClassExW(&c) != 0;
  }();
  (void)registered;
  // 360 x 110 at 96 DPI, scaled as the owner's font is.
  LOGFONTW f{};
  GetObjectW(font, sizeof f, &f);
  const auto px = [&](int at96) { return MulDiv(at96, f.lfHeight < 0 ? -f.lfHeight : 12, 12); };
  RECT r{0, 0, px(360), px(110)};
  AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME);
  RECT o;
  GetWindowRect(owner, &o);
  const int w = r.right - r.left, h = r.bottom - r.top;
  window_ =
      CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, Wide(kFindTitle).c_str(), WS_POPUP | WS_CAPTION,
                      (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, w, h, owner, nullptr,
                      GetModuleHandleW(nullptr), this);
  label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, px(16), px(18),
                           px(328), px(24), window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND cancel = CreateWindowExW(0, L"BUTTON", Wide(kCancelCaption).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, px(250),
                                px(62), px(94), px(30), window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                                GetModuleHandleW(nullptr), nullptr);
  for (HWND child : {label_, cancel})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnableWindow(owner_, FALSE);  // one search, and no other press, at a time
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

FindProgressWindow::~FindProgressWindow() {
  close();
}

void FindProgressWindow::close() {
  if (window_ == nullptr) return;
  EnableWindow(owner_, TRUE);  // before the window goes, so that the owner gets the focus back
  DestroyWindow(window_);
  window_ = nullptr;
}

FindProgress FindProgressWindow::callback() {
  return [this](int done, int total, int number) {
    if (done == total) return close(), true;  // the result comes next
    if (window_ != nullptr)
      SetWindowTextW(label_, Wide(FindProgressText(done, total, number)).c_str());
    return !cancelled_;
  };
}

LRESULT CALLBACK FindProgressWindow::proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<FindProgressWindow>(hwnd, message, l);
  if (self != nullptr &&
      ((message == WM_COMMAND && LOWORD(w) == kCancelId) || message == WM_CLOSE)) {
    self->cancelled_ = true;  // the search stops at its next look, and closes this window
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace korvane
