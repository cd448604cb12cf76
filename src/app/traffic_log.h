#pragma once
// One line of the serial traffic log: the time since start in milliseconds with three decimals,
// what happened, and the bytes (or the device, or the error). Printable ASCII stands as it is;
// every other byte, and the backslash, as \xNN, so that one event is always one line and the
// exact bytes on the wire can be read back from it.
//   "12345.678 sent :GXE1#"   "12345.912 received 400#"   "3.001 opened /dev/ttyUSB0"

#include <chrono>
#include <string>
#include <string_view>

namespace korvane {

std::string TrafficLogLine(std::chrono::nanoseconds sinceStart, std::string_view event,
                           std::string_view bytes = {});

}  // namespace korvane
