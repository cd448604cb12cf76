#include "app/preset_list.h"

namespace korvane {

PresetListWatch::Action PresetListWatch::on(Event event, const std::string& text) {
  switch (event) {
    case Event::Dropped:
      dropped_ = true;
      taken_ = false;
      before_ = text;
      return Action::None;
    case Event::SelectedOk:
      if (dropped_) taken_ = true;
      return Action::None;
    case Event::ClosedUp:
      if (!dropped_) return Action::None;
      dropped_ = false;
      closing_ = true;
      return Action::TellClosed;
    case Event::SelectionChanged:
      return dropped_ || closing_ ? Action::None : Action::Take;
    case Event::Closed:
      closing_ = false;
      if (!taken_) return Action::PutBack;
      taken_ = false;
      return Action::Take;
  }
  return Action::None;
}

}  // namespace korvane
