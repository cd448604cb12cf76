#include "app/port_tooltip.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/port_names.h"

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

void ReadUsbIds(std::string_view hardwareId, PortAdapter& adapter) {
  const auto idAfter = [&](std::string_view key) -> std::optional<std::uint16_t> {
    std::string upper(hardwareId);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::size_t at = upper.find(key);
    if (at == std::string::npos || at + key.size() + 4 > upper.size()) return std::nullopt;
    unsigned value = 0;
    for (char c : upper.substr(at + key.size(), 4)) {
      const char* digits = "0123456789ABCDEF";
      const char* d = std::strchr(digits, c);
      if (c == '\0' || d == nullptr) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(d - digits);
    }
    return static_cast<std::uint16_t>(value);
  };
  const auto vendor = idAfter("VID_"), product = idAfter("PID_");
  if (!vendor || !product) return;
  adapter.vendorId = vendor;
  adapter.productId = product;
}

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

std::vector<std::string> PortItemTips(const std::vector<std::string>& items,
                                      const PortTexts& texts) {
  std::vector<int> numbers;
  for (const std::string& item : items) numbers.push_back(ComNumber(item, kHighestPortNumber));
  std::vector<std::string> tips = texts(numbers);
  if (tips.size() > items.size()) tips.resize(items.size());
  return tips;
}

std::string PortListTip(const std::vector<std::string>& items, const std::vector<std::string>& tips,
                        std::string_view newline) {
  std::string text;
  for (std::size_t i = 0; i < items.size() && i < tips.size(); ++i)
    (text += items[i] + "  " + tips[i]) += i + 1 < items.size() ? newline : "";
  return text;
}

}  // namespace korvane
