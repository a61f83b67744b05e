#include "linux/linux_device_system.h"

#include <cerrno>
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

base::Result<std::unique_ptr<serial::Device>> LinuxDevices::Open(const std::string& path)
{
    auto terminal = OpenExclusive(path);
    if (!terminal)
        return terminal.status();
    // Raw before anything reads: in the kernel's cooked mode a received 0x04
    // would read as end of file, which means hang-up.
    if (const base::Status raw = MakeRaw(terminal->get()); !raw) {
        ReleaseExclusive(std::move(*terminal));
        return raw.On(path);
    }
    // Without its wake-up descriptor the I/O thread could not be stopped.
    posix::FileDescriptor wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.valid()) {
        const base::Status failure = base::Status::FromErrno(path, errno);
        ReleaseExclusive(std::move(*terminal));
        return failure;
    }
    return std::unique_ptr<serial::Device>(std::make_unique<TtyDevice>(std::move(*terminal), std::move(wake), path));
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
