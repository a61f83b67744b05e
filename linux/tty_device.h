#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "posix/file_descriptor.h"
#include "serial/device.h"
#include "serial/input_buffer.h"
#include "serial/output_queue.h"
#include "threads/mutex.h"

namespace linux_tty {

// An open terminal device served by a thread of its own. The thread reads
// whatever arrives into a buffer (so Read never waits and nothing is lost
// between polls) and sends queued output, and line-setting changes, strictly
// in the order they were handed over. Nothing the caller does waits on the
// line: writes are queued, settings wait only when nothing is ahead of them.
class TtyDevice : public serial::Device {
public:
    // Takes ownership of a non-blocking descriptor from OpenExclusive, already
    // in raw mode, opened through path (watched to tell when it vanishes),
    // and of wakeFd, a non-blocking eventfd that wakes its I/O thread.
    TtyDevice(posix::FileDescriptor fd, posix::FileDescriptor wakeFd, std::string path);
    ~TtyDevice() override;

    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    bool SetState(const DCB& dcb) override EXCLUDES(m_mutex);
    bool GetState(DCB& dcb) override EXCLUDES(m_mutex);
    bool Write(const std::uint8_t* data, std::size_t count) override EXCLUDES(m_mutex);
    bool WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::size_t count) override EXCLUDES(m_mutex);
    bool WriteFollowing(const std::uint8_t* data, std::size_t count) override EXCLUDES(m_mutex);
    std::size_t OutputRoom() override EXCLUDES(m_mutex);
    std::uint64_t DiscardedOutput() override EXCLUDES(m_mutex);
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override EXCLUDES(m_mutex);
    void Release(const DCB& restore) override EXCLUDES(m_mutex);
    bool IsGone() override EXCLUDES(m_mutex);
    void NotifyArrival(std::function<void()> onArrival) override EXCLUDES(m_mutex);
    void SetArrivalThreshold(std::size_t bytes) override EXCLUDES(m_mutex);

private:
    // Queues count bytes at the start of block (see serial::OutputQueue::Add).
    bool Enqueue(std::shared_ptr<const std::uint8_t[]> block, std::size_t count, bool evenWhenFull) EXCLUDES(m_mutex);
    void Wake();
    void Finish(const DCB* restore) EXCLUDES(m_mutex);
    bool PathStillLeadsHere() const;

    // The I/O thread and its steps.
    void Run() EXCLUDES(m_mutex);
    int DrainPollTimeout(std::size_t pendingInDriver) const;
    void ReadAvailable() EXCLUDES(m_mutex);
    void WriteSome() EXCLUDES(m_mutex);
    void ApplyQueuedRecord() EXCLUDES(m_mutex);
    bool PauseUntil(std::chrono::steady_clock::time_point when) EXCLUDES(m_mutex);
    void Fail() EXCLUDES(m_mutex);
    void FailLocked() REQUIRES(m_mutex);

    // Set before the I/O thread starts and kept until it has ended (Finish
    // gives them back after the join): both threads read them.
    posix::FileDescriptor m_fd;
    posix::FileDescriptor m_wakeFd;
    const bool m_lineNeedsTime;
    const std::string m_path;
    const dev_t m_device;
    bool m_released = false; // caller's thread only

    // Shared between the caller's thread and the I/O thread.
    threads::Mutex m_mutex;
    std::condition_variable m_progress; // output completed, device failed, stopping
    serial::InputBuffer m_input GUARDED_BY(m_mutex);
    // Bytes and records in order; its record in force is the one applied.
    serial::OutputQueue m_output GUARDED_BY(m_mutex);
    bool m_failed GUARDED_BY(m_mutex) = false;
    bool m_stopping GUARDED_BY(m_mutex) = false;

    // Used by the I/O thread only.
    std::chrono::microseconds m_characterTime{0};
    std::size_t m_bytesSinceRecord = 0;

    std::thread m_thread;
};

} // namespace linux_tty
