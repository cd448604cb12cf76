#include "protocol/presets.h"

#include <algorithm>

namespace korvane {

const MountPreset* Find_Preset(std::string_view name) {
  auto it = std::find_if(kMountPresets.begin(), kMountPresets.end(),
                         [&](const MountPreset& p) { return p.name == name; });
  return it == kMountPresets.end() ? nullptr : &*it;
}

}  // namespace korvane
