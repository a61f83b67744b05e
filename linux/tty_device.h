#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "serial/device.h"

namespace linux_tty {

// An open terminal device served by a thread of its own. The thread reads
// whatever arrives into a buffer (so Read never waits and nothing is lost
// between polls) and sends queued output, and line-setting changes, strictly
// in the order they were handed over.
class TtyDevice : public serial::Device {
public:
    // Takes ownership of an open, non-blocking descriptor.
    explicit TtyDevice(int fd);
    ~TtyDevice() override;

    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    bool SetState(const DCB& dcb) override;
    bool GetState(DCB& dcb) override;
    bool Write(const std::uint8_t* data, std::size_t count, std::chrono::milliseconds wait) override;
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;

private:
    struct RecordOutcome {
        bool done = false;
        bool accepted = false;
    };
    // One piece of the ordered output: bytes to send, or a record to apply
    // once everything before it has left the line.
    struct Outgoing {
        std::uint64_t ticket = 0;
        std::vector<std::uint8_t> bytes;
        std::size_t sent = 0;
        std::optional<DCB> record;
        std::shared_ptr<RecordOutcome> outcome;
    };

    std::uint64_t Enqueue(Outgoing item);
    void Wake();

    // The I/O thread and its steps.
    void Run();
    void ReadAvailable();
    void WriteSome();
    void ApplyQueuedRecord();
    void WaitForLineToEmpty();
    bool PauseUntil(std::chrono::steady_clock::time_point when);
    void CompleteFront();
    void Fail();

    const int m_fd;
    const int m_wakeFd;
    const bool m_lineNeedsTime;

    std::mutex m_mutex;
    std::condition_variable m_progress; // output completed, device failed, stopping
    std::deque<std::uint8_t> m_input;
    std::deque<Outgoing> m_output;
    std::uint64_t m_nextTicket = 1;
    std::uint64_t m_doneTicket = 0;
    bool m_failed = false;
    bool m_stopping = false;
    DCB m_applied{};

    // Used by the I/O thread only: when the bytes handed to the driver since
    // the last record will at the earliest have left the line.
    std::chrono::microseconds m_characterTime{0};
    std::chrono::steady_clock::time_point m_lineBusyUntil{};
    std::size_t m_bytesSinceRecord = 0;

    std::thread m_thread;
};

} // namespace linux_tty
