// Drives the Windows window from outside, as a hand on the mouse would: korvane-press.exe finds
// the running tool's window and clicks a control by the window's own name (a BM_CLICK, which the
// button turns into the same WM_COMMAND a click gives), closes the window, or counts the message
// boxes it shows.
//   korvane-press.exe NAME...        click each control in turn (e.g. Command11 "Command6(0)")
//   korvane-press.exe --close        close the window, as its close button does
//   korvane-press.exe --boxes        print how many message boxes the tool shows now
#include <windows.h>

#include <cstdio>
#include <string>

#include "win32/control_ids.h"
#include "window/layout.h"

namespace {

HWND toolWindow() {
  for (int i = 0; i < 200; ++i) {  // up to 10 s for the window and its children to exist
    HWND w = FindWindowW(L"KorvaneSettei", nullptr);
    if (w != nullptr && IsWindowVisible(w) && GetWindow(w, GW_CHILD) != nullptr) return w;
    Sleep(50);
  }
  return nullptr;
}

int boxes(HWND tool) {
  DWORD process = 0;
  GetWindowThreadProcessId(tool, &process);
  struct Count {
    DWORD process;
    int n;
  } count{process, 0};
  EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* c = reinterpret_cast<Count*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (owner == c->process && IsWindowVisible(w) && std::wstring(cls) == L"#32770") ++c->n;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.n;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HWND tool = toolWindow();
  if (tool == nullptr) {
    std::fputs("korvane-press: no window\n", stderr);
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--close") {
      PostMessageW(tool, WM_CLOSE, 0, 0);
      continue;
    }
    if (arg == L"--boxes") {
      std::printf("%d\n", boxes(tool));
      continue;
    }
    const auto controls = korvane::windowControls();
    int id = -1;
    for (std::size_t c = 0; c < controls.size(); ++c) {
      if (std::wstring(controls[c].name.begin(), controls[c].name.end()) == arg)
        id = korvane::kFirstControlId + static_cast<int>(c);
    }
    HWND button = id < 0 ? nullptr : GetDlgItem(tool, id);
    if (button == nullptr) {
      std::fprintf(stderr, "korvane-press: no control %ls\n", arg.c_str());
      return 1;
    }
    // Posted, as a click arrives: the tool's handler may wait, and this program does not.
    PostMessageW(tool, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  return 0;
}
