#include "linux/linux_device_system.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/eventfd.h>

#include "linux/exclusive_open.h"
#include "linux/hotplug_watch.h"
#include "linux/port_hardware.h"
#include "linux/tty_control.h"
#include "linux/tty_device.h"

namespace linux_tty {

LinuxDevices::LinuxDevices(DiscoveryRoots roots, UartProbe uartIsFitted)
    : m_roots(std::move(roots)), m_uartIsFitted(std::move(uartIsFitted))
{
}

std::unique_ptr<serial::Device> LinuxDevices::Open(const std::string& path, int& error)
{
    const int fd = OpenExclusive(path, error);
    if (fd < 0)
        return nullptr;
    // Raw before anything reads: in the kernel's cooked mode a received 0x04
    // would read as end of file, which means hang-up.
    if (!MakeRaw(fd)) {
        error = errno;
        ReleaseExclusive(fd);
        return nullptr;
    }
    // Without its wake-up descriptor the I/O thread could not be stopped.
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        error = errno;
        ReleaseExclusive(fd);
        return nullptr;
    }
    return std::make_unique<TtyDevice>(fd, wakeFd, path);
}

std::string LinuxDevices::ErrorText(int error)
{
    std::array<char, 256> buffer{};
    // The GNU variant returns the text, in buffer or a static string.
    return ::strerror_r(error, buffer.data(), buffer.size());
}

std::vector<std::string> LinuxDevices::ListPorts(const std::vector<std::string>& extra)
{
    return FindSerialPorts(m_roots, extra, m_uartIsFitted);
}

serial::PortHardware LinuxDevices::DescribeHardware(const std::string& path)
{
    return ReadPortHardware(m_roots, path);
}

std::string LinuxDevices::AccessGroup(const std::string& path)
{
    return DeviceAccessGroup(path);
}

std::unique_ptr<serial::HotplugWatch> LinuxDevices::WatchHotplug(std::function<void(std::uint32_t)> onChange)
{
    return std::make_unique<DeviceNodeWatch>(m_roots.dev, std::move(onChange));
}

} // namespace linux_tty

namespace serial {

DeviceSystem& LinuxDeviceSystem()
{
    static linux_tty::LinuxDevices devices;
    return devices;
}

} // namespace serial
