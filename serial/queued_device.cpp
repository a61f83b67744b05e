#include "serial/queued_device.h"

#include <utility>

namespace serial {

QueuedDevice::QueuedDevice() : m_input(kInputCapacity)
{
}

bool QueuedDevice::Write(const std::uint8_t* data, std::size_t count)
{
    return Enqueue(OutputQueue::CopyOf(data, count), count, false);
}

bool QueuedDevice::WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::size_t count)
{
    return Enqueue(std::move(block), count, false);
}

bool QueuedDevice::WriteFollowing(const std::uint8_t* data, std::size_t count)
{
    return Enqueue(OutputQueue::CopyOf(data, count), count, true);
}

bool QueuedDevice::Enqueue(std::shared_ptr<const std::uint8_t[]> block, std::size_t count, bool evenWhenFull)
{
    {
        threads::MutexLock lock(m_mutex);
        if (m_failed || m_stopping || !m_output.Add(std::move(block), count, evenWhenFull))
            return false;
    }
    Wake();
    return true;
}

std::size_t QueuedDevice::OutputRoom()
{
    threads::MutexLock lock(m_mutex);
    if (m_failed || m_stopping)
        return 0;
    return m_output.Room();
}

std::uint64_t QueuedDevice::DiscardedOutput()
{
    threads::MutexLock lock(m_mutex);
    return m_output.Discarded();
}

std::size_t QueuedDevice::Read(std::uint8_t* buffer, std::size_t count)
{
    InputBuffer::Taken taken;
    {
        threads::MutexLock lock(m_mutex);
        taken = m_input.Read(buffer, count);
    }
    if (taken.fromFull)
        Wake();
    return taken.count;
}

void QueuedDevice::NotifyArrival(std::function<void()> onArrival)
{
    threads::MutexLock lock(m_mutex);
    m_input.NotifyArrival(std::move(onArrival));
}

void QueuedDevice::SetArrivalThreshold(std::size_t bytes)
{
    std::function<void()> tell;
    {
        threads::MutexLock lock(m_mutex);
        tell = m_input.SetArrivalThreshold(bytes);
    }
    if (tell)
        tell();
}

bool QueuedDevice::QueueRecord(const DCB& dcb)
{
    std::shared_ptr<const OutputQueue::RecordOutcome> outcome;
    bool behindOutput = false;
    {
        threads::MutexLock lock(m_mutex);
        if (m_failed || m_stopping)
            return false;
        m_refusal = {};
        behindOutput = !m_output.IsEmpty();
        outcome = m_output.AddRecord(dcb);
    }
    Wake();
    if (behindOutput)
        return true;

    threads::MutexLock lock(m_mutex);
    const auto deadline = std::chrono::steady_clock::now() + kSettingsWait;
    while (!outcome->done && !m_failed && m_progress.WaitUntil(lock, deadline)) {
    }
    if (outcome->done && !outcome->accepted)
        m_refusal = outcome->refusal;
    if (outcome->done)
        return outcome->accepted;
    return !m_failed;
}

void QueuedDevice::Fail()
{
    threads::MutexLock lock(m_mutex);
    FailLocked();
}

void QueuedDevice::FailLocked()
{
    m_failed = true;
    m_output.DiscardAll();
    m_progress.NotifyAll();
}

bool QueuedDevice::StopIo()
{
    const auto deadline = std::chrono::steady_clock::now() + kCloseDrainWait;
    bool failed = false;
    {
        threads::MutexLock lock(m_mutex);
        while (!m_output.IsEmpty() && !m_failed && m_progress.WaitUntil(lock, deadline)) {
        }
        failed = m_failed;
    }
    while (!failed && std::chrono::steady_clock::now() < deadline && DriverPending() > 0)
        std::this_thread::sleep_for(kCloseDrainStep);
    {
        // The thread gives the driver nothing once it sees m_stopping, so
        // what the driver holds now is all it will ever have been given.
        threads::MutexLock lock(m_mutex);
        m_stopping = true;
        failed = m_failed;
        if (!failed)
            m_output.CountDiscarded(DriverPending());
        AbortDriverIo();
    }
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    threads::MutexLock lock(m_mutex);
    m_output.DiscardAll();
    return failed;
}

bool QueuedDevice::PauseUntil(std::chrono::steady_clock::time_point when)
{
    threads::MutexLock lock(m_mutex);
    while (!m_stopping && !m_failed && m_progress.WaitUntil(lock, when)) {
    }
    return !m_stopping && !m_failed;
}

base::Status QueuedDevice::LastRefusal()
{
    threads::MutexLock lock(m_mutex);
    return m_refusal;
}

void QueuedDevice::Release(const DCB& restore)
{
    Finish(&restore);
}

void QueuedDevice::Finish(const DCB* restore)
{
    if (m_released)
        return;
    m_released = true;
    const bool failed = StopIo();
    if (restore && !failed)
        ApplyFinalRecord(*restore);
    CloseDevice();
}

} // namespace serial
