#pragma once

#include <string>
#include <vector>

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

// Windows names its serial ports COM1, COM2, ...: the number of such a
// name, the letters in any case ("com5" is how Wine links them), or 0 for
// any other name (also "COM05", which is a different device name).
unsigned ComPortNumber(const std::string& name);

// Sorts port names by their number (COM2 before COM10), others after them
// by name.
void SortComPortNames(std::vector<std::string>& names);

// The ports of a Windows machine from both places they are known: the
// names the registry's SERIALCOMM key lists (whatever a driver calls its
// port) and the system's DOS device names, of which only COMn count (the
// list holds drives, pipes and the rest too). Each port once, COMn spelled
// in capitals, in number order; other names after them.
std::vector<std::string> ComPortUnion(const std::vector<std::string>& registry,
                                      const std::vector<std::string>& dosDevices);

} // namespace serial
