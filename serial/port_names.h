#pragma once

#include <string>

namespace serial {

// The port list shows device paths under /dev without that prefix
// ("ttyUSB0", "pts/7"), so the names fit the list and read as users say
// them; a path elsewhere is shown whole. Opening turns a name back into
// its path.
std::string PortDisplayName(const std::string& devicePath);
std::string PortDevicePath(const std::string& name);

} // namespace serial
