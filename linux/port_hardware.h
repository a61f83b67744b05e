#pragma once

#include <string>

#include "linux/port_discovery.h"
#include "serial/device.h"

namespace linux_tty {

// What stands behind a terminal device, from sysfs: the USB device above
// /sys/class/tty/<name>/device with its ids and strings, an on-board UART
// (a device without USB above it), or a pseudo-terminal (a node under
// <dev>/pts). A symbolic link (/dev/serial/by-id/..., a socat link) is
// followed to its terminal first.
serial::PortHardware ReadPortHardware(const DiscoveryRoots& roots, const std::string& devicePath);

// The device's owner group by name when that group may read and write it
// and is not root's; empty otherwise (see serial::DeviceSystem::AccessGroup).
std::string DeviceAccessGroup(const std::string& devicePath);

} // namespace linux_tty
