// Start-up on Windows: the window, the port, the loop and the handlers, wired together; or a
// backup mode without a window. korvane-settei.exe is the window program; korvane-settei-cli.exe,
// built from this same file as a console program, is the one whose output and exit status
// cmd.exe and PowerShell see.

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

#include "app/port_names.h"
#include "app/start_program.h"
#include "win32/control_ids.h"
#include "win32/system_dialogs.h"
#include "win32/win32_loop.h"
#include "win32/win32_serial_port.h"
#include "win32/win32_window.h"

namespace {

using namespace korvane;

// MinGW's start-up calls wmain in both programs, so the build says which one this is.
#ifdef KORVANE_CONSOLE_PROGRAM
constexpr Program kThisProgram = Program::Console;
#else
constexpr Program kThisProgram = Program::Window;
#endif

class Win32Shell : public Shell {
 public:
  explicit Win32Shell(HINSTANCE instance, int show) : instance_(instance), show_(show) {}

  int runCommand(BackupCommand& command, bool find) override {
    command.portsPresent = PortsPresentNow;
    command.deviceText = [](int n) { return PortTooltips({n}).at(0); };
    Win32SerialPort port(loop_, [&](int n) { return BackupCommandDevice(command, n); });
    return RunCommand(command, find, port, loop_, port.events);
  }

  int runWindow(const Arguments& args, const std::filesystem::path& folder,
                const std::filesystem::path& portFolder) override {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    Win32Window window(instance_);
    Win32SerialPort port(loop_, [&](int n) { return PortDevice(n, portFolder, ExistsOnDisk); });
    Win32Operator boxes(window.hwnd());
    Win32FileChooser files(window);
    Win32Progress progress(window);
    window.setPortTooltips(PortTooltips);
    WindowParts parts{window,
                      port,
                      port.events,
                      loop_,
                      boxes,
                      {files, progress, [&](TableModel& t) { ShowTableDialog(window, t); }},
                      PortsPresentNow,
                      PortTooltips,
                      [&](WindowEvents* form, MenuHandlers menu) {
                        window.bind(form);
                        window.setMenuHandlers(std::move(menu));
                      },
                      {[&] {
                         ShowWindow(window.hwnd(), NoOneWatches(args) ? SW_SHOWNORMAL : show_);
                         UpdateWindow(window.hwnd());
                       },
                       [&] { return ControlRectsOf(window.hwnd()); },
                       [&](const std::filesystem::path& png) { return window.savePng(png); },
                       [&] { return loop_.run(window.hwnd(), window.accelerators()); }}};
    return StartWindow(args, folder, parts);
  }

  void box(std::string_view text) override {
    Win32Operator(nullptr).message(text, "", MessageStyle::Critical);  // no window to stand over
  }

 private:
  HINSTANCE instance_;
  int show_;
  Win32EventLoop loop_;
};

int run(HINSTANCE instance, int show) {
  Win32Shell shell(instance, show);
  return StartProgram(ProgramArguments(0, nullptr), ProgramName(0, nullptr), kThisProgram, shell);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return run(instance, show);
}

int wmain() {
  return run(GetModuleHandleW(nullptr), SW_SHOWDEFAULT);
}
