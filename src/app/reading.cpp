// "接続" and the read buttons: set the kind of the expected reply, send the query.

#include "app/form1.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"

namespace korvane {

void Form1::Command11_Click() {
  converse([this] {
    COMM1open();  // tells the operator itself when no port opens; the read runs on regardless
    for (int shape = 1; shape <= 4; ++shape) panel_.setLamp(shape, kGreen);
    readSettings(readAllSequence(), nullptr, nullptr);
  });
}

void Form1::readSettings(std::span<const Setting* const> settings, const ReplyWatch& watch,
                         const std::function<bool(std::size_t done)>& goOn, double waitMs) {
  replyWatch_ = watch;
  for (std::size_t done = 0; !goOn || goOn(done); ++done) {
    if (done == settings.size()) break;
    replyKind_ = static_cast<std::int16_t>(settings[done]->replyKind);
    SendCommand(settings[done]->query);
    Wait(waitMs);
  }
  replyWatch_ = nullptr;
}

void Form1::Command5_Click(const Setting& setting) {
  converse([this, &setting] {
    replyKind_ = static_cast<std::int16_t>(setting.replyKind);
    SendCommand(setting.query);
    Wait(kReadAllWaitMs);  // the answer's time, as in "接続", before another query may go out
  });
}

}  // namespace korvane
