#include "sim/responder.h"

#include <algorithm>

namespace korvane::sim {

Response Responder::receive(std::string_view bytes, Millis now) {
  Response r;
  if (hungUp_) return r;
  // One byte at a time, so that nothing after the last command before a hang-up reaches the model.
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (auto& ex : model_.receive(bytes.substr(i, 1), now)) {
      ++commands_;
      // Firmware that says a little more: an acknowledgement of each write, lamps in words.
      std::string reply = ex.reply;
      if (config_.lampWords && ex.twoState) reply = reply == "1#" ? "ON#" : "OFF#";
      if (!config_.answer.empty() && !reply.empty()) reply = config_.answer + "#";
      if (config_.ackWrites && ex.known && reply.empty()) reply = "1#";
      if (!reply.empty()) schedule(reply, now, r.outputs);
      r.exchanges.push_back(std::move(ex));
      if (config_.hangupAfter && commands_ >= *config_.hangupAfter) {
        hungUp_ = true;
        r.hangUpAt = r.outputs.empty() ? now : std::max(now, r.outputs.back().when);
        return r;
      }
    }
  }
  return r;
}

void Responder::schedule(const std::string& reply, Millis now, std::vector<ScheduledOutput>& out) {
  // Answers leave in the order of their queries, one after the other.
  Millis when = std::max(now + (config_.late ? kLateDelay : config_.delay), lineFreeAt_);
  if (config_.floodBytes > 0 && !flooded_) {
    flooded_ = true;
    out.push_back({when, noise(config_.floodBytes)});
  }
  if (config_.silent) return;
  const std::string text = config_.garbage ? noise(reply.size())
                           : config_.modem ? std::string("OK\r\n")
                                           : reply;
  if (config_.splitGap) {
    for (char c : text) {
      out.push_back({when, std::string(1, c)});
      when += *config_.splitGap;
    }
  } else {
    out.push_back({when, text});
  }
  lineFreeAt_ = when;
}

std::string Responder::noise(std::size_t count) {
  std::string text;
  text.reserve(count);
  while (text.size() < count) {
    // xorshift32: any byte value but the reply end "#".
    noiseState_ ^= noiseState_ << 13;
    noiseState_ ^= noiseState_ >> 17;
    noiseState_ ^= noiseState_ << 5;
    const char c = static_cast<char>(noiseState_ & 0xff);
    if (c != '#') text += c;
  }
  return text;
}

}  // namespace korvane::sim
