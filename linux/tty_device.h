#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "posix/file_descriptor.h"
#include "serial/queued_device.h"

namespace linux_tty {

// An open terminal device served by a thread of its own. The thread reads
// whatever arrives into a buffer (so Read never waits and nothing is lost
// between polls) and sends queued output, and line-setting changes, strictly
// in the order they were handed over. Nothing the caller does waits on the
// line: writes are queued, settings wait only when nothing is ahead of them.
class TtyDevice : public serial::QueuedDevice {
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
    bool IsGone() override EXCLUDES(m_mutex);
    base::Status SetModemLine(serial::ModemLine line, bool raised) override;
    base::Status SetBreak(bool on) override;

private:
    void Wake() override;
    std::size_t DriverPending() override;
    void AbortDriverIo() override REQUIRES(m_mutex);
    void ApplyFinalRecord(const DCB& record) override;
    void CloseDevice() override;
    bool PathStillLeadsHere() const;

    // The I/O thread and its steps.
    void Run() EXCLUDES(m_mutex);
    int DrainPollTimeout(std::size_t pendingInDriver) const;
    void ReadAvailable() EXCLUDES(m_mutex);
    void WriteSome() EXCLUDES(m_mutex);
    void ApplyQueuedRecord() EXCLUDES(m_mutex);

    // Set before the I/O thread starts and kept until it has ended (CloseDevice
    // gives them back after the join): both threads read them.
    posix::FileDescriptor m_fd;
    posix::FileDescriptor m_wakeFd;
    const bool m_lineNeedsTime;
    const std::string m_path;
    const dev_t m_device;

    // Used by the I/O thread only.
    std::chrono::microseconds m_characterTime{0};
    std::size_t m_bytesSinceRecord = 0;
};

} // namespace linux_tty
