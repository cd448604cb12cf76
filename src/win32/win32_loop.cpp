#include "win32/win32_loop.h"

#include "app/wait_turns.h"
#include "win32/dialog.h"

namespace korvane {

namespace {
constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kClass[] = L"KorvaneSetteiLoop";

bool isClass(HWND h, const wchar_t* name) {
  wchar_t cls[16] = {};
  return h != nullptr && GetClassNameW(h, cls, 16) > 0 && _wcsicmp(cls, name) == 0;
}

// Enter, the main keys' or the keypad's, in a control of the window: on a push button it presses
// the button, as Space does; in the open list of a box it takes the item, as the box does itself
// (false: the message goes on its way); in a field or a closed box it presses nothing. Left to
// the dialog keys, Enter on a button that took the focus by a click, not by Tab, would press
// nothing.
bool enterKey(HWND window, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !IsChild(window, msg.hwnd))
    return false;
  if (isClass(msg.hwnd, L"Button")) {
    const LONG type = GetWindowLongW(msg.hwnd, GWL_STYLE) & BS_TYPEMASK;
    if ((type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && IsWindowEnabled(msg.hwnd))
      SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  HWND box = isClass(msg.hwnd, L"ComboBox") ? msg.hwnd : GetParent(msg.hwnd);  // or its edit
  return !isClass(box, L"ComboBox") || SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) == FALSE;
}

}  // namespace

Win32EventLoop::Win32EventLoop() {
  RegisterWindowClass(kClass, &Win32EventLoop::proc);
  messages_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
}

Win32EventLoop::~Win32EventLoop() {
  posted_.clear();
  if (messages_) DestroyWindow(messages_);
}

LRESULT CALLBACK Win32EventLoop::proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<Win32EventLoop>(hwnd, message, l);
  if (message != kRunPosted || self == nullptr || self->posted_.empty())
    return DefWindowProcW(hwnd, message, w, l);
  // One at a time: a posted function may wait, and the next must run inside that wait.
  std::function<void()> fn = std::move(self->posted_.front());
  self->posted_.pop_front();
  fn();
  return 0;
}

void Win32EventLoop::post(std::function<void()> fn) {
  posted_.push_back(std::move(fn));
  PostMessageW(messages_, kRunPosted, 0, 0);
}

void Win32EventLoop::dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    quit();
    return;
  }
  if (keys_ != nullptr && dialog_ != nullptr && TranslateAcceleratorW(dialog_, keys_, &msg)) return;
  if (dialog_ != nullptr && (enterKey(dialog_, msg) || IsDialogMessageW(dialog_, &msg))) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool Win32EventLoop::pump(DWORD ms) {
  const DWORD count = watched_ != nullptr ? 1 : 0;
  const DWORD woke =
      MsgWaitForMultipleObjectsEx(count, &watched_, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (count == 1 && woke == WAIT_OBJECT_0) {
    const auto signalled = signalled_;  // a copy: it may end the watch
    signalled();
  }
  MSG msg;
  while (!quitting_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) dispatch(msg);
  return !quitting_;
}

void Win32EventLoop::Wait(double ms) {
  if (quitting_) return;
  // On the steady clock, the performance counter, not the millisecond tick: a tick read just
  // before it turns would end a 400 ms wait up to a millisecond early.
  WaitInTurns(ms, [this](unsigned sleepMs) { return pump(sleepMs); });
}

LocalDateTime Win32EventLoop::now() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

int Win32EventLoop::run(HWND dialog, HACCEL keys) {
  dialog_ = dialog;
  keys_ = keys;
  while (pump(INFINITE)) {
  }
  return 0;
}

}  // namespace korvane
