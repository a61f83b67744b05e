#pragma once
// What the file sender does to its surroundings. The main window carries
// these out on its controls, its port and its timer; tests record them.
// The sender calls them in the order the user is meant to see the effects.

#include <cstdint>
#include <memory>

namespace transfer {

class SenderHost {
public:
    virtual ~SenderHost() = default;

    // The port's write, one packet (or the whole raw file) per call. The
    // bytes must have been taken, or copied, when it returns. True when they
    // were handed to an open port; false when the port is closed or failed.
    virtual bool WritePort(const std::uint8_t* data, std::uint32_t length) = 0;
    // WritePort of a whole loaded file: the port may keep a share of the
    // block instead of copying it.
    virtual bool WritePortShared(std::shared_ptr<const std::uint8_t[]> block, std::uint32_t length)
    {
        return WritePort(block.get(), length);
    }
    // True when the port refuses writes only because it is still sending
    // earlier data (its output queue is full). False when it cannot tell.
    virtual bool PortStillSending() { return false; }

    // Starts the one-shot response timer of kResponseTimeoutMs, replacing a
    // running one. When it runs out the window calls HandleResponseTimeout.
    virtual void StartResponseTimer() = 0;
    virtual void StopResponseTimer() = 0;

    // The progress bar's position; its range is 0 to 100 and anything
    // larger shows as full.
    virtual void SetProgress(std::uint32_t position) = 0;

    // Adds to the sent counter and shows its new value.
    virtual void AddToSentCount(std::uint32_t bytes) = 0;

    // The Automatic transmission check box, the transmit Send button and the
    // file Send button, in that order.
    virtual void SetSendControlsEnabled(bool enabled) = 0;

    // A modal message box with an OK button; returns when it is dismissed.
    // Replies that arrive meanwhile may reach the sender again (it is idle
    // by then and ignores them).
    virtual void ShowMessage(const char* text) = 0;

    // Blocks for `ms` milliseconds, so the full bar stays visible.
    virtual void Pause(std::uint32_t ms) = 0;
};

} // namespace transfer
