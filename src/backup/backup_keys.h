#pragma once
// The settings a backup keeps, one stable ASCII key each, in the order "接続" reads them. A backup
// file names its values by these keys: once a file has been written with them they never change.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "settings/set_command.h"

namespace korvane {

struct BackupKey {
  int replyKind;  // the catalogue row it stands for
  std::string_view key;
};

// The keys of the catalogue, in read order.
constexpr std::array<BackupKey, kReadAllOrder.size()> makeBackupKeys() {
  std::array<BackupKey, kReadAllOrder.size()> keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const auto setting = std::ranges::find(kSettings, kReadAllOrder[i], &Setting::replyKind);
    if (setting == kSettings.end() || setting->key.empty()) throw "a read setting without a key";
    keys[i] = {setting->replyKind, setting->key};
  }
  return keys;
}
inline constexpr std::array<BackupKey, kReadAllOrder.size()> kBackupKeys = makeBackupKeys();

inline constexpr std::size_t kBackupSettingCount = kBackupKeys.size();

constexpr std::size_t keptPosition(std::string_view key) {
  const auto it = std::ranges::find(kBackupKeys, key, &BackupKey::key);
  if (it == kBackupKeys.end()) throw "no such backup key";
  return static_cast<std::size_t>(it - kBackupKeys.begin());
}
// The mount's name, as the owner knows it: the controller's access-point network name (SSID).
inline constexpr std::size_t kMountNamePosition = keptPosition("wifi_ap_ssid");
// The settings that make the mount's mechanics: another mount's steps drive this one wrong.
inline constexpr std::array<std::size_t, 4> kMechanicsPositions{
    keptPosition("ra_steps_per_degree"), keptPosition("dec_steps_per_degree"),
    keptPosition("ra_steps_per_worm"), keptPosition("dec_steps_per_worm")};

// One value per kept setting, by position in kBackupKeys. A value is the text the window shows
// for it; a lamp pair is "1" when its first lamp (plus, ON) is lit and "0" when its second is.
using BackupValues = std::array<std::string, kBackupSettingCount>;

// The position of a key or of a reply kind in kBackupKeys; -1 when it is not kept.
int backupPositionOfKey(std::string_view key);
int backupPositionOfKind(int replyKind);

const Setting& backupSetting(std::size_t position);
// The position of the setting a SET button writes (every SET row's setting is kept).
std::size_t backupPositionOfRow(const SetRow& row);

// How the operator knows the setting: its caption and, in brackets, its key.
std::string backupSettingName(std::size_t position);
// The same by key; a key that is not kept (a journal edited by hand) stands for itself.
std::string backupSettingName(std::string_view key);

// The value as the operator may see it on a terminal or in the comparison: a WiFi password as
// "********" (the file alone holds it, for its owner only) unless asked for, control bytes and
// the backslash as "\xNN" so that one value stays one column of one line.
inline constexpr std::string_view kHiddenSecret = "********";
bool holdsSecret(std::size_t position);  // a WiFi password
std::string ShownBackupValue(std::size_t position, std::string_view value, bool secrets = false);

// How a kept setting goes back to the controller.
enum class RestoreWay {
  Never,      // the controller's date and time: kept for reference only
  SetButton,  // typed into its field and SET pressed
  Switch,     // a lamp pair: the button that lights the lamp the file names
};
RestoreWay restoreWay(std::size_t position);

// What the setting's SET button makes of the value; nothing for rows without a SET button.
SetOutcome backupSetOutcome(std::size_t position, std::string_view value);

// The command of the button that lights the first lamp of the pair (on) or the second.
std::string_view switchCommand(std::size_t position, bool on);

// The kept setting whose lamps an operating button lights (a direction, the limit switch), and
// which of its two states; position -1 for a button that lights none.
struct LampSetting {
  int position = -1;
  bool on = false;
};
LampSetting lampSettingOf(const OperationButton& button);

}  // namespace korvane
