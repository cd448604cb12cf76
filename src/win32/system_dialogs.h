#pragma once
// The Windows window's other windows, each shown when the core says (Form1::Menu_Backup, ...):
// message boxes and the beep; the system's file dialogs, a save starting in Documents; the
// progress window, a line ("12 / 30", the port in hand) and a cancel button over the main window,
// which is disabled meanwhile; and the table dialog of the menu's tables.

#include <windows.h>

#include "app/seams.h"

namespace korvane {

class TableModel;
class Win32Window;

class Win32Operator : public Operator {
 public:
  explicit Win32Operator(HWND owner) : owner_(owner) {}
  MessageButton message(std::string_view text, std::string_view title, MessageStyle style) override;
  void beep() override { MessageBeep(MB_OK); }

 private:
  HWND owner_;
};

class Win32FileChooser : public FileChooser {
 public:
  explicit Win32FileChooser(Win32Window& window) : window_(window) {}
  std::filesystem::path saveFile(std::string_view title, std::string_view name) override;
  std::filesystem::path openFile(std::string_view title) override;

 private:
  Win32Window& window_;
};

class Win32Progress : public Progress {
 public:
  explicit Win32Progress(Win32Window& window) : window_(window) {}
  ~Win32Progress() override { close(); }
  Win32Progress(const Win32Progress&) = delete;
  Win32Progress& operator=(const Win32Progress&) = delete;

  void open(std::string_view title) override;  // at the main window's scale now
  void step(std::string_view text, int value, int maximum) override;
  bool cancelled() const override { return cancelled_; }
  void close() override;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);

  Win32Window& window_;
  HWND owner_ = nullptr, progress_ = nullptr, label_ = nullptr;
  bool cancelled_ = false;
};

// The menu's tables ("設定を比較・復元", "変更履歴", the core's TableModel): the filter above when
// the model has one, the rows in a list (with check boxes where rows can be ticked), the line
// under it, and the model's button beside "閉じる"; Enter presses the model's button where the
// model says so, else "閉じる". Modal over the window until closed; laid out at its dpi.
void ShowTableDialog(Win32Window& window, TableModel& model);

}  // namespace korvane
