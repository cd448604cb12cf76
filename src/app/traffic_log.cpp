#include "app/traffic_log.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/console_output.h"
#include "protocol/catalogue.h"
#include "protocol/utf8.h"

namespace korvane {

std::string TrafficLogLine(std::chrono::nanoseconds sinceStart, std::string_view event,
                           std::string_view bytes) {
  const long long us = std::chrono::duration_cast<std::chrono::microseconds>(sinceStart).count();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%lld.%03lld", us / 1000, us % 1000);
  std::string out = stamp;
  out += ' ';
  out += event;
  if (bytes.empty()) return out;
  out += ' ';
  return out + Escaped(bytes, true);
}

bool TrafficLogWanted(std::string_view rules) {
  bool wanted = false;
  while (!rules.empty()) {
    const std::size_t end = std::min(rules.find_first_of(";\n"), rules.size());
    std::string_view rule = rules.substr(0, end);
    rules.remove_prefix(std::min(end + 1, rules.size()));
    const auto trim = [](std::string_view t) {
      while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
      while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r'))
        t.remove_suffix(1);
      return t;
    };
    const std::size_t equals = rule.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view category = trim(rule.substr(0, equals));
    const std::string_view value = trim(rule.substr(equals + 1));
    if (category != "korvane.serial.debug" && category != "korvane.serial") continue;
    if (value == "true") wanted = true;
    if (value == "false") wanted = false;
  }
  return wanted;
}

namespace {
// An answer later than this is taken for one that never comes.
constexpr double kAnswerGivenUpMs = 2000;
// The length of a password write's prefix (":Sq"), nothing for any other command.
std::optional<std::size_t> passwordWritePrefix(std::string_view command) {
  for (const int field : kPasswordFields) {
    const std::string_view prefix = setRowByField(field)->prefix;
    if (command.starts_with(prefix) && command.ends_with('#')) return prefix.size();
  }
  return std::nullopt;
}
bool isPasswordQuery(std::string_view command) {
  return std::ranges::any_of(
      kPasswordFields, [command](int field) { return command == settingByField(field)->query; });
}
bool isQuery(std::string_view command) {
  return std::ranges::any_of(
      kSettings, [command](const Setting& s) { return !s.query.empty() && command == s.query; });
}
}  // namespace

void TrafficMask::forgetUnanswered(double ms) {
  while (!awaited_.empty() && ms - awaited_.front().sentMs > kAnswerGivenUpMs) {
    awaited_.pop_front();
  }
}

std::string TrafficMask::sent(std::string_view command, double ms) {
  forgetUnanswered(ms);
  if (isQuery(command)) {
    const bool secret = isPasswordQuery(command);
    awaited_.push_back({ms, secret});
    if (secret) lastSecretQueryMs_ = ms;
  }
  if (const auto prefix = passwordWritePrefix(command)) {
    return std::string(command.substr(0, *prefix)) + std::string(kMasked) + "#";
  }
  return std::string(command);
}

std::string TrafficMask::received(std::string_view bytes, double ms) {
  forgetUnanswered(ms);
  std::string out;
  while (!bytes.empty()) {
    if (!answerSecret_) {
      // A new answer: the oldest query still awaited is the one it answers. One that no query
      // accounts for is masked all the same shortly after a password was asked for.
      answerSecret_ = awaited_.empty() ? ms - lastSecretQueryMs_ <= 2 * kAnswerGivenUpMs
                                       : awaited_.front().secret;
    }
    const std::size_t hash = bytes.find('#');
    const std::string_view piece = bytes.substr(0, hash);
    out += *answerSecret_ && !piece.empty() ? kMasked : piece;
    if (hash == std::string_view::npos) break;
    out += '#';
    bytes.remove_prefix(hash + 1);
    answerSecret_.reset();
    if (!awaited_.empty()) awaited_.pop_front();
  }
  return out;
}

}  // namespace korvane

namespace korvane {

TrafficLog::TrafficLog(std::function<bool()> on, Sink sink)
    : on_(std::move(on)), sink_(std::move(sink)) {}

TrafficLog StandardErrorTrafficLog() {
  const char* rules = std::getenv("QT_LOGGING_RULES");
  return TrafficLog([on = rules != nullptr && TrafficLogWanted(rules)] { return on; },
                    [](const std::string& line) {
                      Print(stderr,
                            "korvane.serial: " + line + "\n");  // a Japanese SSID as written
                    });
}

std::chrono::nanoseconds TrafficLog::sinceStart() const {
  return std::chrono::steady_clock::now() - start_;
}

void TrafficLog::line(std::string_view event, std::string_view bytes) {
  if (on_()) sink_(TrafficLogLine(sinceStart(), event, bytes));
}

void TrafficLog::openFailed(std::string_view device, std::string_view why) {
  line("open failed", std::string(device) + ": " + std::string(why));
}

// The mask follows every query, logged or not, so that a log turned on meanwhile still knows
// which answer is a password.
void TrafficLog::sent(std::string_view bytes) {
  const double ms = std::chrono::duration<double, std::milli>(sinceStart()).count();
  line("sent", mask_.sent(bytes, ms));  // no password in the log
}

void TrafficLog::received(std::string_view bytes) {
  const double ms = std::chrono::duration<double, std::milli>(sinceStart()).count();
  line("received", mask_.received(bytes, ms));
}

}  // namespace korvane
