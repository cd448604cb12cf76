#pragma once
// The receive side of the port, the same for every adapter. An adapter calls `received` with each
// chunk it reads, in order, and `lost` once when its line fails while open (after closing the
// port itself, so that a dead device cannot flood the event loop); it may call both from inside
// its own notifications. The handlers hear of them only through the event loop:
// - a chunk reaches MSComm1_OnComm from the loop's queue, never from inside the adapter's
//   notification: the receive handler yields, a button's handler started there may wait, and a
//   reply arriving during that wait must reach it (an adapter notifies no more while its own
//   notification runs);
// - a lost line reaches Port_Lost after the close, from the loop, so that its message box may
//   wait for the operator outside the adapter's error notification.

#include <filesystem>
#include <functional>
#include <string_view>

#include "app/seams.h"

namespace korvane {

class Form1;

struct PortEvents {
  std::function<void(std::string_view bytes)> received;
  std::function<void()> lost;
};

// The events of a port whose replies and loss go to `form` through `loop`.
PortEvents PortEventsFor(Form1& form, EventLoop& loop);

// What every serial adapter keeps alike: its number (1 to kHighestPortNumber), the device that
// number opens (deviceFor's), why its last open failed, and where it hands what it receives.
class AdapterPort : public Port {
 public:
  using DeviceFor = std::function<std::filesystem::path(int)>;
  explicit AdapterPort(DeviceFor deviceFor) : deviceFor_(std::move(deviceFor)) {}
  int number() const override { return number_; }
  bool setNumber(int number) override;
  OpenTrouble openTrouble() const override { return openTrouble_; }

  PortEvents events;

 protected:
  DeviceFor deviceFor_;
  OpenTrouble openTrouble_ = OpenTrouble::None;

 private:
  int number_ = 1;
};

}  // namespace korvane
