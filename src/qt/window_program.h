#pragma once
// The window program once start-up has chosen the window: the tool window, its port, loop and
// handlers wired together, shown, and the event loop run until it ends; the picture runs and
// --control-rects as korvane-settei answers them. Its exit status. A QApplication must exist.
// korvane-settei calls it, and so does any program that drives the very same window.

#include <filesystem>

#include "app/start_up.h"

namespace korvane {

int RunWindowProgram(const Arguments& args, const std::filesystem::path& folder,
                     const std::filesystem::path& portFolder);

}  // namespace korvane
