#include "windows/com_device.h"

#include "windows/windows_device_system.h"

#include <algorithm>
#include <array>

#include "serial/character_time.h"
#include "windows/comm_state.h"

namespace win32_com {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// The most one WriteFile hands to the driver.
constexpr std::size_t kWriteChunk = 16 * 1024;
// How long Release lets queued output leave before discarding the rest.
// While a record waits behind output the driver holds, the thread looks
// again after the time the output needs, within this bound.
constexpr milliseconds kDrainPollLongest{50};
// After a read the driver refused at once.
constexpr milliseconds kRetryPause{10};

} // namespace

bool ComDevice::ClearLineErrors(COMSTAT* status)
{
    DWORD errors = 0;
    if (!::ClearCommError(m_port.get(), &errors, status))
        return false;
    m_lineErrors.fetch_or(errors);
    return true;
}

std::size_t ComDevice::PendingOutput()
{
    COMSTAT status{};
    return ClearLineErrors(&status) ? status.cbOutQue : 0;
}

ComDevice::ComDevice(win32::Handle port, win32::Handle wakeEvent)
    : m_port(std::move(port)), m_wakeEvent(std::move(wakeEvent)),
      m_readEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_writeEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    m_readIo.hEvent = m_readEvent.get();
    m_writeIo.hEvent = m_writeEvent.get();
    {
        threads::MutexLock lock(m_mutex);
        DCB opened{};
        ReadRecord(m_port.get(), opened);
        m_output.SetRecordInForce(opened);
        m_characterTime = serial::CharacterTime(opened);
        if (m_readIo.hEvent == nullptr || m_writeIo.hEvent == nullptr)
            m_failed = true;
    }
    m_thread = std::thread([this] { Run(); });
}

ComDevice::~ComDevice()
{
    Finish(nullptr);
}

void ComDevice::ApplyFinalRecord(const DCB& record)
{
    ApplyRecord(m_port.get(), record);
}

void ComDevice::CloseDevice()
{
    m_port.Close();
    m_wakeEvent.Close();
    m_readEvent.Close();
    m_writeEvent.Close();
}

std::size_t ComDevice::DriverPending()
{
    return PendingOutput();
}

void ComDevice::AbortDriverIo()
{
    // Ends the thread's pending read and write too.
    ::PurgeComm(m_port.get(), PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
}

// EscapeCommFunction takes a line the driver does not drive itself; one
// under the handshake's control is refused, and the system says why.
base::Status ComDevice::SetModemLine(serial::ModemLine line, bool raised)
{
    const DWORD function = line == serial::ModemLine::Dtr ? (raised ? SETDTR : CLRDTR) : (raised ? SETRTS : CLRRTS);
    if (::EscapeCommFunction(m_port.get(), function))
        return base::Status::Ok();
    const DWORD error = ::GetLastError();
    return base::Status::Failure({}, static_cast<int>(error), SystemErrorText(error));
}

base::Status ComDevice::SetBreak(bool on)
{
    if (on ? ::SetCommBreak(m_port.get()) : ::ClearCommBreak(m_port.get()))
        return base::Status::Ok();
    const DWORD error = ::GetLastError();
    return base::Status::Failure({}, static_cast<int>(error), SystemErrorText(error));
}

bool ComDevice::SetState(const DCB& dcb)
{
    return QueueRecord(dcb);
}

bool ComDevice::GetState(DCB& dcb)
{
    if (Released())
        return false;
    return ReadRecord(m_port.get(), dcb).ok();
}

// A port whose device was removed (a USB adapter pulled) refuses every
// request, ClearCommError among them.
bool ComDevice::IsGone()
{
    {
        threads::MutexLock lock(m_mutex);
        if (m_failed || m_stopping)
            return m_failed;
    }
    if (ClearLineErrors())
        return false;
    Fail();
    return true;
}

void ComDevice::Wake()
{
    ::SetEvent(m_wakeEvent.get());
}

void ComDevice::Run()
{
    for (;;) {
        bool wantRead = false;
        bool recordFirst = false;
        bool bytesFirst = false;
        {
            threads::MutexLock lock(m_mutex);
            if (m_stopping)
                break;
            if (!m_failed) {
                wantRead = m_input.HasRoom();
                if (!m_output.IsEmpty()) {
                    recordFirst = m_output.FrontRecord() != nullptr;
                    bytesFirst = !recordFirst;
                }
            }
        }
        if (wantRead && !m_readPending)
            StartRead();
        if (bytesFirst && !m_writePending)
            StartWrite();
        DWORD timeout = INFINITE;
        if (recordFirst && !m_writePending) {
            timeout = RecordWait();
            if (timeout == 0) {
                ApplyQueuedRecord();
                continue;
            }
        }

        std::array<HANDLE, 3> handles{m_wakeEvent.get()};
        DWORD count = 1;
        if (m_readPending)
            handles[count++] = m_readIo.hEvent;
        if (m_writePending)
            handles[count++] = m_writeIo.hEvent;
        ::WaitForMultipleObjects(count, handles.data(), FALSE, timeout);
        if (m_readPending && ::WaitForSingleObject(m_readIo.hEvent, 0) == WAIT_OBJECT_0)
            FinishRead();
        if (m_writePending && ::WaitForSingleObject(m_writeIo.hEvent, 0) == WAIT_OBJECT_0)
            FinishWrite();
    }
    EndPendingIo();
}

// Reads complete as soon as any byte is in, or empty after the read
// timeout set at opening; then the next read starts.
void ComDevice::StartRead()
{
    ::ResetEvent(m_readIo.hEvent);
    // One byte at a time while the ninth bit is shown: the driver tells a
    // parity error for the port, not for a byte, so the error read right
    // after a one-byte read belongs to that byte (as long as the driver
    // holds no more than it, which at a multi-drop bus's rates it seldom
    // does).
    const DWORD size = m_markNinthBit ? 1 : sizeof m_readChunk;
    if (::ReadFile(m_port.get(), m_readChunk, size, nullptr, &m_readIo) || ::GetLastError() == ERROR_IO_PENDING) {
        m_readPending = true;
        return;
    }
    // A line error (with fAbortOnError) is cleared and reading goes on after
    // a short pause, so a lasting one cannot spin the thread; a port that
    // refuses even that has gone.
    if (!ClearLineErrors())
        Fail();
    else
        std::this_thread::sleep_for(kRetryPause);
}

void ComDevice::FinishRead()
{
    m_readPending = false;
    DWORD got = 0;
    if (!::GetOverlappedResult(m_port.get(), &m_readIo, &got, FALSE)) {
        if (!ClearLineErrors())
            Fail();
        return;
    }
    if (got == 0)
        return;
    const std::uint8_t* bytes = m_readChunk;
    if (m_markNinthBit) {
        // (A read started before the mode came on may bring more than one
        // byte: those read unmarked.)
        // An error another call cleared since the last byte (the window's
        // look at the port, the drain's wait) counts too.
        ClearLineErrors();
        const bool parityError = (m_lineErrors.exchange(0) & CE_RXPARITY) != 0 && got == 1;
        m_markedChunk.clear();
        if (parityError) {
            m_markedChunk.push_back(0xFF);
            m_markedChunk.push_back(0x00);
        }
        for (DWORD i = 0; i < got; ++i) {
            if (m_readChunk[i] == 0xFF && !parityError)
                m_markedChunk.push_back(0xFF);
            m_markedChunk.push_back(m_readChunk[i]);
        }
        bytes = m_markedChunk.data();
        got = static_cast<DWORD>(m_markedChunk.size());
    }
    std::function<void()> tell;
    {
        threads::MutexLock lock(m_mutex);
        tell = m_input.Add(bytes, got);
    }
    if (tell)
        tell();
}

// The driver is given bytes with the mutex held, so Release knows what it
// has been given.
void ComDevice::StartWrite()
{
    threads::MutexLock lock(m_mutex);
    serial::OutputQueue::Bytes next = m_output.Next(kWriteChunk);
    if (next.size == 0)
        return;
    ::ResetEvent(m_writeIo.hEvent);
    if (::WriteFile(m_port.get(), next.data, static_cast<DWORD>(next.size), nullptr, &m_writeIo) ||
        ::GetLastError() == ERROR_IO_PENDING) {
        m_writePending = true;
        m_writeBlock = std::move(next.block);
        return;
    }
    if (!ClearLineErrors())
        FailLocked();
}

void ComDevice::FinishWrite()
{
    m_writePending = false;
    m_writeBlock.reset();
    DWORD written = 0;
    const bool done = ::GetOverlappedResult(m_port.get(), &m_writeIo, &written, FALSE) != 0;
    threads::MutexLock lock(m_mutex);
    m_bytesSinceRecord += written;
    if (m_output.Sent(written))
        m_progress.NotifyAll();
    if (!done && !m_stopping) {
        if (!ClearLineErrors())
            FailLocked();
    }
}

// 0 when the record at the front may be applied now (the driver holds no
// output), else how long to wait before looking again.
DWORD ComDevice::RecordWait()
{
    const std::size_t pending = PendingOutput();
    if (pending == 0)
        return 0;
    const auto rest = std::chrono::duration_cast<milliseconds>(m_characterTime * static_cast<long>(pending));
    return static_cast<DWORD>(std::clamp(rest, milliseconds{1}, kDrainPollLongest).count());
}

// Applies the record at the front once the driver has sent everything
// before it, one character time after the last byte went, for drivers that
// report empty while their last character is still on the wire.
void ComDevice::ApplyQueuedRecord()
{
    if (m_bytesSinceRecord > 0 && !PauseUntil(Clock::now() + m_characterTime))
        return;
    DCB record;
    {
        threads::MutexLock lock(m_mutex);
        const DCB* front = m_output.FrontRecord();
        if (m_stopping || m_failed || !front)
            return;
        record = *front;
    }
    base::Status applied = ApplyRecord(m_port.get(), record);
    const bool accepted = applied.ok();
    if (accepted) {
        m_characterTime = serial::CharacterTime(record);
        m_bytesSinceRecord = 0;
        if (record.fMarkNinthBit && !m_markNinthBit)
            m_lineErrors = 0; // errors from before the mode belong to no byte it reads
        m_markNinthBit = record.fMarkNinthBit;
    }
    threads::MutexLock lock(m_mutex);
    if (m_output.CompleteRecord(accepted, std::move(applied)))
        m_progress.NotifyAll();
}

// Cancels what the thread still has under way (only the issuing thread can)
// and waits for it, so no buffer is written after the device is gone; bytes
// the driver took meanwhile are counted as taken.
void ComDevice::EndPendingIo()
{
    if (m_readPending || m_writePending)
        ::CancelIo(m_port.get());
    DWORD ignored = 0;
    if (m_readPending)
        ::GetOverlappedResult(m_port.get(), &m_readIo, &ignored, TRUE);
    m_readPending = false;
    if (m_writePending) {
        ::WaitForSingleObject(m_writeIo.hEvent, INFINITE);
        FinishWrite();
    }
}

} // namespace win32_com
