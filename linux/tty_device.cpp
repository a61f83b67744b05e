#include "linux/tty_device.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/exclusive_open.h"
#include "linux/termios_record.h"
#include "linux/tty_control.h"
#include "serial/character_time.h"

namespace linux_tty {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr std::size_t kChunkSize = 4096;
// How long Release lets queued output leave before discarding the rest.
// While a record waits behind output the driver holds, the thread keeps
// reading and looks again after the time the output needs, within these
// bounds; once the rest needs less than kDrainDirectly it waits in the
// driver's own drain instead.
constexpr milliseconds kDrainPollLongest{50};
constexpr microseconds kDrainDirectly{2000};

bool IsTransient(int error)
{
    return error == EAGAIN || error == EINTR;
}

dev_t DeviceOf(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? info.st_rdev : 0;
}

} // namespace

TtyDevice::TtyDevice(posix::FileDescriptor fd, posix::FileDescriptor wakeFd, std::string path)
    : m_fd(std::move(fd)), m_wakeFd(std::move(wakeFd)), m_lineNeedsTime(!IsPseudoTerminal(m_fd.get())),
      m_path(std::move(path)), m_device(DeviceOf(m_fd.get()))
{
    DCB opened{};
    ReadRecord(m_fd.get(), opened);
    m_output.SetRecordInForce(opened);
    m_characterTime = serial::CharacterTime(opened);
    m_thread = std::thread([this] { Run(); });
}

TtyDevice::~TtyDevice()
{
    Finish(nullptr);
}

void TtyDevice::ApplyFinalRecord(const DCB& record)
{
    ApplyRecord(m_fd.get(), record);
}

// Gives the descriptor back.
void TtyDevice::CloseDevice()
{
    ReleaseExclusive(std::move(m_fd));
    m_wakeFd.Close();
}

std::size_t TtyDevice::DriverPending()
{
    return PendingOutput(m_fd.get());
}

void TtyDevice::AbortDriverIo()
{
    DiscardOutput(m_fd.get()); // also ends a drain the thread may be waiting in
}

// The descriptor is fixed for the device's life; the driver serialises its
// own control calls, so these need not wait for the I/O thread.
base::Status TtyDevice::SetModemLine(serial::ModemLine line, bool raised)
{
    int bit = line == serial::ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    if (::ioctl(m_fd.get(), raised ? TIOCMBIS : TIOCMBIC, &bit) != 0)
        return base::Status::FromErrno({}, errno);
    return base::Status::Ok();
}

base::Status TtyDevice::SetBreak(bool on)
{
    if (::ioctl(m_fd.get(), on ? TIOCSBRK : TIOCCBRK) != 0)
        return base::Status::FromErrno({}, errno);
    return base::Status::Ok();
}

bool TtyDevice::SetState(const DCB& dcb)
{
    if (!RecordIsCarriable(dcb))
        return false;
    return QueueRecord(dcb);
}

bool TtyDevice::GetState(DCB& dcb)
{
    if (Released())
        return false;
    {
        threads::MutexLock lock(m_mutex);
        dcb = m_output.RecordInForce();
    }
    return ReadRecord(m_fd.get(), dcb).ok();
}

bool TtyDevice::IsGone()
{
    {
        threads::MutexLock lock(m_mutex);
        if (m_failed || m_stopping)
            return m_failed;
    }
    if (PathStillLeadsHere())
        return false;
    Fail();
    return true;
}

// False once the path is missing or names another device (an adapter that
// came back as a new device, a bridge's link pointing at a new terminal).
bool TtyDevice::PathStillLeadsHere() const
{
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0)
        return errno != ENOENT && errno != ENOTDIR;
    return info.st_rdev == m_device;
}

void TtyDevice::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(m_wakeFd.get(), &one, sizeof one);
}

void TtyDevice::Run()
{
    for (;;) {
        short events = 0;
        bool recordFirst = false;
        bool failed = false;
        {
            threads::MutexLock lock(m_mutex);
            if (m_stopping)
                return;
            failed = m_failed;
            if (!failed) {
                if (m_input.HasRoom())
                    events |= POLLIN;
                if (!m_output.IsEmpty()) {
                    recordFirst = m_output.FrontRecord() != nullptr;
                    events |= recordFirst ? 0 : POLLOUT;
                }
            }
        }
        int timeout = -1;
        if (recordFirst) {
            const std::size_t pending = PendingOutput(m_fd.get());
            if (m_characterTime * static_cast<long>(pending) < kDrainDirectly) {
                ApplyQueuedRecord();
                continue;
            }
            timeout = DrainPollTimeout(pending);
        }

        std::array<pollfd, 2> fds{{{failed ? -1 : m_fd.get(), events, 0}, {m_wakeFd.get(), POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), timeout) < 0)
            continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t ignored = ::read(m_wakeFd.get(), &count, sizeof count);
        }
        const short device = fds[0].revents;
        if (device & POLLIN)
            ReadAvailable();
        if (device & POLLOUT)
            WriteSome();
        if ((device & (POLLERR | POLLNVAL)) || ((device & POLLHUP) && !(device & POLLIN)))
            Fail();
    }
}

// Milliseconds until all but the last of the driver's pending characters
// should have gone, within the polling bounds.
int TtyDevice::DrainPollTimeout(std::size_t pendingInDriver) const
{
    const auto rest = m_characterTime * static_cast<long>(pendingInDriver - 1);
    const auto ms = std::chrono::duration_cast<milliseconds>(rest);
    return static_cast<int>(std::clamp(ms, milliseconds{1}, kDrainPollLongest).count());
}

void TtyDevice::ReadAvailable()
{
    std::array<std::uint8_t, kChunkSize> chunk{};
    const ssize_t got = ::read(m_fd.get(), chunk.data(), chunk.size());
    if (got > 0) {
        std::function<void()> tell;
        {
            threads::MutexLock lock(m_mutex);
            tell = m_input.Add(chunk.data(), static_cast<std::size_t>(got));
        }
        if (tell)
            tell();
    } else if (got == 0 || !IsTransient(errno)) {
        Fail(); // end of file on a terminal in raw mode means it hung up
    }
}

// The driver is written to with the mutex held (the descriptor does not
// block), so a Release that drops the queue knows the driver has been given
// nothing behind its back.
void TtyDevice::WriteSome()
{
    threads::MutexLock lock(m_mutex);
    if (m_stopping)
        return;
    const serial::OutputQueue::Bytes next = m_output.Next(kChunkSize);
    if (next.size == 0)
        return;
    const ssize_t put = ::write(m_fd.get(), next.data, next.size);
    if (put < 0) {
        if (!IsTransient(errno))
            FailLocked();
        return;
    }
    m_bytesSinceRecord += static_cast<std::size_t>(put);
    if (m_output.Sent(static_cast<std::size_t>(put)))
        m_progress.NotifyAll();
}

// Applies the record at the front once the driver holds no more output.
// The driver's own drain waits for the transmitter to empty (UART and most
// USB-serial drivers); on a real line one character time more covers the
// drivers that report empty while their last character is still on the
// wire. So on a line the bytes before and after a record are spaced by one
// character time plus the thread's wake-up: 1.15 ms at 9600 baud with a
// parity bit (11 bits), 96 us at 115200; on a pseudo-terminal by the
// wake-up alone.
void TtyDevice::ApplyQueuedRecord()
{
    DrainOutput(m_fd.get());
    if (m_lineNeedsTime && m_bytesSinceRecord > 0 && !PauseUntil(Clock::now() + m_characterTime))
        return;
    DCB record;
    {
        threads::MutexLock lock(m_mutex);
        const DCB* front = m_output.FrontRecord();
        if (m_stopping || m_failed || !front)
            return;
        record = *front;
    }
    base::Status applied = ApplyRecord(m_fd.get(), record);
    const bool accepted = applied.ok();
    if (accepted) {
        m_characterTime = serial::CharacterTime(record);
        m_bytesSinceRecord = 0;
    }
    threads::MutexLock lock(m_mutex);
    if (m_output.CompleteRecord(accepted, std::move(applied)))
        m_progress.NotifyAll();
}

} // namespace linux_tty
