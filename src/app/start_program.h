#pragma once
// The program's start, the same for every shell: the arguments checked, the help, the version,
// the folders, the journal, the backup modes and the search, and the window's run (a picture of it,
// its controls' rectangles, or the operator's session). A shell gives only what needs its toolkit.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/backup_command.h"
#include "app/form1.h"
#include "app/menu_flows.h"
#include "app/port_tooltip.h"
#include "app/start_up.h"

namespace korvane {

class Shell {
 public:
  virtual ~Shell() = default;
  // A backup mode (or, with `find`, the search) without a window: the shell's port and event loop,
  // and what its system knows of the ports (command.portsPresent, command.deviceText), with
  // RunCommand run on them.
  virtual int runCommand(BackupCommand& command, bool find) = 0;
  // The window: built over the local files in `folder`, its ports' links in `portFolder`; then
  // StartWindow.
  virtual int runWindow(const Arguments& args, const std::filesystem::path& folder,
                        const std::filesystem::path& portFolder) = 0;
  // A message for a program that has no console (the Windows window program), in a box.
  virtual void box(std::string_view text) { (void)text; }
};

// Runs the program for `arguments` (after its name), `name` being the name it was run by.
int StartProgram(const std::vector<std::string>& arguments, std::string_view name, Program program,
                 Shell& shell);

// The backup mode or the search, on the shell's port and loop.
int RunCommand(const BackupCommand& command, bool find, Port& port, EventLoop& loop,
               PortEvents& events);

// A run that no one watches (a picture of the window, its rectangles): the handlers' messages go
// to standard error, and a question is answered OK.
bool NoOneWatches(const Arguments& args);

// What only the shell can do with its window, once it is built.
struct WindowShell {
  std::function<void()> show;                                 // shown, not yet painted
  std::function<std::string()> controlRects;                  // ControlRectLine for each control
  std::function<bool(const std::filesystem::path&)> savePng;  // the window as it is now
  std::function<int()> run;  // the event loop, until the window closes: the program's status
};

// What a shell makes for the window program; StartWindow makes the handlers over it.
struct WindowParts {
  Panel& panel;
  Port& port;
  PortEvents& portEvents;  // where the port's adapter hands what it receives, and its loss
  EventLoop& loop;
  Operator& boxes;  // message boxes over the window (a run that no one watches has none)
  MenuShell menu;
  std::function<std::vector<int>()> portsPresent;  // the ports there are now
  PortTexts portTexts;                             // each port's device, as the system knows it now
  // The window given the handlers of its controls and of its menu; none (nullptr, no handlers)
  // once the run has ended, for what the window still does while it closes.
  std::function<void(WindowEvents*, MenuHandlers)> bind;
  WindowShell shell;
};

// The window program: Form1 made over the shell's parts and the local files in `folder`, its
// events and menu bound to the window, then RunWindow.
int StartWindow(const Arguments& args, const std::filesystem::path& folder, WindowParts& parts);

// After Form_Load and the window shown: the rectangles written, or the picture saved (after a full
// read for --read-and-screenshot) and its path printed, or the operator's session run.
// `console` is the operator of a run that no one watches.
int RunWindow(const Arguments& args, Form1& form, Port& port, EventLoop& loop,
              const ConsoleOperator& console, const WindowShell& shell);

}  // namespace korvane
