// Start-up on Windows: the window, the port, the loop and the handlers, wired together; or a
// backup mode without a window. korvane-settei.exe is the window program; korvane-settei-cli.exe,
// built from this same file as a console program, is the one whose output and exit status
// cmd.exe and PowerShell see.

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/backup_command.h"
#include "app/console_output.h"
#include "app/form1.h"
#include "app/menu_flows.h"
#include "app/port_names.h"
#include "app/port_tooltip.h"
#include "app/start_up.h"
#include "files/local_file.h"
#include "win32/compare_dialog.h"
#include "win32/journal_dialog.h"
#include "win32/port_facts.h"
#include "win32/system_dialogs.h"
#include "win32/text.h"
#include "win32/win32_loop.h"
#include "win32/win32_operator.h"
#include "win32/win32_serial_port.h"
#include "win32/win32_window.h"
#include "window/texts.h"

namespace {

using namespace korvane;

// MinGW's start-up calls wmain in both programs, so the build says which one this is.
#ifdef KORVANE_CONSOLE_PROGRAM
constexpr Program kThisProgram = Program::Console;
#else
constexpr Program kThisProgram = Program::Window;
#endif

int run(HINSTANCE instance, int show, Program program) {
  const Arguments args = ParseArguments(ProgramArguments(0, nullptr));
  const std::string name = ProgramName(0, nullptr);
  switch (ChooseStartUp(args, program)) {
    case StartUp::Trouble:
      Print(stderr, args.error);
      if (program == Program::Console) Print(stderr, "\n" + HelpText(name));
      return kExitTrouble;
    case StartUp::Usage:
      Print(stderr, HelpText(name));
      return kExitTrouble;
    case StartUp::Help:
      Print(stdout, HelpText(name));
      return kExitDone;
    case StartUp::Version:
      Print(stdout, VersionText());
      return kExitDone;
    case StartUp::ConsoleOnly:  // before any port or file: the window program has no console
      MessageBoxW(nullptr, Wide(kConsoleOnlyText).c_str(), Wide(kApplicationTitle).c_str(),
                  MB_OK | MB_ICONERROR);
      return kExitTrouble;
    case StartUp::Journal:
    case StartUp::Find:
    case StartUp::Backup:
    case StartUp::Window:
      break;
  }
  const std::filesystem::path own = LocalFilesFolder();
  const std::filesystem::path folder = args.dataFolder.value_or(own);
  const std::filesystem::path portFolder = args.portFolder.value_or(own);
  Win32EventLoop loop;

  if (args.journalEntries) return RunJournalCommand(folder, *args.journalEntries, args.showSecrets);
  const auto portTooltip = [](int n) { return PortTooltip(PortFactsOf(n, SerialAdapters())); };
  if (args.mode || args.find) {
    BackupCommand command{args.mode.value_or(BackupMode::Backup),
                          args.file,
                          args.port,
                          folder,
                          portFolder,
                          args.showSecrets,
                          PortsPresentNow,
                          portTooltip};
    command.acceptMechanics = args.acceptMechanics;
    Win32SerialPort port(loop, [&](int n) { return BackupCommandDevice(command, n); });
    if (args.find) return RunFindCommand(command, port, loop, port.events);
    return RunBackupCommand(command, port, loop, port.events);
  }

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  Win32Window window(instance);
  Win32SerialPort port(loop, [&](int n) { return PortDevice(n, portFolder, ExistsOnDisk); });
  const bool readFirst = args.readAndScreenshot.has_value();
  const bool pictureRun = readFirst || args.screenshot || args.controlRects;
  Win32Operator windowOperator(window.hwnd());
  ConsoleOperator console;
  Operator& op = pictureRun ? static_cast<Operator&>(console) : windowOperator;
  Form1 form(window, port, loop, op, folder);
  port.events = PortEventsFor(form, loop);
  window.bind(&form);
  Win32FileChooser files(window);
  Win32Progress progress(window);
  window.setMenuHandlers({[&] { form.Menu_Backup(files, progress); },
                          [&] {
                            if (const auto table = form.Menu_Compare(files, progress))
                              ShowCompareDialog(window.hwnd(), window.font(), window.dpi(), *table);
                          },
                          [&] {
                            JournalView view(form);
                            ShowJournalDialog(window.hwnd(), window.font(), window.dpi(), view);
                          },
                          [&] { form.Menu_Find(progress, port.events, portTooltip); },
                          [&] { return !port.isOpen(); }});
  form.setPortsPresent(PortsPresentNow);
  window.setPortTooltips([](const std::vector<int>& numbers) {
    const std::map<int, PortAdapter> adapters = SerialAdapters();
    std::vector<std::string> texts;
    for (int n : numbers) texts.push_back(PortTooltip(PortFactsOf(n, adapters)));
    return texts;
  });
  form.Form_Load();
  ShowWindow(window.hwnd(), pictureRun ? SW_SHOWNORMAL : show);
  UpdateWindow(window.hwnd());

  if (args.controlRects) {
    return WriteLocalFile(*args.controlRects, window.controlRects()) ? kExitDone : kExitTrouble;
  }
  if (pictureRun) {
    loop.Wait(300);                         // shown and painted
    if (readFirst) form.Command11_Click();  // returns once the last answer has had its time
    const bool portOpen = port.isOpen();
    const std::filesystem::path& png = readFirst ? *args.readAndScreenshot : *args.screenshot;
    const bool saved = window.savePng(png);
    std::printf("%s\n",
                saved ? PathUtf8(std::filesystem::absolute(png)).c_str() : "screenshot failed");
    form.Form_Unload();
    return PictureRunStatus(saved, readFirst, portOpen, console.messages);
  }
  return loop.run(window.hwnd(), window.accelerators());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return run(instance, show, kThisProgram);
}

int wmain() {
  return run(GetModuleHandleW(nullptr), SW_SHOWDEFAULT, kThisProgram);
}
