#pragma once

#include "linux/port_discovery.h"
#include "serial/device.h"

namespace linux_tty {

// The serial devices of this machine. The roots are parameters so that a
// test can point discovery and hot-plug at a tree of its own.
class LinuxDevices : public serial::DeviceSystem {
public:
    explicit LinuxDevices(DiscoveryRoots roots = {}, UartProbe uartIsFitted = UartIsFitted);

    base::Result<std::unique_ptr<serial::Device>> Open(const std::string& path) override;
    std::vector<std::string> ListPorts(const std::vector<std::string>& extra) override;
    serial::PortHardware DescribeHardware(const std::string& path) override;
    std::string AccessGroup(const std::string& path) override;
    std::unique_ptr<serial::HotplugWatch> WatchHotplug(std::function<void(std::uint32_t)> onChange) override;

private:
    DiscoveryRoots m_roots;
    UartProbe m_uartIsFitted;
};

} // namespace linux_tty
