#include "window/window_faces.h"

namespace korvane {

Paint ControlBack(const ControlEntry& entry, Highlight highlight, Colour fill) {
  switch (entry.kind) {
    case ControlKind::Lamp:
    case ControlKind::Line:
      if (std::holds_alternative<SystemColour>(entry.back)) return entry.back;
      return fill;
    case ControlKind::Label:
    case ControlKind::Button:
      return kWindowBackground;
    case ControlKind::Field:
    case ControlKind::Combo:
      break;
  }
  if (highlight == Highlight::Now) return kHighlightColour;
  if (highlight == Highlight::Before) return SystemColour::ButtonFace;
  if (std::holds_alternative<Colour>(entry.back)) return entry.back;
  return entry.has(kReadOnly) ? SystemColour::ButtonFace : SystemColour::Default;
}

Paint CaptionColour(const ControlEntry& entry) {
  if (std::holds_alternative<Colour>(entry.fore)) return entry.fore;
  return SystemColour::HighlightText;
}

char ShortcutLetter(StandardKey key) {
  switch (key) {
    case StandardKey::Save:
      return 'S';
    case StandardKey::Open:
      return 'O';
    case StandardKey::Quit:
      return 'Q';
    case StandardKey::None:
      break;
  }
  return '\0';
}

std::string MenuText(const MenuEntry& entry) {
  std::string text(entry.caption);
  if (const char letter = ShortcutLetter(entry.key)) (text += "\tCtrl+") += letter;
  return text;
}

std::vector<std::string_view> CandidateFaces() {
  return {"Meiryo UI", "MS UI Gothic",     "MS PGothic",  "IPAPGothic",
          "IPAGothic", "Noto Sans CJK JP", "Yu Gothic UI"};
}

std::string GlyphsNeeded() {
  std::string all;
  for (const ControlEntry& entry : windowControls()) all += entry.caption;
  for (std::string_view text : {kBusyNotice, kFileMenu}) all += text;
  return all;
}

}  // namespace korvane
