#pragma once
// The readable form of a capture: lines that each start with the local time
// to the millisecond and RX or TX, made from the bytes that went over the
// line and when. Bytes and times in, text out; nothing here touches a file.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace terminal {

using WallClock = std::chrono::system_clock;

// The calendar time of `seconds` in the local time zone.
std::tm LocalTime(std::time_t seconds);

// "2026-12-09 15:04:05.123", in local time.
std::string LogTimestamp(WallClock::time_point when);

// The receive box's stamp, "[15:04:05.123] ".
std::string ScreenStamp(WallClock::time_point when);

class TextLog {
public:
    // `gap`: in hexadecimal display, how long the line must have been quiet
    // before received bytes start a new line.
    explicit TextLog(std::chrono::milliseconds gap = std::chrono::milliseconds(20)) : m_gap(gap) {}

    // Bytes received at `when`, as the receive box shows them (hexadecimal
    // or text). Text is cut into lines at line breaks (LF, or CR LF; the
    // break itself is not written); each byte is the character the box
    // shows for it (terminal::ByteToChar), a zero byte and what follows it
    // included. Hexadecimal starts a new line after the line was quiet for
    // the gap. Only whole lines are appended to `out`: the one under way
    // waits for its end.
    void Received(std::span<const std::uint8_t> bytes, WallClock::time_point when, bool hex, std::string& out);
    // An address byte (its ninth bit set) received at `when`: it starts a
    // line of its own, marked "[01]", which the bytes after it go on.
    void ReceivedAddress(std::uint8_t byte, WallClock::time_point when, bool hex, std::string& out);

    // What was sent, each as its own line (ending the received line under
    // way first): a frame as hexadecimal with its address bytes marked
    // ("[01] 48 65"), a file with its name, size and protocol.
    void SentFrame(std::span<const std::uint8_t> frame, std::size_t addressBytes, WallClock::time_point when,
                   std::string& out);
    void SentFile(std::string_view name, std::uint64_t size, std::string_view protocol, WallClock::time_point when,
                  std::string& out);

    // Ends the received line under way, if any (the log is closing).
    void Finish(std::string& out);

private:
    void StartLine(WallClock::time_point when);

    std::chrono::milliseconds m_gap;
    // A line longer than this (a stream that never breaks or goes quiet)
    // goes on in a new line with a new stamp, so memory stays bounded.
    static constexpr std::size_t kLongestLine = 4096;

    std::string m_line; // the received line under way, its stamp included
    std::size_t m_lineBytes = 0;
    bool m_open = false;
    bool m_hex = false;
    bool m_afterCr = false; // the line under way ended in CR, which an LF may follow
    WallClock::time_point m_last{};
};

} // namespace terminal
