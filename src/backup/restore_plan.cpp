#include "backup/restore_plan.h"

#include <algorithm>

namespace korvane {

bool SameBackupValue(std::size_t position, std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (restoreWay(position) != RestoreWay::SetButton) return false;
  const SetOutcome first = backupSetOutcome(position, a);
  return first.kind == SetOutcome::Kind::Command && first == backupSetOutcome(position, b);
}

std::optional<std::string> RestoreCommand(std::size_t position, std::string_view value) {
  switch (restoreWay(position)) {
    case RestoreWay::Never:
      return std::nullopt;
    case RestoreWay::Switch:
      if (value != "0" && value != "1") return std::nullopt;
      return std::string(switchCommand(position, value == "1"));
    case RestoreWay::SetButton: {
      SetOutcome outcome = backupSetOutcome(position, value);
      if (outcome.kind != SetOutcome::Kind::Command) return std::nullopt;
      return std::move(outcome.text);
    }
  }
  return std::nullopt;
}

std::array<CompareRow, kBackupSettingCount> Compare_Backup(const BackupValues& controller,
                                                           const BackupValues& file) {
  std::array<CompareRow, kBackupSettingCount> rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::optional<std::string> command = RestoreCommand(i, file[i]);
    rows[i] = {i, command.has_value(), !SameBackupValue(i, controller[i], file[i]),
               command.value_or("")};
  }
  return rows;
}

std::vector<CompareRow> Diff_Backup(const BackupValues& controller, const BackupValues& file) {
  std::vector<CompareRow> out;
  for (CompareRow& row : Compare_Backup(controller, file)) {
    if (row.toRestore()) out.push_back(std::move(row));
  }
  return out;
}

namespace {
// A control byte from a noisy line is shown as "\xNN", as every value is.
std::string mountName(std::string_view name) {
  return name.empty() ? std::string("（名前なし）")
                      : "「" + ShownBackupValue(kMountNamePosition, name) + "」";
}
}  // namespace

std::string MountsText(const BackupHeader& file, std::string_view connectedMount) {
  return "バックアップのマウント" + mountName(file.mount) + "（" + file.created + "、" + file.port +
         "）、接続中のマウント" + mountName(connectedMount);
}

std::vector<std::size_t> MechanicsChanges(const BackupValues& controller, const BackupValues& file,
                                          std::span<const std::size_t> chosen) {
  std::vector<std::size_t> changes;
  for (std::size_t position : kMechanicsPositions) {
    if (std::ranges::count(chosen, position) > 0 &&
        !SameBackupValue(position, controller[position], file[position]))
      changes.push_back(position);
  }
  std::ranges::sort(changes);
  return changes;
}

std::string MechanicsText(std::span<const std::size_t> changes, const BackupValues& controller,
                          const BackupFile& file) {
  if (changes.empty()) return {};
  std::string text =
      "この復元はマウントの機構の設定を変えます。別のマウントのバックアップなら、望遠鏡は正しく"
      "動かなくなります。";
  for (std::size_t position : changes) {
    text += "\n・" + backupSettingName(position) + ": " + controller[position] + " → " +
            file.values[position];
  }
  const std::string& connected = controller[kMountNamePosition];
  if (!SameBackupValue(kMountNamePosition, connected, file.header.mount)) {
    text += "\nバックアップのマウントは" + mountName(file.header.mount) + "、接続中のマウントは" +
            mountName(connected) + "です。";
  }
  return text;
}

}  // namespace korvane
