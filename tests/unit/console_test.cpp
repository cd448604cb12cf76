// The programs without a window: which run an argument list starts in each program, the help as
// each system has it, and what the console prints in place of a window's words.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/backup_command.h"
#include "app/console_output.h"
#include "app/conversation.h"
#include "app/start_up.h"
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

// The help names the program as it was run and only what its system has.
TEST(StartUp, TheHelpNamesTheProgramAndOnlyWhatItsSystemHas) {
  EXPECT_EQ(InvokedName("/usr/bin/korvane-settei"), "korvane-settei");
  EXPECT_EQ(InvokedName(""), "korvane-settei");
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
