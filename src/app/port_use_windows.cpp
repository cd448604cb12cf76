#include "app/port_use.h"

namespace korvane {

// Windows opens a COM port for one program at a time and refuses the next with access denied:
// the open itself tells.
PortUse LookBeforeOpening(const std::filesystem::path&) {
  return {};
}

}  // namespace korvane
