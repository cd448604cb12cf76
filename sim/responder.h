// Fault modes on top of the controller model: when and how answers go back on the line, and
// whether the controller hangs up. Pure: the caller passes the time and carries out the schedule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/controller_model.h"

namespace korvane::sim {

// Later than the tool's 400 ms wait for an answer.
inline constexpr Millis kLateDelay{600};
inline constexpr Millis kDefaultDelay{5};

struct FaultConfig {
  Millis delay = kDefaultDelay;      // from the end of a query to its answer
  bool silent = false;               // never answer
  bool late = false;                 // answer after kLateDelay instead of delay
  std::optional<Millis> splitGap{};  // send answers one byte at a time, this far apart
  bool garbage = false;              // send bytes without "#" in place of each answer
  bool modem = false;                // answer "OK\r\n" in place of each answer: another device
  bool ackWrites = false;            // answer "1#" to every known command that is no query
  bool lampWords = false;            // report a lamp pair's state as "ON#" or "OFF#"
  bool keepUnsent = false;           // an answer due after the line closed still goes out
  std::string answer{};              // when set, answer every query with this text and "#"
  std::size_t floodBytes = 0;        // once, before the first answer: this many bytes without "#"
  std::optional<std::uint64_t> hangupAfter{};  // hang up once this many commands were answered
};

struct ScheduledOutput {
  Millis when;
  std::string bytes;
  bool operator==(const ScheduledOutput&) const = default;
};

struct Response {
  std::vector<Exchange> exchanges;       // the commands completed by these bytes
  std::vector<ScheduledOutput> outputs;  // in time order, never earlier than earlier outputs
  std::optional<Millis> hangUpAt;        // close the line once the outputs up to here are sent
};

class Responder {
 public:
  Responder(ControllerModel& model, FaultConfig config) : model_(model), config_(config) {}

  Response receive(std::string_view bytes, Millis now);
  // The other end closed the line: a half-received command is forgotten.
  void lineClosed() { model_.resetLine(); }
  bool hungUp() const { return hungUp_; }

 private:
  void schedule(const std::string& reply, Millis now, std::vector<ScheduledOutput>& out);
  std::string noise(std::size_t count);

  ControllerModel& model_;
  FaultConfig config_;
  Millis lineFreeAt_{0};
  std::uint64_t commands_ = 0;
  bool flooded_ = false;
  bool hungUp_ = false;
  std::uint32_t noiseState_ = 0x2545f491;
};

}  // namespace korvane::sim
