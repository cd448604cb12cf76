// The ON/OFF option rows and the polar home position.

#include "app/form1.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"

namespace korvane {

void Form1::OptionSwitch_Click(int button) {
  const auto row = std::ranges::find_if(kOptionRows, [button](const OptionRow& r) {
    return r.onButton == button || r.offButton == button;
  });
  if (row == kOptionRows.end()) return;
  converse([&] {
    // Set first, so that an answer to the switch itself also moves the lamps.
    replyKind_ = static_cast<std::int16_t>(row->replyKind);
    SendCommand(button == row->onButton ? row->onCommand : row->offCommand);
    Wait(kOptionWaitMs);
    SendCommand(settingByKind(row->replyKind)->query);
    Wait(kOptionWaitMs);
  });
}

void Form1::Command29_Click() {
  converse([this] {
    panel_.setEnabled(command6(kHomeAltitudeSet), false);
    panel_.setEnabled(command6(kHomeAzimuthSet), false);
    SendCommand(kPolarHome);  // any answer goes under the kind set last
    Wait(kPolarHomeWaitsMs[0]);
    replyKind_ = kHomeAltitudeKind;
    SendCommand(settingByKind(kHomeAltitudeKind)->query);
    Wait(kPolarHomeWaitsMs[1]);
    replyKind_ = kHomeAzimuthKind;
    SendCommand(settingByKind(kHomeAzimuthKind)->query);
    Wait(kPolarHomeWaitsMs[2]);
    panel_.setEnabled(command6(kHomeAltitudeSet), true);
    panel_.setEnabled(command6(kHomeAzimuthSet), true);
  });
}

}  // namespace korvane
