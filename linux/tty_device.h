#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "posix/file_descriptor.h"
#include "serial/device.h"
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
    // Written by the I/O thread and read by SetState, both with m_mutex held.
    struct RecordOutcome {
        bool done = false;
        bool accepted = false;
    };
    // One piece of the ordered output: bytes to send, or a record to apply
    // once everything before it has left the line.
    struct Outgoing {
        std::shared_ptr<const std::uint8_t[]> block; // keeps bytes alive
        const std::uint8_t* bytes = nullptr;
        std::size_t size = 0;
        std::size_t sent = 0;
        std::optional<DCB> record;
        std::shared_ptr<RecordOutcome> outcome;
    };

    // The most output the queue takes.
    std::size_t QueueLimit() const REQUIRES(m_mutex);
    // Queues count bytes at data, kept alive by block; evenWhenFull for the
    // rest of a frame whose start was just taken.
    bool Enqueue(std::shared_ptr<const std::uint8_t[]> block, const std::uint8_t* data, std::size_t count,
                 bool evenWhenFull) EXCLUDES(m_mutex);
    void Wake();
    void Finish(const DCB* restore) EXCLUDES(m_mutex);
    bool PathStillLeadsHere() const;

    // The I/O thread and its steps.
    void Run() EXCLUDES(m_mutex);
    int DrainPollTimeout(std::size_t pendingInDriver) const;
    void ReadAvailable() EXCLUDES(m_mutex);
    // The arrival function to call now, if it is due; disarms it.
    std::function<void()> TakeDueArrival() REQUIRES(m_mutex);
    void WriteSome() EXCLUDES(m_mutex);
    void ApplyQueuedRecord() EXCLUDES(m_mutex);
    bool PauseUntil(std::chrono::steady_clock::time_point when) EXCLUDES(m_mutex);
    void Fail() EXCLUDES(m_mutex);
    void FailLocked() REQUIRES(m_mutex);
    void DropOutput() REQUIRES(m_mutex);

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
    std::deque<std::uint8_t> m_input GUARDED_BY(m_mutex);
    std::function<void()> m_onArrival GUARDED_BY(m_mutex);
    bool m_arrivalArmed GUARDED_BY(m_mutex) = true;         // set by Read, cleared when m_onArrival is called
    std::size_t m_arrivalThreshold GUARDED_BY(m_mutex) = 1; // unread bytes that call m_onArrival
    std::deque<Outgoing> m_output GUARDED_BY(m_mutex);      // the outcomes they point to too

    std::size_t m_queuedBytes GUARDED_BY(m_mutex) = 0; // bytes in m_output not yet handed to the driver
    std::uint64_t m_discarded GUARDED_BY(m_mutex) = 0; // bytes taken by Write that never left
    bool m_failed GUARDED_BY(m_mutex) = false;
    bool m_stopping GUARDED_BY(m_mutex) = false;
    DCB m_applied GUARDED_BY(m_mutex){};

    // Used by the I/O thread only.
    std::chrono::microseconds m_characterTime{0};
    std::size_t m_bytesSinceRecord = 0;

    std::thread m_thread;
};

} // namespace linux_tty
