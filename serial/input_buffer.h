#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

namespace serial {

// Bytes that have arrived on a device, kept for its reader, and the rule for
// telling the reader: its arrival function is due once at least the
// threshold of bytes waits unread, and at most once between two reads, so
// a reader that reads when told is never flooded. It locks nothing: a device
// keeps it under its own mutex, and calls a due function after letting go.
class InputBuffer {
public:
    // What a Read took.
    struct Taken {
        std::size_t count = 0;
        bool fromFull = false; // it was read while full: the device may read more
    };

    // Holds up to capacity bytes before HasRoom turns false.
    explicit InputBuffer(std::size_t capacity);

    // False once it holds its capacity: the device stops reading then and
    // leaves the bytes to the driver's buffer and flow control.
    bool HasRoom() const;

    // Keeps count bytes at data, past the capacity too (a device reads only
    // while there is room). Returns the arrival function when it is due now,
    // else an empty one.
    std::function<void()> Add(const std::uint8_t* data, std::size_t count);

    // Copies out up to count of the oldest bytes, and lets the arrival
    // function be due again.
    Taken Read(std::uint8_t* buffer, std::size_t count);

    // Replaces the arrival function (empty stops the calls); it may be due
    // at the next arrival.
    void NotifyArrival(std::function<void()> onArrival);

    // The unread bytes that make the arrival function due (0 counts as 1).
    // Returns it when a lower threshold makes it due at once.
    std::function<void()> SetArrivalThreshold(std::size_t bytes);

private:
    // The arrival function when due; disarms it.
    std::function<void()> TakeDue();

    const std::size_t m_capacity;
    std::deque<std::uint8_t> m_bytes;
    std::function<void()> m_onArrival;
    bool m_armed = true; // set by Read, cleared when m_onArrival is due
    std::size_t m_threshold = 1;
};

} // namespace serial
