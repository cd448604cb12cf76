// Received bytes under any ReplyKind, through the receive handler and the reply dispatch, on the
// virtual-time rig. The input picks a button to press first (which sets ReplyKind), then a
// stream of actions: a notification now, one queued so that it arrives during the next yield
// (nested inside the handler), one at a later virtual time (inside a button's waits), or another
// press. Whatever arrives, the buffer stays bounded, every field holds valid UTF-8 and every lamp
// shows one of its three colours.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/seams.h"
#include "fuzz/fuzz_support.h"
#include "kit/virtual_kit.h"

namespace {

using korvane::Form1;
using korvane::fuzz::ByteReader;

// Every button that sets ReplyKind or moves fields and lamps, by the name the window presses
// it with; out-of-range indices included, as a handler must survive them too.
const std::vector<std::string>& presses() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (int i = -1; i <= 16; ++i) out.push_back("Command5(" + std::to_string(i) + ")");
    for (int i = -1; i <= 21; ++i) out.push_back("Command6(" + std::to_string(i) + ")");
    // Command28 saves the settings file: it adds disk writes and nothing to reception.
    for (int n = 1; n <= 37; ++n) {
      if (n != 28) out.push_back("Command" + std::to_string(n));
    }
    return out;
  }();
  return names;
}

void checkWindow(const korvane::kit::Rig& rig) {
  const std::string& buffer = rig.form.RecvBuf();
  if (buffer.find('#') == std::string::npos) FUZZ_CHECK(buffer.size() <= Form1::kRecvBufLimit);
  for (const auto& [name, text] : rig.panel.texts) {
    FUZZ_CHECK_TEXT(korvane::fuzz::isValidUtf8(text), text);
  }
  for (int shape = 1; shape <= 14; ++shape) {
    const korvane::Colour c = rig.panel.lamps[shape];
    FUZZ_CHECK(c == korvane::kMagenta || c == korvane::kTeal || c == korvane::kGreen);
  }
}

// A chunk length: one byte, or 255 and a second byte for the long runs that test the bound.
std::size_t chunkLength(ByteReader& in) {
  const std::size_t n = in.byte();
  return n < 0xFF ? n : 0xFF + 8 * static_cast<std::size_t>(in.byte());
}

enum Action : std::uint8_t { kNow = 0, kDuringNextYield = 1, kLater = 2, kPress = 3 };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  korvane::kit::Rig rig;
  rig.openPort();
  auto deliver = [&rig](int eventCode, std::string bytes) {
    rig.form.MSComm1_OnComm(eventCode, bytes);
    checkWindow(rig);
  };
  auto press = [&](std::uint8_t choice) {
    rig.form.Click(presses()[choice % presses().size()]);
    checkWindow(rig);
  };

  press(in.byte());
  while (!in.empty()) {
    const std::uint8_t control = in.byte();
    const auto action = static_cast<Action>(control & 3);
    if (action == kPress) {
      press(in.byte());
      continue;
    }
    std::string chunk(in.bytes(chunkLength(in)));
    // Mostly data received; now and then another notification, which must be ignored.
    const int eventCode = (control & 0x80) ? (control >> 2) & 7 : Form1::kReceiveEvent;
    switch (action) {
      case kNow:
        deliver(eventCode, std::move(chunk));
        break;
      case kDuringNextYield:
        rig.loop.at(rig.loop.nowMs, [=] { deliver(eventCode, chunk); });
        break;
      case kLater:
        // Up to 12.75 s ahead: inside the waits of "接続", which asks for every kind in turn.
        rig.loop.after(50.0 * in.byte(), [=] { deliver(eventCode, chunk); });
        break;
      case kPress:
        break;
    }
  }
  rig.loop.drain();
  checkWindow(rig);
  return 0;
}
