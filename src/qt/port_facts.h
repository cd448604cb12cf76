#pragma once
// What the system knows of the device behind a port number, for its tooltip in the port list.

#include <QHash>
#include <QSerialPortInfo>
#include <QString>
#include <filesystem>
#include <vector>

#include "app/port_tooltip.h"

namespace korvane {

// The serial devices the system lists, by their real path (on Windows \\.\COM3).
QHash<QString, QSerialPortInfo> SerialPortsByPath();

// The ports there are now (PortsPresent): a COMn link in folder, or a device the system lists.
std::vector<int> PortsPresentNow(const std::filesystem::path& folder,
                                 const QHash<QString, QSerialPortInfo>& ports);

// Whether the device is there, where a link leads, and the adapter's description, maker and USB
// ids (listed under the link's target, not the link).
PortFacts PortFactsOf(const std::filesystem::path& device,
                      const QHash<QString, QSerialPortInfo>& ports);

}  // namespace korvane
