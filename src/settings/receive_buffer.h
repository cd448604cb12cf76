#pragma once
// RecvBuf: the received text waiting for its "#". A reply is short; a run of 1024 bytes without a
// "#" is line noise (a garbled stream, a device that is not our controller). Such a run is thrown
// away, and so is everything after it up to the next "#" — the tail of the noise must not stand in
// front of the next real reply — unless the tool writes a command first: what arrives after a
// command is a reply again.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

class ReceiveBuffer {
 public:
  static constexpr std::size_t kLimit = 1024;  // the port's own input buffer size

  void append(std::string_view bytes);
  // The text before the first "#", if a "#" has come; it leaves the buffer with its "#", and
  // what came after it stays for the next call (two answers can arrive in one read).
  std::optional<std::string> takeReply();
  void commandWritten() { skippingNoise_ = false; }
  // A port opened anew: nothing from before belongs to what will be asked now.
  void clear() {
    text_.clear();
    skippingNoise_ = false;
  }

  const std::string& text() const { return text_; }

 private:
  void bound();

  std::string text_;
  bool skippingNoise_ = false;
};

}  // namespace korvane
