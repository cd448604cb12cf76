// "接続" and the read buttons: set the kind of the expected reply, send the query.

#include "protocol/command_set.h"
#include "app/form1.h"
#include "protocol/catalogue.h"

namespace korvane {

void Form1::Command11_Click() {
  COMM1open();  // tells the operator itself when no port opens; the read runs on regardless
  for (int shape = 1; shape <= 4; ++shape) panel_.setLamp(shape, kGreen);
  const auto sequence = readAllSequence();
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    replyKind_ = static_cast<std::int16_t>(sequence[i]->replyKind);
    SendCommand(sequence[i]->query);
    if (i + 1 < sequence.size()) Wait(kReadAllWaitMs);
  }
}

void Form1::Command5_Click(const Setting& setting) {
  replyKind_ = static_cast<std::int16_t>(setting.replyKind);
  SendCommand(setting.query);
}

}  // namespace korvane
