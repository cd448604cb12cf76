#include "app/port_tooltip.h"

#include <cstdio>
#include <vector>

namespace korvane {

namespace {
constexpr const char* kArrow = " → ";
constexpr const char* kAbsent = "（見つかりません）";

std::string hex4(std::uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", id);
  return text;
}
}  // namespace

std::string PortTooltip(const PortFacts& facts) {
  std::string out = facts.device.string();
  if (!facts.linkTarget.empty()) out += kArrow + facts.linkTarget.string();
  if (!facts.present) return out + kAbsent;
  if (!facts.adapter) return out;

  const PortAdapter& a = *facts.adapter;
  std::vector<std::string> parts;
  if (!a.description.empty()) parts.push_back(a.description);
  // Some drivers report the maker as the description too; once is enough.
  if (!a.manufacturer.empty() && a.manufacturer != a.description) {
    parts.push_back(a.manufacturer);
  }
  if (a.vendorId && a.productId)
    parts.push_back("USB " + hex4(*a.vendorId) + ":" + hex4(*a.productId));
  if (parts.empty()) return out;
  out += "\n";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += ", ";
    out += parts[i];
  }
  return out;
}

}  // namespace korvane
