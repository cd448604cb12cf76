#include "app/port_events.h"

#include <string>

#include "app/form1.h"

namespace korvane {

PortEvents PortEventsFor(Form1& form, EventLoop& loop) {
  return {[&form, &loop](std::string_view bytes) {
            loop.post([&form, chunk = std::string(bytes)] {
              form.MSComm1_OnComm(Form1::kReceiveEvent, chunk);
            });
          },
          [&form, &loop] { loop.post([&form] { form.Port_Lost(); }); }};
}

}  // namespace korvane
