#include "backup/backup_keys.h"

#include "app/command_set.h"

namespace korvane {

namespace {

constexpr bool followsReadOrder() {
  for (std::size_t i = 0; i < kBackupKeys.size(); ++i) {
    if (kBackupKeys[i].replyKind != kReadAllOrder[i]) return false;
  }
  return true;
}
static_assert(followsReadOrder(), "a backup keeps its settings in the order 接続 reads them");

}  // namespace

int backupPositionOfKey(std::string_view key) {
  for (std::size_t i = 0; i < kBackupKeys.size(); ++i) {
    if (kBackupKeys[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

int backupPositionOfKind(int replyKind) {
  for (std::size_t i = 0; i < kBackupKeys.size(); ++i) {
    if (kBackupKeys[i].replyKind == replyKind) return static_cast<int>(i);
  }
  return -1;
}

const Setting& backupSetting(std::size_t position) {
  // Every kept kind is in the catalogue: the static_assert above ties the keys to the read order.
  return *settingByKind(kBackupKeys[position].replyKind);
}

std::string backupSettingName(std::size_t position) {
  return std::string(backupSetting(position).caption) + "（" +
         std::string(kBackupKeys[position].key) + "）";
}

RestoreWay restoreWay(std::size_t position) {
  const Setting& setting = backupSetting(position);
  if (setting.setButton >= 0) return RestoreWay::SetButton;
  if (setting.lamps.exists()) return RestoreWay::Switch;
  return RestoreWay::Never;
}

// The one place a backup value becomes a write: exactly as if it were typed into the field and
// its SET button pressed.
SetOutcome backupSetOutcome(std::size_t position, std::string_view value) {
  const Setting& setting = backupSetting(position);
  if (setting.setButton < 0) return {};
  return Build_SetCmd(setting.setButton, value);
}

std::string_view switchCommand(std::size_t position, bool on) {
  const Setting& setting = backupSetting(position);
  for (const OptionRow& row : kOptionRows) {
    if (row.replyKind == setting.replyKind) return on ? row.onCommand : row.offCommand;
  }
  // The direction and limit buttons light their own lamp and put out the other one.
  const LampPair lit = on ? setting.lamps : LampPair{setting.lamps.second, setting.lamps.first};
  for (const OperationButton& button : kOperationButtons) {
    if (button.lamps.first == lit.first && button.lamps.second == lit.second) {
      return button.commands[0];
    }
  }
  return {};
}

}  // namespace korvane
