#include "app/traffic_log.h"

#include <cstdio>

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
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7f && b != '\\') {
      out += c;
    } else {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02x", b);
      out += esc;
    }
  }
  return out;
}

}  // namespace korvane
