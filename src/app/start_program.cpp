#include "app/start_program.h"

#include <cstdio>

#include "app/console_output.h"
#include "app/port_events.h"
#include "files/local_file.h"

namespace korvane {

int StartProgram(const std::vector<std::string>& arguments, std::string_view name, Program program,
                 Shell& shell) {
  const Arguments args = ParseArguments(arguments);
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
      shell.box(kConsoleOnlyText);
      return kExitTrouble;
    case StartUp::Journal:
    case StartUp::Find:
    case StartUp::Backup:
    case StartUp::Window:
      break;
  }
  // The user's own folder holds the local files and the COMn links a user makes: beside the
  // program, or for an installed copy the user's data folder, where no root is needed to link.
  const std::filesystem::path own = LocalFilesFolder();
  const std::filesystem::path folder = args.dataFolder.value_or(own);
  const std::filesystem::path portFolder = args.portFolder.value_or(own);
  if (args.journalEntries) return RunJournalCommand(folder, *args.journalEntries, args.showSecrets);
  if (args.mode || args.find) {
    BackupCommand command{args.mode.value_or(BackupMode::Backup),
                          args.file,
                          args.port,
                          folder,
                          portFolder,
                          args.showSecrets,
                          {},
                          {}};
    command.acceptMechanics = args.acceptMechanics;
    return shell.runCommand(command, args.find);
  }
  return shell.runWindow(args, folder, portFolder);
}

int RunCommand(const BackupCommand& command, bool find, Port& port, EventLoop& loop,
               PortEvents& events) {
  return find ? RunFindCommand(command, port, loop, events)
              : RunBackupCommand(command, port, loop, events);
}

bool NoOneWatches(const Arguments& args) {
  return args.screenshot || args.readAndScreenshot || args.controlRects;
}

int StartWindow(const Arguments& args, const std::filesystem::path& folder, WindowParts& parts) {
  ConsoleOperator console;
  Operator& op = NoOneWatches(args) ? static_cast<Operator&>(console) : parts.boxes;
  Form1 form(parts.panel, parts.port, parts.loop, op, folder);
  parts.portEvents = PortEventsFor(form, parts.loop);
  form.setPortsPresent(parts.portsPresent);
  const auto deviceText = [texts = parts.portTexts](int n) { return texts({n}).at(0); };
  parts.bind(&form, MenuHandlersFor(form, parts.port, parts.portEvents, deviceText, parts.menu));
  const int status = RunWindow(args, form, parts.port, parts.loop, console, parts.shell);
  // The window and the port outlive this Form1 by a moment: nothing of theirs reaches it now.
  parts.bind(nullptr, {});
  parts.portEvents = {};
  return status;
}

int RunWindow(const Arguments& args, Form1& form, Port& port, EventLoop& loop,
              const ConsoleOperator& console, const WindowShell& shell) {
  form.Form_Load();
  shell.show();
  if (args.controlRects) {
    return WriteLocalFile(*args.controlRects, shell.controlRects()) ? kExitDone : kExitTrouble;
  }
  if (!args.screenshot && !args.readAndScreenshot) return shell.run();
  // The picture is saved even when the read could not run (a port this user may not open); the
  // status says so.
  const bool readFirst = args.readAndScreenshot.has_value();
  const std::filesystem::path& png = readFirst ? *args.readAndScreenshot : *args.screenshot;
  loop.Wait(300);                         // shown and painted
  if (readFirst) form.Command11_Click();  // returns once the last answer has had its time
  const bool portOpen = port.isOpen();    // before the end closes it
  const bool saved = shell.savePng(png);
  std::error_code ec;
  Print(stdout,
        (saved ? PathUtf8(std::filesystem::absolute(png, ec)) : "screenshot failed") + "\n");
  std::fflush(stdout);
  form.Form_Unload();
  loop.quit();
  return PictureRunStatus(saved, readFirst, portOpen, console.messages);
}

}  // namespace korvane
