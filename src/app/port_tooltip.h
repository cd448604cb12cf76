#pragma once
// The tooltip of a port in the list: the device the port number stands for, where a link leads,
// and what the system knows of the adapter behind it, so that a user can tell the mount's cable
// from the modem's.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// What the system reports for a serial device (empty texts and absent ids when it does not know).
struct PortAdapter {
  std::string description;
  std::string manufacturer;
  std::optional<std::uint16_t> vendorId;
  std::optional<std::uint16_t> productId;
};

struct PortFacts {
  std::filesystem::path device;      // what the port number maps to
  std::filesystem::path linkTarget;  // the device a link leads to; empty when not a link
  bool present = false;              // the device (or the link's target) exists
  std::optional<PortAdapter> adapter;
};

// The USB vendor and product ids of a Windows hardware id ("USB\\VID_0403&PID_6001&REV_0600",
// "FTDIBUS\\VID_0403+PID_6001+A5XK3RJTA\\0000"), into adapter; nothing when it names none.
void ReadUsbIds(std::string_view hardwareId, PortAdapter& adapter);

// One line for the device ("/dev/ttyUSB0", "/x/COM1 → /dev/ttyUSB0", "/x/COM4（見つかりません）"),
// then one line with the adapter's description, maker and USB VID:PID, when any is known.
std::string PortTooltip(const PortFacts& facts);

// The tooltip texts of the ports the list shows, asked of the shell each time the list shows, so
// that an adapter plugged in meanwhile shows as it is now.
using PortTexts = std::function<std::vector<std::string>(const std::vector<int>& numbers)>;

// The tooltip of each item the port box lists ("COM3", ...), asked of texts by the port numbers
// the items name (0 for an item that names none); no more tips than items.
std::vector<std::string> PortItemTips(const std::vector<std::string>& items,
                                      const PortTexts& texts);
// The tooltip of the whole box: a line "COM3  /dev/ttyUSB0" for each item that has a tip, the
// lines apart by newline.
std::string PortListTip(const std::vector<std::string>& items, const std::vector<std::string>& tips,
                        std::string_view newline);

}  // namespace korvane
