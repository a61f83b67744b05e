#include "linux/hotplug_watch.h"

#include <array>
#include <cctype>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace linux_tty {

namespace {

constexpr std::uint32_t kCreated = IN_CREATE | IN_MOVED_TO;
constexpr std::uint32_t kDeleted = IN_DELETE | IN_MOVED_FROM;

} // namespace

bool IsSerialNodeName(std::string_view name)
{
    if (name.starts_with("rfcomm"))
        return true;
    return name.starts_with("tty") && name.size() > 3 && std::isalpha(static_cast<unsigned char>(name[3])) != 0;
}

DeviceNodeWatch::DeviceNodeWatch(const std::filesystem::path& directory, std::function<void(std::uint32_t)> onChange)
    : m_onChange(std::move(onChange)), m_inotifyFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
      m_stopFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (!m_inotifyFd.valid() || !m_stopFd.valid())
        return;
    if (::inotify_add_watch(m_inotifyFd.get(), directory.c_str(), kCreated | kDeleted | IN_ONLYDIR) < 0)
        return;
    m_thread = std::thread([this] { Run(); });
}

DeviceNodeWatch::~DeviceNodeWatch()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_stopFd.get(), &one, sizeof one);
        m_thread.join();
    }
}

void DeviceNodeWatch::Run()
{
    for (;;) {
        std::array<pollfd, 2> fds{{{m_inotifyFd.get(), POLLIN, 0}, {m_stopFd.get(), POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & POLLIN)
            HandleEvents();
    }
}

void DeviceNodeWatch::HandleEvents()
{
    alignas(inotify_event) std::array<char, 8192> buffer{};
    const ssize_t got = ::read(m_inotifyFd.get(), buffer.data(), buffer.size());
    for (ssize_t offset = 0; offset < got;) {
        inotify_event event{};
        std::memcpy(&event, buffer.data() + offset, sizeof event);
        const char* name = buffer.data() + offset + sizeof event;
        offset += static_cast<ssize_t>(sizeof event + event.len);
        if (event.len == 0 || !IsSerialNodeName(name))
            continue;
        if (event.mask & kCreated)
            m_onChange(serial::kDeviceArrived);
        else if (event.mask & kDeleted)
            m_onChange(serial::kDeviceRemoved);
    }
}

} // namespace linux_tty
