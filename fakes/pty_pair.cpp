#include "fakes/pty_pair.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace fakes {

PtyPair::PtyPair()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal available");
    std::array<char, 128> name{};
    if (::ptsname_r(m_master, name.data(), name.size()) != 0)
        throw std::runtime_error("pseudo-terminal without a name");
    m_slavePath = name.data();
}

PtyPair::~PtyPair()
{
    if (m_master >= 0)
        ::close(m_master);
}

void PtyPair::CloseFarEnd()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PtyPair::SendFromFarEnd(const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno != EINTR)
            throw std::runtime_error("pseudo-terminal write failed");
        if (put > 0)
            done += static_cast<std::size_t>(put);
    }
}

std::vector<std::uint8_t> PtyPair::ReceiveAtFarEnd(std::size_t count, std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0 || !(fd.revents & POLLIN))
            continue;
        std::vector<std::uint8_t> chunk(count - bytes.size());
        const ssize_t got = ::read(m_master, chunk.data(), chunk.size());
        if (got > 0)
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
    return bytes;
}

} // namespace fakes
