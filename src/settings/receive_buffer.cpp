#include "settings/receive_buffer.h"

namespace korvane {

void ReceiveBuffer::append(std::string_view bytes) {
  if (skippingNoise_) {
    const std::size_t hash = bytes.find('#');
    if (hash == std::string_view::npos) return;
    skippingNoise_ = false;
    bytes.remove_prefix(hash + 1);  // the "#" that ends the noise goes with it
  }
  text_.append(bytes);
  bound();
}

void ReceiveBuffer::bound() {
  // A full bound of text before the first "#" is noise, whether a "#" follows in the same
  // buffer or not.
  for (;;) {
    const std::size_t hash = text_.find('#');
    if (hash == std::string::npos) {
      if (text_.size() >= kLimit) {
        text_.clear();
        skippingNoise_ = true;
      }
      return;
    }
    if (hash < kLimit) return;
    text_.erase(0, hash + 1);
  }
}

std::optional<std::string> ReceiveBuffer::takeReply() {
  const std::size_t hash = text_.find('#');
  if (hash == std::string::npos) return std::nullopt;
  std::string reply = text_.substr(0, hash);
  text_.erase(0, hash + 1);
  bound();  // what stays is held to the same bound as what arrives
  return reply;
}

}  // namespace korvane
