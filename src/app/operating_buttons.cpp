// The one-shot operating buttons, the clock and the WiFi mode.

#include "app/form1.h"
#include "backup/backup_keys.h"
#include "operation/date_time.h"
#include "protocol/command_set.h"

namespace korvane {

void Form1::Operation_Click(int button) {
  const OperationButton* b = operationButton(button);
  if (b == nullptr) return;
  if (const LampSetting lit = lampSettingOf(*b); lit.position >= 0) {
    // A direction or limit button writes a setting the controller keeps.
    const bool open = port_.isOpen();
    const auto position = static_cast<std::size_t>(lit.position);
    // Chosen during a read: the read's answer for it, if its query went out already, is older.
    if (conversing_) chosenSinceQuery_.push_back(position);
    if (WriteSetting(position, lit.on ? "1" : "0").status == SettingWrite::Status::NotSent &&
        open) {
      tellNotWritten({position});
    }
  } else {
    for (std::string_view command : b->commands) {
      if (!command.empty()) SendCommand(command);
    }
  }
  // The lamps move whether or not the command reached the controller.
  if (b->lamps.exists()) applyLamps(b->lamps.first, b->lamps.second);
}

void Form1::Command34_Click() {
  const std::string date = DateCommand(loop_.now());
  SendCommand(date);
  Wait(kDateTimePauseMs);
  const LocalDateTime now = loop_.now();
  SendCommand(TimeCommand(now));  // the time after the pause, not before it
  // Midnight passed in the pause: the date sent is yesterday's, and the controller would be a
  // day behind. The new date after the time puts it right (the time of day stays).
  if (DateCommand(now) != date) SendCommand(DateCommand(now));
}

void Form1::Command35_Click() {
  SendCommand(kWifiApMode);
  SendCommand(kWifiApply);
}

void Form1::Command36_Click() {
  SendCommand(kWifiStationMode);
  SendCommand(kWifiApply);
}

}  // namespace korvane
