#pragma once
// A window with no widgets: the Panel of the command-line modes, which run the same handlers as
// the window on a computer without a display. Texts and lamps are kept; nothing is shown.

#include <array>
#include <map>
#include <string>

#include "app/seams.h"

namespace korvane {

class MemoryPanel : public Panel {
 public:
  std::string text(std::string_view control) const override {
    const auto it = texts_.find(control);
    return it == texts_.end() ? std::string() : it->second;
  }
  void setText(std::string_view control, std::string_view value) override {
    texts_.insert_or_assign(std::string(control), std::string(value));
  }
  Colour lamp(int shape) const override { return validShape(shape) ? lamps_[shape] : Colour{}; }
  void setLamp(int shape, Colour colour) override {
    if (validShape(shape)) lamps_[shape] = colour;
  }
  void setHighlighted(std::string_view, bool) override {}
  bool isEnabled(std::string_view) const override { return true; }
  void setEnabled(std::string_view, bool) override {}
  void showBusy(bool) override {}

 private:
  static constexpr int kShapes = 14;
  static bool validShape(int shape) { return shape >= 1 && shape <= kShapes; }
  std::map<std::string, std::string, std::less<>> texts_;
  std::array<Colour, kShapes + 1> lamps_{};
};

}  // namespace korvane
