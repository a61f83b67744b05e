#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "serial/dcb.h"
#include "serial/device.h"

// The program's one access to a serial device: opens a port by name for
// exclusive use, applies line settings on request, writes and reads with
// bounded waits, and restores the port's first settings when it closes.
class CComPort {
public:
    explicit CComPort(serial::DeviceSystem& system);
    virtual ~CComPort();

    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // What Open did. Converts to 1 (open and configured) or 0 (closed).
    struct OpenResult {
        bool opened = false;
        // When the device cannot be opened: the text for the user,
        // "Open '<port>': Failed.\n<reason>", and when permission was denied
        // a line naming the device's group and how to join it; the same
        // text when the driver rejected its first settings with a reason
        // (a rate it cannot do). Empty when it opened, and when it rejected
        // them without one: nothing is shown then.
        std::string failure;

        operator int() const { return opened ? 1 : 0; }
    };
    // Shows nothing itself: the caller reports `failure`.
    OpenResult Open(std::uint32_t baud);
    // Returns how many bytes taken by the writes since Open never left the
    // program (discarded here, or dropped by a device that went away), so
    // a sent counter can give them back. 0 when already closed.
    std::uint64_t Close();

    // Driver queue sizes and read time-outs have no counterpart here: the
    // device reads continuously into its own buffer and Read never blocks.
    // Both are kept so callers read as designed, and both succeed.
    int SetupComm(std::uint32_t inQueue, std::uint32_t outQueue);
    int SetTimeouts(std::uint32_t ms);

    // Stores the rate in m_dcb and applies the record: 1 if accepted.
    int SetBaudRate(std::uint32_t baud);
    // Applies m_dcb as it is: 1 if accepted, 0 if rejected or closed.
    int ApplySettings();
    // After a rejected ApplySettings: the open failure's text ("Open
    // '<port>': Failed.\n<reason>") with the driver's reason, or empty
    // when the driver gave none.
    std::string RefusalText();

    // Never waits on the line: 1 when the bytes were taken into the device's
    // output queue (they go out in order later); 0 when closed, when count
    // is 0, when the device is gone, or while the queue holds its limit,
    // about two seconds of sending (the bytes are dropped, as by a full
    // UART). Below the limit the bytes are taken whole, however many.
    int Write(const std::uint8_t* data, std::uint32_t count);
    // Write, the queue keeping a share of the block instead of a copy.
    int WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::uint32_t count);
    // One addressed frame of count bytes: the first addressBytes with MARK
    // parity, the rest with SPACE parity (m_dcb.Parity is left at SPACE).
    // Taken whole, address and data, by the rule of Write; nothing of it
    // when refused, so an address never leaves without its data. Needs
    // 0 < addressBytes < count.
    int WriteFrame(const std::uint8_t* frame, std::uint32_t count, std::uint32_t addressBytes);
    // The modem lines and a break, at once (serial::Device::SetModemLine):
    // the device's refusal, on the port's name; ENODEV when closed or gone.
    base::Status SetModemLine(serial::ModemLine line, bool raised);
    base::Status SetBreak(bool on);
    // True while writes are refused only because the output queue holds
    // its limit: the far end has not taken the earlier data yet.
    bool IsOutputFull();
    // -1 when closed; otherwise the bytes that have arrived, 0 to count.
    // Never waits for bytes.
    std::int32_t Read(std::uint8_t* buffer, std::uint32_t count);

    // A device that goes away while open (adapter pulled, bridge ended)
    // leaves the object open: nothing is shown and nothing closes by itself.
    // IsDeviceGone() turns true and stays so until Reopen() succeeds; while
    // it holds, Write returns 0 (so nothing is counted as sent), settings
    // are kept in m_dcb without reaching a device, and Read returns what
    // arrived before the loss, then 0. Close works as usual. Both calls are
    // cheap and meant for the window's own timer, on its own thread; no
    // other thread ever calls into the window.
    bool IsDeviceGone();
    // Calls onArrival, from any thread, when bytes arrive (at most once
    // between two Reads), for a reader that wants to act on them at once
    // rather than at its next poll. Kept across Reopen; dropped by Close.
    void NotifyArrival(std::function<void()> onArrival);
    // onArrival waits until at least `bytes` are unread (see
    // serial::Device::SetArrivalThreshold). Kept across Reopen; Close
    // returns it to 1.
    void SetArrivalThreshold(std::size_t bytes);
    // While the device is gone: opens m_strPort again, without any message,
    // and gives it m_dcb, the line settings in force before the loss.
    // 1 when the port works again (also when it never went away), 0 while
    // the device is still missing; safe to call on every timer tick. Bytes
    // the lost device received and nobody read yet are kept and come first
    // from Read (a board's last words before its reset are not lost).
    int Reopen();

    std::unique_ptr<serial::Device> m_hComm; // null while closed
    std::string m_strPort;                   // the device path, set before Open
    DCB m_dcb;                               // the settings ApplySettings gives the port
    DCB m_dcbSaved;                          // the settings after Open, restored by Close

private:
    // Moves every byte the (lost) device still holds into m_lostInput.
    void KeepLostInput();

    serial::DeviceSystem& m_system;
    std::function<void()> m_onArrival;
    std::size_t m_arrivalThreshold = 1;
    std::vector<std::uint8_t> m_lostInput; // unread bytes of a lost device, served first by Read
    std::size_t m_lostInputRead = 0;       // how many of them Read has given out
    std::uint64_t m_lostOutput = 0;        // output dropped by devices replaced by Reopen
};
