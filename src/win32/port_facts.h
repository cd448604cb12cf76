#pragma once
// What Windows knows of its COM ports, for the port list's tooltips: whether each is there, and
// the adapter behind it (Device Manager's name, its maker, its USB ids), from SetupAPI.

#include <map>
#include <vector>

#include "app/port_tooltip.h"

namespace korvane {

// The adapters of the serial ports present now, by port number ("COM7" -> 7).
std::map<int, PortAdapter> SerialAdapters();

PortFacts PortFactsOf(int number, const std::map<int, PortAdapter>& adapters);

// The COM ports the system has now, ascending (PortsPresent).
std::vector<int> PortsPresentNow();

}  // namespace korvane
