#include "linux/tty_device.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "linux/exclusive_open.h"
#include "linux/termios_record.h"
#include "linux/tty_control.h"
#include "serial/character_time.h"

namespace linux_tty {

namespace {

using Clock = std::chrono::steady_clock;

// Received bytes kept for the reader; beyond this the thread stops reading
// and the driver's own flow of back-pressure takes over.
constexpr std::size_t kInputCapacity = 1u << 20;
constexpr std::size_t kChunkSize = 4096;
// How long SetState waits for its record to be applied behind pending output
// before returning; the record is applied in order all the same.
constexpr std::chrono::milliseconds kSettingsWait{1000};
// How long closing waits for queued output before dropping it.
constexpr std::chrono::milliseconds kCloseFlushWait{2000};
// Polling step while the driver still holds output.
constexpr std::chrono::milliseconds kOutputQueueStep{2};
// Allowance for a USB adapter's transfer latency after its buffer emptied.
constexpr std::chrono::milliseconds kAdapterLatency{20};
constexpr int kCharactersOfMargin = 2;

bool IsTransient(int error)
{
    return error == EAGAIN || error == EINTR;
}

} // namespace

TtyDevice::TtyDevice(int fd)
    : m_fd(fd), m_wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_lineNeedsTime(!IsPseudoTerminal(fd))
{
    ReadRecord(m_fd, m_applied);
    m_characterTime = serial::CharacterTime(m_applied);
    m_thread = std::thread([this] { Run(); });
}

TtyDevice::~TtyDevice()
{
    {
        std::unique_lock lock(m_mutex);
        m_progress.wait_for(lock, kCloseFlushWait, [this] { return m_output.empty() || m_failed; });
        m_stopping = true;
    }
    m_progress.notify_all();
    Wake();
    m_thread.join();
    ::close(m_wakeFd);
    ::close(m_fd);
}

bool TtyDevice::SetState(const DCB& dcb)
{
    if (!RecordIsCarriable(dcb))
        return false;
    auto outcome = std::make_shared<RecordOutcome>();
    Outgoing item;
    item.record = dcb;
    item.outcome = outcome;
    if (Enqueue(std::move(item)) == 0)
        return false;

    std::unique_lock lock(m_mutex);
    m_progress.wait_for(lock, kSettingsWait, [&] { return outcome->done || m_failed; });
    if (outcome->done)
        return outcome->accepted;
    // Still behind slow output: it takes effect in order once that has gone.
    return !m_failed;
}

bool TtyDevice::GetState(DCB& dcb)
{
    {
        std::lock_guard lock(m_mutex);
        dcb = m_applied;
    }
    return ReadRecord(m_fd, dcb);
}

bool TtyDevice::Write(const std::uint8_t* data, std::size_t count, std::chrono::milliseconds wait)
{
    if (count == 0) {
        std::lock_guard lock(m_mutex);
        return !m_failed;
    }
    Outgoing item;
    item.bytes.assign(data, data + count);
    const std::uint64_t ticket = Enqueue(std::move(item));
    if (ticket == 0)
        return false;

    std::unique_lock lock(m_mutex);
    m_progress.wait_for(lock, wait, [&] { return m_doneTicket >= ticket || m_failed; });
    return m_doneTicket >= ticket || !m_failed;
}

std::size_t TtyDevice::Read(std::uint8_t* buffer, std::size_t count)
{
    bool wasFull = false;
    std::size_t n = 0;
    {
        std::lock_guard lock(m_mutex);
        wasFull = m_input.size() >= kInputCapacity;
        n = std::min(count, m_input.size());
        std::copy_n(m_input.begin(), n, buffer);
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (wasFull && n > 0)
        Wake();
    return n;
}

std::uint64_t TtyDevice::Enqueue(Outgoing item)
{
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed)
            return 0;
        ticket = m_nextTicket++;
        item.ticket = ticket;
        m_output.push_back(std::move(item));
    }
    Wake();
    return ticket;
}

void TtyDevice::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(m_wakeFd, &one, sizeof one);
}

void TtyDevice::Run()
{
    for (;;) {
        short events = 0;
        bool recordFirst = false;
        bool failed = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            failed = m_failed;
            if (!failed) {
                if (m_input.size() < kInputCapacity)
                    events |= POLLIN;
                if (!m_output.empty()) {
                    recordFirst = m_output.front().record.has_value();
                    events |= recordFirst ? 0 : POLLOUT;
                }
            }
        }
        if (recordFirst) {
            ApplyQueuedRecord();
            continue;
        }

        std::array<pollfd, 2> fds{{{failed ? -1 : m_fd, events, 0}, {m_wakeFd, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t ignored = ::read(m_wakeFd, &count, sizeof count);
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

void TtyDevice::ReadAvailable()
{
    std::array<std::uint8_t, kChunkSize> chunk{};
    const ssize_t got = ::read(m_fd, chunk.data(), chunk.size());
    if (got > 0) {
        std::lock_guard lock(m_mutex);
        m_input.insert(m_input.end(), chunk.begin(), chunk.begin() + got);
    } else if (got == 0 || !IsTransient(errno)) {
        Fail(); // end of file on a terminal means it hung up
    }
}

void TtyDevice::WriteSome()
{
    const std::uint8_t* from = nullptr;
    std::size_t left = 0;
    {
        // Only this thread removes items, so the front stays put unlocked.
        std::lock_guard lock(m_mutex);
        if (m_output.empty() || m_output.front().record)
            return;
        const Outgoing& front = m_output.front();
        from = front.bytes.data() + front.sent;
        left = front.bytes.size() - front.sent;
    }
    const ssize_t put = ::write(m_fd, from, left);
    if (put < 0) {
        if (!IsTransient(errno))
            Fail();
        return;
    }
    const auto written = static_cast<std::size_t>(put);
    m_lineBusyUntil = std::max(m_lineBusyUntil, Clock::now()) + m_characterTime * static_cast<long>(written);
    m_bytesSinceRecord += written;

    std::lock_guard lock(m_mutex);
    Outgoing& front = m_output.front();
    front.sent += written;
    if (front.sent == front.bytes.size())
        CompleteFront();
}

void TtyDevice::ApplyQueuedRecord()
{
    WaitForLineToEmpty();
    DCB record;
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || m_failed)
            return;
        record = *m_output.front().record;
    }
    const bool accepted = ApplyRecord(m_fd, record);
    if (accepted) {
        m_characterTime = serial::CharacterTime(record);
        m_bytesSinceRecord = 0;
    }
    std::lock_guard lock(m_mutex);
    if (accepted)
        m_applied = record;
    m_output.front().outcome->accepted = accepted;
    m_output.front().outcome->done = true;
    CompleteFront();
}

// Returns once the bytes handed over before have left the line: the driver's
// queue is empty, and on a real line the last characters have also had their
// time (a USB adapter keeps bytes of its own after the driver's queue empties).
void TtyDevice::WaitForLineToEmpty()
{
    while (PendingOutput(m_fd) > 0)
        if (!PauseUntil(Clock::now() + kOutputQueueStep))
            return;
    if (!m_lineNeedsTime || m_bytesSinceRecord == 0)
        return;
    const auto margin = m_characterTime * kCharactersOfMargin + kAdapterLatency;
    PauseUntil(std::max(m_lineBusyUntil, Clock::now()) + margin);
}

// Sleeps until when; false when the device is stopping or has failed.
bool TtyDevice::PauseUntil(Clock::time_point when)
{
    std::unique_lock lock(m_mutex);
    return !m_progress.wait_until(lock, when, [this] { return m_stopping || m_failed; });
}

// With the mutex held: the front item is finished.
void TtyDevice::CompleteFront()
{
    m_doneTicket = m_output.front().ticket;
    m_output.pop_front();
    m_progress.notify_all();
}

void TtyDevice::Fail()
{
    std::lock_guard lock(m_mutex);
    m_failed = true;
    for (Outgoing& item : m_output)
        if (item.outcome)
            item.outcome->done = true;
    m_output.clear();
    m_progress.notify_all();
}

} // namespace linux_tty
