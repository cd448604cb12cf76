// Start-up on Windows: the window, the port, the loop and the handlers, wired together; or a
// backup mode without a window. korvane-settei.exe is the window program; korvane-settei-cli.exe,
// built from this same file as a console program, is the one whose output and exit status
// cmd.exe and PowerShell see.

#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "app/backup_command.h"
#include "app/backup_sequences.h"
#include "app/console_output.h"
#include "app/form1.h"
#include "app/port_names.h"
#include "app/port_tooltip.h"
#include "app/start_up.h"
#include "backup/backup_file.h"
#include "backup/backup_keys.h"
#include "files/local_file.h"
#include "win32/compare_dialog.h"
#include "win32/journal_dialog.h"
#include "win32/port_facts.h"
#include "win32/progress_window.h"
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

// A file name from the system's open or save dialog; empty when the operator cancels.
std::filesystem::path askFile(HWND owner, bool save, std::string_view title,
                              const std::wstring& suggested = {}) {
  std::wstring filter = Wide(kBackupFileFilter);  // "a (*.ini);;b (*)" -> "a\0*.ini\0b\0*\0\0"
  std::wstring pairs;
  for (std::size_t at = 0; at < filter.size();) {
    const std::size_t end = std::min(filter.find(L";;", at), filter.size());
    const std::wstring item = filter.substr(at, end - at);
    const std::size_t open = item.rfind(L'('), close = item.rfind(L')');
    pairs += item + L'\0' + item.substr(open + 1, close - open - 1) + L'\0';
    at = end + 2;
  }
  pairs += L'\0';
  std::wstring file = suggested;
  file.resize(MAX_PATH * 4, L'\0');
  const std::wstring caption = Wide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = pairs.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.lpstrDefExt = L"ini";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return {};
  return std::filesystem::path(file.c_str());
}

// The user's Documents folder, as the Qt shell starts its save dialog in; empty if it has none.
std::filesystem::path documentsFolder() {
  PWSTR path = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

void backupFromMenu(Win32Window& window, Form1& form, Operator& op, EventLoop& loop, Port& port) {
  if (!form.Backup_Ready()) return;
  const std::filesystem::path file =
      askFile(window.hwnd(), true, kBackupTitle,
              (documentsFolder() / Wide(BackupFileName(loop.now()))).wstring());
  if (file.empty()) return;
  BackupSaveResult result;
  {
    ProgressWindow progress(window.hwnd(), window.font(), window.dpi(), kBackupTitle,
                            kReadingSettings);
    result =
        form.Backup_Save(file, KORVANE_VERSION, ComName(port.number()), progress.readCallback());
  }
  op.message(result.message, kBackupTitle, TroubleStyle(result.trouble));
}

void compareFromMenu(Win32Window& window, Form1& form, Operator& op) {
  if (!form.Backup_Ready()) return;
  const std::filesystem::path file = askFile(window.hwnd(), false, kCompareTitle);
  if (file.empty()) return;
  BackupComparison comparison;
  {
    ProgressWindow progress(window.hwnd(), window.font(), window.dpi(), kCompareTitle,
                            kReadingSettings);
    comparison = form.Backup_Compare(file, progress.readCallback());
  }
  if (comparison.trouble != BackupTrouble::None) {
    op.message(comparison.message, kCompareTitle, MessageStyle::Critical);
    return;
  }
  ShowCompareDialog(window.hwnd(), window.font(), window.dpi(), form, comparison);
}

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
  window.setMenuHandlers(
      {[&] { backupFromMenu(window, form, op, loop, port); },
       [&] { compareFromMenu(window, form, op); },
       [&] { ShowJournalDialog(window.hwnd(), window.font(), window.dpi(), form, op); },
       [&] {
         ProgressWindow progress(window.hwnd(), window.font(), window.dpi(), kFindTitle, "");
         form.Find_Controller(port.events, portTooltip, progress.findCallback());
       },
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
