#include "app/port_events.h"

#include <string>

#include "app/form1.h"
#include "app/port_names.h"

namespace korvane {

PortEvents PortEventsFor(Form1& form, EventLoop& loop) {
  return {[&form, &loop](std::string_view bytes) {
            loop.post([&form, chunk = std::string(bytes)] {
              form.MSComm1_OnComm(Form1::kReceiveEvent, chunk);
            });
          },
          [&form, &loop] { loop.post([&form] { form.Port_Lost(); }); }};
}

bool AdapterPort::setNumber(int number) {
  if (number < 1 || number > kHighestPortNumber) return false;
  number_ = number;
  return true;
}

}  // namespace korvane
