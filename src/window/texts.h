#pragma once
// Everything else a shell shows besides the main window's controls: the menu, the busy notice,
// and the backup, compare and restore dialogs. Texts in UTF-8, sizes at the design's 96 DPI.

#include <array>
#include <string_view>

#include "window/colour.h"
#include "window/layout.h"

namespace korvane {

// ---- the menu bar above the client area
enum class MenuCommand { Backup, CompareRestore, Journal, Separator, Quit };
enum class StandardKey { None, Save, Open, Quit };  // the system's usual keys (Ctrl+S, Ctrl+O, ...)
struct MenuEntry {
  std::string_view caption;
  MenuCommand command;
  StandardKey key;
};
inline constexpr std::string_view kFileMenu = "ファイル";
inline constexpr std::array<MenuEntry, 5> kFileMenuEntries{{
    {"設定をバックアップ...", MenuCommand::Backup, StandardKey::Save},
    {"設定を比較・復元...", MenuCommand::CompareRestore, StandardKey::Open},
    {"変更履歴...", MenuCommand::Journal, StandardKey::None},
    {"", MenuCommand::Separator, StandardKey::None},
    {"終了", MenuCommand::Quit, StandardKey::Quit},
}};
// The journal's dialog.
inline constexpr std::string_view kJournalTitle = "変更履歴";
inline constexpr std::string_view kJournalAllSettings = "すべての設定";
inline constexpr std::string_view kUndoCaption = "元に戻す";

// The second menu: finding the controller's port, while no port is open.
inline constexpr std::string_view kCommMenu = "通信";
inline constexpr std::string_view kFindMenuEntry = "コントローラーを探す...";

// ---- Form2, the busy notice: a small tool window centred on the main window
inline constexpr std::string_view kBusyNotice = "書き込み中.....";
inline constexpr int kBusyWidthTwips = 3075, kBusyHeightTwips = 810;  // 205 x 54 pixels
inline constexpr double kBusyFontPoints = 15.75;                      // bold
inline constexpr Colour kBusyBackground = kTeal;                      // captions: HighlightText

// ---- the backup dialogs
inline constexpr std::string_view kBackupTitle = "設定をバックアップ";
inline constexpr std::string_view kCompareTitle = "設定を比較・復元";
// The file dialogs' choice of files: a name and its pattern each.
struct FileFilter {
  std::string_view name, pattern;
};
inline constexpr std::array<FileFilter, 2> kBackupFileFilters{
    {{"バックアップ (*.ini)", "*.ini"}, {"すべてのファイル (*)", "*"}}};
inline constexpr std::string_view kReadingSettings = "設定を読み込んでいます...";
inline constexpr std::string_view kCancelCaption = "キャンセル";
// The comparison's columns, the mark of a differing row, its buttons.
inline constexpr std::array<std::string_view, 4> kCompareColumns{"設定", "コントローラー",
                                                                 "ファイル", "結果"};
inline constexpr std::string_view kDiffersMark = "違う";
inline constexpr std::string_view kDifferingCount =  // after the number of differing settings
    " 件が違います。書き込む設定に印を付けてください。";
inline constexpr std::string_view kWriteCaption = "書き込み";
inline constexpr std::string_view kCloseCaption = "閉じる";
// A written row's result, by RestoreRow::Verdict; "Differs" is followed by the value now held.
inline constexpr std::array<std::string_view, 4> kVerdictTexts{"書き込めませんでした", "一致",
                                                               "今の値: ", "読み返せませんでした"};

}  // namespace korvane
