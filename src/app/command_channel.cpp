// The one way anything is written to the controller, and the pause between a query and the next.

#include "app/form1.h"

namespace korvane {

bool Form1::SendCommand(std::string_view command) {
  // Asked anew on every call: the port may have closed during the caller's last wait. Once the
  // window is closing nothing more goes to the controller.
  if (ending_ || !port_.isOpen()) return false;
  recvBuf_.commandWritten();  // what arrives from now on is an answer, even after noise
  lastCommand_ = command;
  return port_.write(command);
}

void Form1::Wait(double ms) {
  if (ending_) return;
  loop_.Wait(ms);
}

void Form1::applyLamps(int first, int second) {
  panel_.setLamp(first, kMagenta);
  panel_.setLamp(second, kTeal);
}

}  // namespace korvane
