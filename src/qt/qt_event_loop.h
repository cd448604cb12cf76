#pragma once
// Wait as a nested event loop that sleeps until a precise timer fires: the window, the port's
// notifications and other buttons run meanwhile, and the processor stays idle.

#include <QEventLoop>
#include <vector>

#include "app/seams.h"

namespace korvane {

class QtEventLoop : public EventLoop {
 public:
  void Wait(double ms) override;
  void processEvents() override;
  void post(std::function<void()> fn) override;
  LocalDateTime now() const override;
  void quit() override;

 private:
  QObject context_;  // what is posted goes with the loop
  std::vector<QEventLoop*> running_;
  bool quitting_ = false;
};

}  // namespace korvane
