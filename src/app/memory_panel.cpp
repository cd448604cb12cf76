#include "app/memory_panel.h"

#include "protocol/controls.h"

namespace korvane {

MemoryPanel::MemoryPanel() {
  for (const ControlEntry& entry : windowControls()) {
    if (entry.kind == ControlKind::Field && !entry.caption.empty())
      texts.emplace(entry.name, entry.caption);
    if (entry.kind == ControlKind::Lamp && entry.name.starts_with("Shape")) {
      const int shape = std::stoi(std::string(entry.name.substr(5)));
      if (shape >= 1 && shape <= kLampCount) lamps[shape - 1] = std::get<Colour>(entry.back);
    }
  }
  for (const char* combo : {kCombo1, kCombo2, kCombo3}) {
    if (!ComboFirstText(combo).empty()) texts.emplace(combo, ComboFirstText(combo));
  }
}

std::string MemoryPanel::text(std::string_view control) const {
  const auto it = texts.find(control);
  return it == texts.end() ? std::string() : it->second;
}

void MemoryPanel::setText(std::string_view control, std::string_view value) {
  texts.insert_or_assign(std::string(control), std::string(value));
}

Colour MemoryPanel::lamp(int shape) const {
  return shape >= 1 && shape <= kLampCount ? lamps[shape - 1] : Colour{};
}

void MemoryPanel::setLamp(int shape, Colour colour) {
  if (shape >= 1 && shape <= kLampCount) lamps[shape - 1] = colour;
}

void MemoryPanel::setHighlighted(std::string_view control, bool on) {
  highlighted.insert_or_assign(std::string(control), on);
}

bool MemoryPanel::isEnabled(std::string_view control) const {
  const auto it = disabled.find(control);
  return it == disabled.end() || !it->second;
}

void MemoryPanel::setEnabled(std::string_view control, bool on) {
  disabled.insert_or_assign(std::string(control), !on);
}

}  // namespace korvane
