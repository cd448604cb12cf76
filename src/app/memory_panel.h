#pragma once
// A window with no widgets: the Panel of the command-line modes, which run the same handlers as
// the window on a computer without a display, and of the tests on the virtual clock. It starts as
// the window starts (each field's first text from the window's table, "COM10", green lamps) and
// keeps whatever the handlers set; nothing is shown.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/seams.h"
#include "window/layout.h"

namespace korvane {

class MemoryPanel : public Panel {
 public:
  MemoryPanel();

  std::string text(std::string_view control) const override;
  void setText(std::string_view control, std::string_view value) override;
  // Shape1..Shape14; another number reads as black and takes nothing.
  Colour lamp(int shape) const override;
  void setLamp(int shape, Colour colour) override;
  void setHighlighted(std::string_view control, bool on) override;
  bool isEnabled(std::string_view control) const override;
  void setEnabled(std::string_view control, bool on) override;
  void showBusy(bool shown) override { busy = shown; }
  void addItem(std::string_view control, std::string_view text) override {
    added[std::string(control)].emplace_back(text);
  }

  std::map<std::string, std::string, std::less<>> texts;
  std::array<Colour, kLampCount> lamps;
  std::map<std::string, bool, std::less<>> disabled, highlighted;
  bool busy = false;
  std::map<std::string, std::vector<std::string>, std::less<>> added;  // items added, by control
};

}  // namespace korvane
