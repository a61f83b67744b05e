#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "serial/device.h"

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
    TtyDevice(int fd, int wakeFd, std::string path);
    ~TtyDevice() override;

    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    bool SetState(const DCB& dcb) override;
    bool GetState(DCB& dcb) override;
    bool Write(const std::uint8_t* data, std::size_t count) override;
    bool WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::size_t count) override;
    bool WriteFollowing(const std::uint8_t* data, std::size_t count) override;
    std::size_t OutputRoom() override;
    std::uint64_t DiscardedOutput() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    void Release(const DCB& restore) override;
    bool IsGone() override;
    void NotifyArrival(std::function<void()> onArrival) override;

private:
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

    // With the mutex held: the most output the queue takes.
    std::size_t QueueLimit() const;
    // Queues count bytes at data, kept alive by block; evenWhenFull for the
    // rest of a frame whose start was just taken.
    bool Enqueue(std::shared_ptr<const std::uint8_t[]> block, const std::uint8_t* data, std::size_t count,
                 bool evenWhenFull);
    void Wake();
    void Finish(const DCB* restore);
    bool PathStillLeadsHere() const;

    // The I/O thread and its steps.
    void Run();
    int DrainPollTimeout(std::size_t pendingInDriver) const;
    void ReadAvailable();
    void WriteSome();
    void ApplyQueuedRecord();
    bool PauseUntil(std::chrono::steady_clock::time_point when);
    void Fail();
    void FailLocked(); // with the mutex held
    void DropOutput(); // with the mutex held

    const int m_fd;
    const int m_wakeFd;
    const bool m_lineNeedsTime;
    const std::string m_path;
    dev_t m_device = 0;
    bool m_released = false; // caller's thread only

    std::mutex m_mutex;
    std::condition_variable m_progress; // output completed, device failed, stopping
    std::deque<std::uint8_t> m_input;
    std::function<void()> m_onArrival;
    bool m_arrivalArmed = true; // set by Read, cleared when m_onArrival is called
    std::deque<Outgoing> m_output;
    std::size_t m_queuedBytes = 0; // bytes in m_output not yet handed to the driver
    std::uint64_t m_discarded = 0; // bytes taken by Write that never left
    bool m_failed = false;
    bool m_stopping = false;
    DCB m_applied{};

    // Used by the I/O thread only.
    std::chrono::microseconds m_characterTime{0};
    std::size_t m_bytesSinceRecord = 0;

    std::thread m_thread;
};

} // namespace linux_tty
