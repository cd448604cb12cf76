#pragma once
// The preset list of a window whose system reports every step through the open list as a
// selection change (Windows): a preset is loaded, and with the port open written, only for an item
// the owner takes — Enter or a click in the list, or an arrow key with the list closed (each step
// a pick, as a committed pick elsewhere). The arrow keys in the open list only move about it;
// Escape, or a click elsewhere, puts the box back as it was. The system tells the selection change
// before or after the close, so what the close means is decided once the box has said all it had
// to say (Closed, which the window posts to itself on ClosedUp).

#include <string>

namespace korvane {

class PresetListWatch {
 public:
  enum class Event {
    Dropped,           // the list opened; `text` is what the box shows
    SelectedOk,        // the item under the cursor was taken (Enter, a click in the list)
    ClosedUp,          // the list closed
    SelectionChanged,  // the box's item changed (a step in the open list, or a key while closed)
    Closed,            // the window's own note, posted on ClosedUp, has come back
  };
  enum class Action {
    None,
    TellClosed,  // post the note that comes back as Closed
    Take,        // load the item the box has chosen
    PutBack,     // show before() again: nothing was taken
  };
  Action on(Event event, const std::string& text = {});
  const std::string& before() const { return before_; }

 private:
  bool dropped_ = false, closing_ = false, taken_ = false;
  std::string before_;
};

}  // namespace korvane
