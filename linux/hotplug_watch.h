#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "posix/file_descriptor.h"
#include "serial/device.h"

namespace linux_tty {

// True for the node names serial devices get (ttyUSB0, ttyACM1, ttyS4,
// rfcomm0, ...), false for virtual consoles (tty7) and everything else.
bool IsSerialNodeName(std::string_view name);

// Watches a device directory (normally /dev) for serial device nodes being
// created or deleted, and reports each on a thread of its own.
class DeviceNodeWatch : public serial::HotplugWatch {
public:
    DeviceNodeWatch(const std::filesystem::path& directory, std::function<void(std::uint32_t)> onChange);
    ~DeviceNodeWatch() override;

    DeviceNodeWatch(const DeviceNodeWatch&) = delete;
    DeviceNodeWatch& operator=(const DeviceNodeWatch&) = delete;

    // False when the directory could not be watched; the object is inert then.
    bool IsWatching() const { return m_thread.joinable(); }

private:
    void Run();
    void HandleEvents();

    // Set before the thread starts and closed after it has ended: the thread
    // reads them without a lock, and nothing else touches them meanwhile.
    std::function<void(std::uint32_t)> m_onChange;
    posix::FileDescriptor m_inotifyFd;
    posix::FileDescriptor m_stopFd;
    std::thread m_thread;
};

} // namespace linux_tty
