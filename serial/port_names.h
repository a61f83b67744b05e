#pragma once

#include <string>

#include "serial/device.h"

namespace serial {

// The port list shows device paths under /dev without that prefix
// ("ttyUSB0", "pts/7"), so the names fit the list and read as users say
// them; a path elsewhere is shown whole. Opening turns a name back into
// its path.
std::string PortDisplayName(const std::string& devicePath);
std::string PortDevicePath(const std::string& name);

// One line that tells the user what stands behind a port, for the port
// list's tooltip: "FTDI FT232R USB UART (USB 0403:6001), serial number
// A50285BI", "on-board UART", "pseudo-terminal"; empty when unknown.
std::string PortDescription(const PortHardware& hardware);

} // namespace serial
