// The programs without a window: which run an argument list starts in each program, the help as
// each system has it, and what the console prints in place of a window's words.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "app/backup_command.h"
#include "app/console_output.h"
#include "app/conversation.h"
#include "app/menu_flows.h"
#include "app/start_program.h"
#include "app/start_up.h"
#include "files/local_file.h"
#include "kit/virtual_kit.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvane {
namespace {

using Args = std::vector<std::string>;
bool has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// The window program has no console: what needs one is refused there; the console program never
// opens the window.
TEST(StartUp, EachProgramRunsOnlyWhatItCanShow) {
  constexpr StartUp T = StartUp::Trouble, H = StartUp::Help, U = StartUp::Usage,
                    B = StartUp::Backup, W = StartUp::Window, C = StartUp::ConsoleOnly;
  // By Program: Both (Linux), Window, Console.
  const std::pair<Args, std::array<StartUp, 3>> cases[] = {
      {{}, {W, W, U}},
      {{"--screenshot", "a.png"}, {W, W, U}},
      {{"/?"}, {H, H, H}},
      {{"--backup", "a.ini", "/?"}, {H, H, H}},
      {{"--bogus"}, {T, T, T}},
      {{"--backup", "a.ini", "--port", "COM5"}, {B, C, B}},
      {{"--compare", "a.ini"}, {B, C, B}},
      {{"--find"}, {StartUp::Find, C, StartUp::Find}},
      {{"--journal", "3"}, {StartUp::Journal, C, StartUp::Journal}},
      {{"--version"}, {StartUp::Version, StartUp::Version, StartUp::Version}},
  };
  for (const auto& [args, runs] : cases) {
    for (const Program p : {Program::Both, Program::Window, Program::Console})
      EXPECT_EQ(ChooseStartUp(ParseArguments(args), p), runs[int(p)])
          << testing::PrintToString(args) << " in program " << int(p);
  }
}

// What the start asks of the shell, for each program: nothing for the help or a mistake, a box
// for what the window program cannot run, the command with its arguments, or the window over the
// folders given.
TEST(StartUp, TheShellIsAskedOnlyForWhatNeedsIt) {
  struct Recorder : Shell {
    std::string asked;
    int runCommand(BackupCommand& command, bool find) override {
      asked = "command " + std::string(find ? "find" : "backup") + " " + PathUtf8(command.file) +
              " " + command.port + (command.acceptMechanics ? " +" : "");
      return 1;
    }
    int runWindow(const Arguments&, const std::filesystem::path& folder,
                  const std::filesystem::path& portFolder) override {
      asked = "window " + PathUtf8(folder.filename()) + " " + PathUtf8(portFolder.filename());
      return 5;
    }
    void box(std::string_view text) override { asked = "box " + std::string(text.substr(0, 9)); }
  };
  const kit::TempDir dir(u8"data");
  const std::string data = PathUtf8(dir.path);
  struct Case {
    Args args;
    Program program;
    int status;
    std::string asked;
  };
  const Case cases[] = {
      {{"--bogus"}, Program::Both, 2, ""},  // which run each program takes: ChooseStartUp's table
      {{"--backup", "a.ini"}, Program::Window, 2, "box バック"},
      {{"--restore", "a.ini", "--port", "COM5", "--accept-mechanics"},
       Program::Both,
       1,
       "command backup a.ini COM5 +"},
      {{"--find"}, Program::Console, 1, "command find  "},
      {{"--data-dir", data},
       Program::Window,
       5,  // the links beside the program
       "window " + PathUtf8(dir.path.filename()) + " " + PathUtf8(LocalFilesFolder().filename())},
      {{"--journal", "1", "--data-dir", data}, Program::Both, 0, ""},
  };
  for (const Case& c : cases) {
    Recorder shell;
    EXPECT_EQ(StartProgram(c.args, "korvane-settei", c.program, shell), c.status)
        << testing::PrintToString(c.args);
    EXPECT_EQ(shell.asked, c.asked) << testing::PrintToString(c.args);
  }
}

// A window's run once it is built, the same for every shell: the rectangles written and nothing
// else, or the picture taken (after a full read for --read-and-screenshot) and the status saying
// whether the read could run, or the operator's session.
TEST(StartUp, AWindowRunWritesItsRectanglesOrTakesItsPictureOrRunsTheSession) {
  struct Case {
    const char* name;
    Args args;
    bool portRefused, saves;
    int status;
    std::string events;  // what the shell was asked, with the virtual time of the picture
    std::size_t queries;
  };
  const Case cases[] = {
      {"session", {}, false, true, 7, "show run", 0},
      {"rectangles", {"--control-rects", "r.txt"}, false, true, 0, "show rects", 0},
      {"picture", {"--screenshot", "a.png"}, false, true, 0, "show png@300", 0},
      {"picture not saved", {"--screenshot", "a.png"}, false, false, 2, "show png@300", 0},
      {"read first", {"--read-and-screenshot", "a.png"}, false, true, 0, "show png@12300", 30},
      {"read on no port", {"--read-and-screenshot", "a.png"}, true, true, 2, "show png@300", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kit::Rig rig;
    if (c.portRefused) rig.port.refused[1] = OpenTrouble::NoPermission;
    ConsoleOperator console;
    std::string events;
    Args inFolder = c.args;  // the files in the rig's folder
    if (inFolder.size() == 2) inFolder[1] = PathUtf8(rig.dir.path / inFolder[1]);
    const Arguments args = ParseArguments(inFolder);
    const int status =
        RunWindow(args, rig.form, rig.port, rig.loop, console,
                  {[&] { events += "show"; },
                   [&] { return events += " rects", std::string("Text2 1 2 3 4\n"); },
                   [&](const std::filesystem::path&) {
                     events += " png@" + std::to_string(long(rig.loop.nowMs));
                     return c.saves;
                   },
                   [&] { return events += " run", 7; }});
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(rig.port.writes.size(), c.queries);
    if (args.controlRects) {
      EXPECT_EQ(ReadLocalFile(*args.controlRects).value_or(""), "Text2 1 2 3 4\n");
    }
  }
}

// The window is bound to the program's Form1 for the run, and to nothing once it has ended, nor
// is the port: a last event while they close reaches no Form1 gone.
TEST(StartUp, TheWindowAndThePortAreBoundForTheRunOnly) {
  struct NoFiles : FileChooser, Progress {
    std::filesystem::path saveFile(std::string_view, std::string_view) override { return {}; }
    std::filesystem::path openFile(std::string_view) override { return {}; }
    void open(std::string_view) override {}
    void step(std::string_view, int, int) override {}
    bool cancelled() const override { return false; }
    void close() override {}
  } none;
  kit::Rig rig;
  PortEvents events;
  WindowEvents* bound = nullptr;
  std::string seen;  // bound, port events, menu handlers: during the run, then after it
  const auto look = [&](const MenuHandlers& menu) {
    seen += std::to_string(bound != nullptr) + std::to_string(bool(events.received)) +
            std::to_string(bool(menu.backup)) + " ";
  };
  MenuHandlers menu;
  WindowParts parts{rig.panel,
                    rig.port,
                    events,
                    rig.loop,
                    rig.op,
                    {none, none, nullptr},
                    [] { return std::vector<int>{}; },
                    [](const std::vector<int>&) { return std::vector<std::string>{}; },
                    [&](WindowEvents* form, MenuHandlers handlers) {
                      bound = form;
                      menu = std::move(handlers);
                    },
                    {[] {}, {}, {}, [&] { return look(menu), 3; }}};
  EXPECT_EQ(StartWindow({}, rig.dir.path, parts), 3);
  look(menu);
  EXPECT_EQ(seen, "111 000 ");
}

// The help names the program as it was run and only what its system has.
TEST(StartUp, TheHelpNamesTheProgramAndOnlyWhatItsSystemHas) {
  EXPECT_EQ(InvokedName("/usr/bin/korvane-settei"), "korvane-settei");
  EXPECT_EQ(InvokedName(""), "korvane-settei");
#ifndef _WIN32  // Windows takes its own command line, in wide characters
  char program[] = "/usr/bin/korvane-settei", find[] = "--find";
  char* argv[] = {program, find, nullptr};
  EXPECT_EQ(ProgramName(2, argv), "korvane-settei");
  EXPECT_EQ(ProgramArguments(2, argv), Args{"--find"});
#endif
  const std::string windows = HelpText("korvane-settei-cli.exe", System::Windows);
  const std::string posix = HelpText("korvane-settei", System::Posix);
  EXPECT_TRUE(windows.starts_with("Usage: korvane-settei-cli.exe [options]\n"));
  EXPECT_TRUE(posix.starts_with("Usage: korvane-settei [options]\n"));
  for (const char* own : {"お読みください.txt", "/?", "korvane-settei-cli.exe runs"})
    EXPECT_TRUE(has(windows, own) && !has(posix, own)) << own;
  for (const char* own : {"COMn links", "README", "device path", "--screenshot"})
    EXPECT_TRUE(has(posix, own) && !has(windows, own)) << own;
}

// The console tells the lost line once, and with no "接続" to press.
// --restore's exit status says what came of the writes: all of them matched, some were written
// and something differs, or trouble came before any write (nothing on the controller changed).
TEST(BackupCommand, ARestoreEndsByWhatItWroteBeforeAnyTrouble) {
  struct Case {
    const char* name;
    std::size_t failFromWrite;  // counted from the restore's first write; SIZE_MAX: never
    int status;
    std::size_t writes;  // of the restore
  } const cases[] = {
      {"every write read back alike", SIZE_MAX, kExitDone, 4},
      {"the line lost before the first write", 0, kExitTrouble, 0},
      {"the line lost after one write and its read-back", 2, kExitDiffers, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kit::TempDir dir;
    kit::VirtualLoop loop;
    kit::FakePort port(loop);
    PortEvents events;
    sim::ControllerModel controller;
    port.onWrite = [&](std::string_view bytes) {
      for (const auto& ex : controller.receive(bytes, sim::Millis(long(loop.nowMs))))
        if (!ex.reply.empty()) loop.after(50, [&, reply = ex.reply] { events.received(reply); });
    };
    port.lost = [&] { events.lost(); };
    const auto run = [&](BackupMode mode) {
      BackupCommand command{mode, dir.path / "backup.ini", "COM1", dir.path, dir.path, false, {},
                            {}};
      testing::internal::CaptureStdout();  // the rows
      testing::internal::CaptureStderr();  // the progress and the summary
      const int status = RunBackupCommand(command, port, loop, events);
      testing::internal::GetCapturedStderr();
      testing::internal::GetCapturedStdout();
      return status;
    };
    ASSERT_EQ(run(BackupMode::Backup), kExitDone);
    const std::string text = ReadLocalFile(dir.path / "backup.ini").value();
    ASSERT_TRUE(WriteLocalFile(
        dir.path / "backup.ini",
        std::regex_replace(std::regex_replace(text, std::regex("max_rate=\\d+"), "max_rate=450"),
                           std::regex("backlash_ra=\\d+"), "backlash_ra=020")));
    const std::size_t before = port.writes.size() + kBackupSettingCount;  // and the compare's read
    port.failFromWrite = c.failFromWrite == SIZE_MAX ? SIZE_MAX : before + c.failFromWrite;
    EXPECT_EQ(run(BackupMode::Restore), c.status);
    EXPECT_EQ(port.writes.size() - before, c.writes);
  }
}

TEST(ConsoleOperator, TellsTheLostLineOnceAndAsOneMoreRun) {
  const std::string lost = kPortLostText, console = kPortLostConsoleText;
  ConsoleOperator op;
  EXPECT_EQ(op.told("保存しました。"), "保存しました。");
  const std::pair<std::string, std::string> cases[] = {
      {lost, console},  // the first time, from the port's handler
      {lost, ""},
      {lost + "\nファイルは保存していません。", "ファイルは保存していません。"},
      {"1 件を書き込み、1 件が一致しました。\n" + lost + "\n残りの 2 件",
       "1 件を書き込み、1 件が一致しました。\n残りの 2 件"},
  };
  for (const auto& [text, told] : cases) EXPECT_EQ(op.told(text), told) << text;
  EXPECT_FALSE(has(console, "接続"));
}

// To a file (a pipe, a redirected log) the text goes as its UTF-8 bytes, exactly.
TEST(ConsoleOutput, AFileGetsTheUtf8BytesExactly) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  Printf(file, "korvane-settei: %d/%d %s\n", 3, 30, "一致");
  Print(file, "");
  std::rewind(file);
  char bytes[64];
  const std::size_t n = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  EXPECT_EQ(std::string(bytes, n), "korvane-settei: 3/30 一致\n");
}

#ifdef _WIN32
// Only a console is written in wide characters: a file is left to the bytes, UTF-8.
TEST(ConsoleOutput, AFileIsNoConsole) {
  const std::string text = "一致";
  const kit::TempDir dir;
  HANDLE file = ::CreateFileW((dir.path / "out.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  EXPECT_FALSE(WriteConsoleUtf8(file, text));
  ::CloseHandle(file);
  EXPECT_EQ(std::filesystem::file_size(dir.path / "out.txt"), 0u);
}
#endif

}  // namespace
}  // namespace korvane
