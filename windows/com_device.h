#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "serial/queued_device.h"
#include "win32/handle.h"
#include "windows/win32.h"

namespace win32_com {

// An open COM port served by a thread of its own, as on Linux: the thread
// keeps an overlapped read outstanding and copies whatever arrives into a
// buffer (so Read never waits and nothing is lost between polls), and sends
// queued output and line-setting changes strictly in the order they were
// handed over. An auto-reset event wakes it.
class ComDevice : public serial::QueuedDevice {
public:
    // Takes ownership of a port opened with FILE_FLAG_OVERLAPPED and of
    // wakeEvent, an auto-reset event.
    ComDevice(win32::Handle port, win32::Handle wakeEvent);
    ~ComDevice() override;

    ComDevice(const ComDevice&) = delete;
    ComDevice& operator=(const ComDevice&) = delete;

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

    // The I/O thread and its steps.
    void Run() EXCLUDES(m_mutex);
    void StartRead() EXCLUDES(m_mutex);
    void FinishRead() EXCLUDES(m_mutex);
    void StartWrite() EXCLUDES(m_mutex);
    void FinishWrite() EXCLUDES(m_mutex);
    DWORD RecordWait() EXCLUDES(m_mutex);
    void ApplyQueuedRecord() EXCLUDES(m_mutex);
    void EndPendingIo();
    // ClearCommError, keeping the line errors it reports for the reader
    // (any thread may call it); false when the port refuses.
    bool ClearLineErrors(COMSTAT* status = nullptr);
    // Bytes the driver still holds for sending; 0 when it cannot tell.
    std::size_t PendingOutput();

    // Set before the I/O thread starts and never changed.
    win32::Handle m_port;
    win32::Handle m_wakeEvent;
    win32::Handle m_readEvent;  // m_readIo's
    win32::Handle m_writeEvent; // m_writeIo's

    // Used by the I/O thread only.
    OVERLAPPED m_readIo{};
    OVERLAPPED m_writeIo{};
    bool m_readPending = false;
    bool m_writePending = false;
    std::shared_ptr<const std::uint8_t[]> m_writeBlock; // the bytes the pending write reads
    std::uint8_t m_readChunk[4096]{};
    std::chrono::microseconds m_characterTime{0};
    std::size_t m_bytesSinceRecord = 0;
    // The record in force shows the ninth bit: bytes are read one at a time,
    // each with the parity error the driver reports for it, and handed on
    // marked as on Linux (FF 00 b for an error, FF FF for a byte FF).
    bool m_markNinthBit = false;
    std::vector<std::uint8_t> m_markedChunk;
    // Line errors ClearCommError reported since the reader last took them.
    std::atomic<DWORD> m_lineErrors{0};
};

} // namespace win32_com
