// Drives the Windows window from outside, as a hand on the mouse would: korvane-press.exe finds
// the running tool's window and clicks a control by the window's own name (a BM_CLICK, which the
// button turns into the same WM_COMMAND a click gives), closes the window, or counts the message
// boxes it shows.
//   korvane-press.exe NAME...        click each control in turn (e.g. Command11 "Command6(0)")
//   korvane-press.exe --close        close the window, as its close button does
//   korvane-press.exe --boxes        print how many message boxes the tool shows now
//   korvane-press.exe --menu N       choose the menu's entry N (1 backup, 2 compare and restore,
//                                    10 find the controller)
//   korvane-press.exe --open PATH    answer the open dialog the tool shows with PATH
//   korvane-press.exe --write        click "書き込み" in the comparison the tool shows
//   korvane-press.exe --journal      print how many entries the journal the tool shows lists, the
//                                    row chosen (-1 none), its client size and its first column's
//                                    width, and close it by Enter in its list
//   korvane-press.exe --focus CLASS  print the id of the enabled control of dialog CLASS that
//                                    has the focus 3 s after it shows (-1 none)
//   korvane-press.exe --cancel       print what the progress window says 2 s after it shows and
//                                    cancel it
//   korvane-press.exe --tip NAME     print 1 if the tooltip shows within 3 s with the mouse over
//                                    the text of the box NAME, else 0
//   korvane-press.exe --ok           press OK in the message box the tool shows
//   korvane-press.exe --lone-box     press OK in the tool's message box shown without its window,
//                                    after printing its text
//   korvane-press.exe --dpi N        tell the window it is now on a monitor of N DPI (from 96)
//   korvane-press.exe --rects        print where each control of the window is now
//   korvane-press.exe --keys NAME K,...  press each key K (a virtual-key code, 256 more for an
//                                    extended key: 269 the keypad's Enter) in the control NAME
//   korvane-press.exe --click NAME   click the control NAME with the mouse (it takes the focus)
//   korvane-press.exe --tab N        print where the focus is, then where each of N Tabs takes it
//   korvane-press.exe --order        print the core's TabOrder()
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

// The tool's visible top-level windows of a class ("#32770": its message boxes and file dialogs).
std::vector<HWND> windowsOf(HWND tool, const wchar_t* cls) {
  struct Find {
    DWORD process;
    const wchar_t* cls;
    std::vector<HWND> found;
  } find{0, cls, {}};
  GetWindowThreadProcessId(tool, &find.process);
  EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (owner == f->process && IsWindowVisible(w) && std::wstring(name) == f->cls)
          f->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// The first such window within 30 s (a comparison reads for 12 s first).
HWND waitFor(HWND tool, const wchar_t* cls) {
  for (int i = 0; i < 600; ++i) {
    const auto found = windowsOf(tool, cls);
    if (!found.empty()) return found.front();
    Sleep(50);
  }
  return nullptr;
}

int idOf(const std::wstring& name) {  // the Win32 id of the control NAME, or -1
  const auto controls = korvane::windowControls();
  for (std::size_t c = 0; c < controls.size(); ++c)
    if (std::wstring(controls[c].name.begin(), controls[c].name.end()) == name)
      return korvane::kFirstControlId + static_cast<int>(c);
  return -1;
}

// The control that has the keyboard focus (or whose edit has it), "-" if none has.
std::string focused(HWND tool) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(tool, nullptr), &info);
  HWND h = IsChild(tool, info.hwndFocus) ? info.hwndFocus : nullptr;
  if (h != nullptr && GetParent(h) != tool) h = GetParent(h);
  const auto i = static_cast<std::size_t>(GetDlgCtrlID(h) - korvane::kFirstControlId);
  return i < korvane::windowControls().size() ? std::string(korvane::windowControls()[i].name)
                                              : "-";
}

// Waits up to 10 s for the tool's box without a window, prints its text and presses OK.
int loneBox() {
  const std::string_view title = korvane::kApplicationTitle;
  std::wstring wide(title.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, title.data(), int(title.size()), wide.data(),
                                  int(wide.size())));
  for (int i = 0; i < 200; ++i, Sleep(50)) {
    HWND box = FindWindowW(L"#32770", wide.c_str());
    if (box == nullptr || !IsWindowVisible(box)) continue;
    EnumChildWindows(
        box,
        [](HWND w, LPARAM) -> BOOL {
          wchar_t text[2048] = {};
          GetWindowTextW(w, text, 2048);
          char utf8[8192] = {};
          WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
          std::printf("%s\n", utf8);
          return TRUE;
        },
        0);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
  }
  std::fputs("korvane-press: no box\n", stderr);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--lone-box") return loneBox();
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
      std::printf("%d\n", static_cast<int>(windowsOf(tool, L"#32770").size()));
      continue;
    }
    if (arg == L"--dpi" && i + 1 < argc) {
      const int dpi = _wtoi(argv[++i]);
      RECT r;
      GetWindowRect(tool, &r);
      r.right = r.left + MulDiv(r.right - r.left, dpi, 96);
      r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, 96);
      SendMessageW(tool, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
      continue;
    }
    if (arg == L"--rects") {
      std::fputs(korvane::ControlRectsOf(tool).c_str(), stdout);
      continue;
    }
    if (arg == L"--menu" && i + 1 < argc) {
      PostMessageW(tool, WM_COMMAND, MAKEWPARAM(korvane::kFirstMenuId + _wtoi(argv[++i]), 0), 0);
      continue;
    }
    if (arg == L"--open" && i + 1 < argc) {
      HWND dialog = waitFor(tool, L"#32770");
      // The file name box: edt1 (0x480) in the classic dialog, deep inside cmb13 (0x47c) in the
      // Explorer one.
      HWND name = nullptr;
      EnumChildWindows(
          dialog,
          [](HWND w, LPARAM l) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            const int id = GetDlgCtrlID(w);
            if (_wcsicmp(cls, L"Edit") != 0 || (id != 0x480 && id != 0x47c)) return TRUE;
            *reinterpret_cast<HWND*>(l) = w;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&name));
      if (dialog == nullptr || name == nullptr) {
        std::fputs("korvane-press: no open dialog\n", stderr);
        return 1;
      }
      SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[++i]));
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      continue;
    }
    if (arg == L"--ok") {
      HWND box = waitFor(tool, L"#32770");
      if (box == nullptr) {
        std::fputs("korvane-press: no message box\n", stderr);
        return 1;
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      continue;
    }
    if (arg == L"--journal") {
      HWND journal = waitFor(tool, L"KorvaneSetteiTable");
      HWND list = journal ? FindWindowExW(journal, nullptr, L"SysListView32", nullptr) : nullptr;
      if (list == nullptr) {
        std::fputs("korvane-press: no journal\n", stderr);
        return 1;
      }
      RECT r{};
      GetClientRect(journal, &r);
      std::printf("%d %d %ld %ld %d\n", int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)),
                  int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)), r.right,
                  r.bottom, int(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0)));
      // Enter in the list, as an owner with the keyboard closes it; one still there is closed.
      PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
      for (int wait = 0; wait < 40 && IsWindowVisible(journal); ++wait) Sleep(50);
      if (IsWindowVisible(journal)) PostMessageW(journal, WM_CLOSE, 0, 0);
      continue;
    }
    if (arg == L"--focus" && i + 1 < argc) {
      HWND dialog = waitFor(tool, argv[++i]);
      Sleep(3000);
      GUITHREADINFO info{sizeof info};
      GetGUIThreadInfo(GetWindowThreadProcessId(tool, nullptr), &info);
      const HWND h = info.hwndFocus;
      std::printf("%d\n",
                  dialog && IsChild(dialog, h) && IsWindowEnabled(h) ? GetDlgCtrlID(h) : -1);
      continue;
    }
    if (arg == L"--cancel") {
      HWND progress = waitFor(tool, L"KorvaneSetteiProgress");
      HWND label = progress ? FindWindowExW(progress, nullptr, L"Static", nullptr) : nullptr;
      if (label == nullptr) return std::fputs("korvane-press: no progress window\n", stderr), 1;
      char text[256] = {};
      Sleep(2000);
      GetWindowTextA(label, text, sizeof text);
      std::printf("%s\n", text);
      PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      continue;
    }
    if (arg == L"--tip" && i + 1 < argc) {  // the pointer moved there, and the move posted
      HWND box = GetDlgItem(tool, idOf(argv[++i]));
      HWND text = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
      RECT r{};
      if (text == nullptr || !GetClientRect(text, &r)) return std::fputs("no box\n", stderr), 1;
      POINT at{r.right / 2, r.bottom / 2};
      ClientToScreen(text, &at);
      SetCursorPos(at.x, at.y);
      PostMessageW(text, WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
      bool shown = false;
      for (int wait = 0; wait < 60 && !shown; ++wait, Sleep(50))
        shown = !windowsOf(tool, L"tooltips_class32").empty();
      std::printf("%d\n", shown ? 1 : 0);
      continue;
    }
    if (arg == L"--write") {
      HWND compare = waitFor(tool, L"KorvaneSetteiTable");
      HWND write = compare ? GetDlgItem(compare, 1) : nullptr;
      if (write == nullptr) {
        std::fputs("korvane-press: no comparison\n", stderr);
        return 1;
      }
      // A click, as a hand gives it: the button takes the focus first.
      PostMessageW(write, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageW(write, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      continue;
    }
    if (arg == L"--keys" && i + 2 < argc) {  // posted: through the tool's loop and dialog keys
      HWND field = GetDlgItem(tool, idOf(argv[++i]));
      if (HWND edit = FindWindowExW(field, nullptr, L"Edit", nullptr)) field = edit;  // a box's
      std::wistringstream keys(argv[++i]);
      for (WPARAM key; keys >> key; keys.ignore(), Sleep(200))
        PostMessageW(field, WM_KEYDOWN, key & 0xFF, key > 0xFF ? 1 | KF_EXTENDED << 16 : 1);
      continue;
    }
    if (arg == L"--click" && i + 1 < argc) {
      HWND control = GetDlgItem(tool, idOf(argv[++i]));
      PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      continue;
    }
    if (arg == L"--tab" && i + 1 < argc) {  // each step waits up to 2 s for the focus to move
      for (int n = _wtoi(argv[++i]), t = 0; t <= n; ++t) {
        const std::string from = t == 0 ? "-" : focused(tool);
        if (t > 0) PostMessageW(tool, WM_KEYDOWN, VK_TAB, 1);
        for (int wait = 0; wait < 200 && focused(tool) == from; ++wait) Sleep(10);
        std::printf("%s\n", focused(tool).c_str());
      }
      continue;
    }
    if (arg == L"--order") {
      for (std::string_view name : korvane::TabOrder())
        std::printf("%s\n", std::string(name).c_str());
      continue;
    }
    const int id = idOf(arg);
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
