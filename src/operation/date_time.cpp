#include "operation/date_time.h"

#include "protocol/command_set.h"

namespace korvane {

namespace {

// Exactly two digits, whatever the value: the controller reads fixed positions.
std::string twoDigits(int value) {
  const int v = ((value % 100) + 100) % 100;
  return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

}  // namespace

std::string DateCommand(const LocalDateTime& when) {
  return std::string(kDatePrefix) + twoDigits(when.month) + "/" + twoDigits(when.day) + "/" +
         twoDigits(when.year) + "#";
}

std::string TimeCommand(const LocalDateTime& when) {
  return std::string(kTimePrefix) + twoDigits(when.hour) + ":" + twoDigits(when.minute) + ":" +
         twoDigits(when.second) + "#";
}

}  // namespace korvane
