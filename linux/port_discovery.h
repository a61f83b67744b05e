#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace linux_tty {

struct DiscoveryRoots {
    std::filesystem::path ttyClass = "/sys/class/tty"; // one entry per terminal the kernel knows
    std::filesystem::path dev = "/dev";                // where their device nodes are
};

// Asks the device behind a ttyS* node whether a UART answers there; the
// kernel registers a fixed number of these whether or not one is fitted.
using UartProbe = std::function<bool(const std::string& devicePath)>;

// The device paths of the present serial ports, in natural order (ttyS2
// before ttyS10): every terminal with a device behind it (built-in UARTs,
// USB adapters, modems, Bluetooth links) whose node exists, ttyS* only where
// a UART is fitted; then each extra path that exists and is not listed yet.
std::vector<std::string> FindSerialPorts(const DiscoveryRoots& roots, const std::vector<std::string>& extra,
                                         const UartProbe& uartIsFitted);

// The probe for real devices: the UART type the driver reports (TIOCGSERIAL)
// is known. A port that someone holds open counts as fitted.
bool UartIsFitted(const std::string& devicePath);

// Compares names with their digit runs taken as numbers.
bool NaturalLess(const std::string& a, const std::string& b);

} // namespace linux_tty
