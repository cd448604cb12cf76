#include "backup/backup_keys.h"

#include <algorithm>

#include "protocol/command_set.h"
#include "protocol/utf8.h"

namespace korvane {

static_assert(allDistinct(kBackupKeys, &BackupKey::key), "two settings share a backup key");

namespace {
template <typename Key, typename Column>
int positionOf(const Key& key, Column column) {
  const auto it = std::ranges::find(kBackupKeys, key, column);
  return it == kBackupKeys.end() ? -1 : static_cast<int>(it - kBackupKeys.begin());
}
}  // namespace

int backupPositionOfKey(std::string_view key) {
  return positionOf(key, &BackupKey::key);
}

int backupPositionOfKind(int replyKind) {
  return positionOf(replyKind, &BackupKey::replyKind);
}

const Setting& backupSetting(std::size_t position) {
  // Every kept kind is in the catalogue: the keys are made from it.
  return *settingByKind(kBackupKeys[position].replyKind);
}

std::size_t backupPositionOfRow(const SetRow& row) {
  return static_cast<std::size_t>(backupPositionOfKind(settingByField(row.field)->replyKind));
}

std::string backupSettingName(std::size_t position) {
  return std::string(backupSetting(position).caption) + "（" +
         std::string(kBackupKeys[position].key) + "）";
}

std::string backupSettingName(std::string_view key) {
  const int position = backupPositionOfKey(key);
  return position >= 0 ? backupSettingName(static_cast<std::size_t>(position)) : std::string(key);
}

bool holdsSecret(std::size_t position) {
  return std::ranges::count(kPasswordFields, backupSetting(position).field) > 0;
}

std::string ShownBackupValue(std::size_t position, std::string_view value, bool secrets) {
  if (!secrets && holdsSecret(position)) return std::string(kHiddenSecret);
  return Escaped(value);
}

RestoreWay restoreWay(std::size_t position) {
  const Setting& setting = backupSetting(position);
  if (setRowByField(setting.field) != nullptr) return RestoreWay::SetButton;
  if (setting.lamps.exists()) return RestoreWay::Switch;
  return RestoreWay::Never;
}

// The one place a backup value becomes a write: exactly as if it were typed into the field and
// its SET button pressed.
SetOutcome backupSetOutcome(std::size_t position, std::string_view value) {
  const SetRow* row = setRowByField(backupSetting(position).field);
  if (row == nullptr) return {};
  return Build_SetCmd(*row, value);
}

LampSetting lampSettingOf(const OperationButton& button) {
  if (!button.lamps.exists()) return {};
  for (std::size_t i = 0; i < kBackupSettingCount; ++i) {
    const LampPair pair = backupSetting(i).lamps;
    if (pair.first == button.lamps.first && pair.second == button.lamps.second)
      return {int(i), true};
    if (pair.first == button.lamps.second && pair.second == button.lamps.first)
      return {int(i), false};
  }
  return {};
}

std::string_view switchCommand(std::size_t position, bool on) {
  const Setting& setting = backupSetting(position);
  const auto option = std::ranges::find(kOptionRows, setting.replyKind, &OptionRow::replyKind);
  if (option != kOptionRows.end()) return on ? option->onCommand : option->offCommand;
  // The direction and limit buttons light their own lamp and put out the other one.
  const LampPair lit = on ? setting.lamps : LampPair{setting.lamps.second, setting.lamps.first};
  const auto button = std::ranges::find_if(kOperationButtons, [lit](const OperationButton& b) {
    return b.lamps.first == lit.first && b.lamps.second == lit.second;
  });
  return button == kOperationButtons.end() ? std::string_view() : button->commands[0];
}

}  // namespace korvane
