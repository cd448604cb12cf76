// Received bytes under any ReplyKind, through the receive handler and the reply dispatch, on the
// virtual clock. The input presses a button first (which sets ReplyKind), then gives a stream of
// actions: a notification now, one that arrives during the next yield (nested inside the
// handler), one at a later time (inside a button's waits), or another press. Whatever arrives,
// the buffer stays bounded, every field holds valid UTF-8 (as the tool's repair, checked in the
// unit tests, leaves it) and every lamp shows one of its colours.

#include <stdexcept>

#include "fuzz/fuzz_support.h"
#include "kit/virtual_kit.h"
#include "protocol/utf8.h"

namespace {

using korvane::Form1;

void check(const korvane::kit::Rig& rig) {
  const std::string& buffer = rig.form.RecvBuf();
  FUZZ_CHECK(buffer.find('#') != buffer.npos || buffer.size() <= Form1::kRecvBufLimit, buffer);
  for (const auto& [name, text] : rig.panel.texts) {
    FUZZ_CHECK(korvane::ValidUtf8(text) == text, text);
  }
  for (korvane::Colour c : rig.panel.lamps) {
    FUZZ_CHECK(c == korvane::kMagenta || c == korvane::kTeal || c == korvane::kGreen, "");
  }
}

// Every button that sets ReplyKind or moves fields and lamps, out-of-range indices included;
// not "USERﾌﾟﾘｾｯﾄ保存", which only adds disk writes.
std::string button(int n) {
  n %= 77;
  if (n < 18) return "Command5(" + std::to_string(n - 1) + ")";
  if (n < 41) return "Command6(" + std::to_string(n - 19) + ")";
  return "Command" + std::to_string(n - 40 < 28 ? n - 40 : n - 39);
}

// A name that is no button is refused loudly (no shell sends one) and changes nothing.
void press(korvane::kit::Rig& rig, int n) {
  try {
    rig.press(button(n));
  } catch (const std::invalid_argument&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::ByteReader in(data, size);
  korvane::kit::Rig rig;
  rig.answerMs = -1;  // the input speaks for the controller
  rig.open();
  press(rig, in.byte());
  auto deliver = [&rig](int event, const std::string& bytes) {
    rig.form.MSComm1_OnComm(event, bytes);
    check(rig);
  };
  while (!in.empty()) {
    const std::uint8_t control = in.byte();
    if ((control & 3) == 3) {
      press(rig, in.byte());
      check(rig);
      continue;
    }
    std::size_t length = in.byte();  // 255 and one more byte for the long runs of the bound
    if (length == 0xFF) length += 8 * std::size_t{in.byte()};
    const std::string chunk(in.take(length));
    // Mostly data received; now and then another notification, which must be ignored.
    const int event = (control & 0x80) ? (control >> 2) & 7 : Form1::kReceiveEvent;
    if ((control & 3) == 0) {
      deliver(event, chunk);
    } else {  // during the next yield, or up to 12.75 s ahead: inside the waits of "接続"
      const double later = (control & 3) == 2 ? 50.0 * in.byte() : 0;
      rig.loop.after(later, [=] { deliver(event, chunk); });
    }
  }
  rig.loop.drain();
  check(rig);
  return 0;
}
