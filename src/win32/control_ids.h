#pragma once
// The Win32 id of a control: its index in the window's table, after the menu's ids.

namespace korvane {

inline constexpr int kFirstControlId = 100;  // control i of windowControls() is 100 + i

}  // namespace korvane
