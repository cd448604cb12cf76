// The programs without a window: what the console prints in place of a window's words.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/backup_command.h"
#include "app/console_output.h"
#include "app/conversation.h"
#include "kit/virtual_kit.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvane {
namespace {

bool has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
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
