// The one-shot operating buttons, the clock and the WiFi mode.

#include "app/form1.h"
#include "operation/date_time.h"
#include "protocol/command_set.h"

namespace korvane {

void Form1::Operation_Click(int button) {
  const OperationButton* b = operationButton(button);
  if (b == nullptr) return;
  for (std::string_view command : b->commands) {
    if (!command.empty()) SendCommand(command);
  }
  // The lamps move whether or not the command reached the controller.
  if (b->lamps.exists()) applyLamps(b->lamps.first, b->lamps.second);
}

void Form1::Command34_Click() {
  SendCommand(DateCommand(loop_.now()));
  Wait(kDateTimePauseMs);
  SendCommand(TimeCommand(loop_.now()));  // the time after the pause, not before it
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
