#include "terminal/text_log.h"

#include "terminal/rx_text.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace terminal {

namespace {

void AppendHex(std::string& out, std::uint8_t byte)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

} // namespace

std::tm LocalTime(std::time_t seconds)
{
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

std::string LogTimestamp(WallClock::time_point when)
{
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    const std::tm local = LocalTime(WallClock::to_time_t(when));
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis < 0 ? millis + 1000 : millis));
    return text;
}

std::string ScreenStamp(WallClock::time_point when)
{
    return "[" + LogTimestamp(when).substr(11) + "] ";
}

void TextLog::StartLine(WallClock::time_point when)
{
    m_line = LogTimestamp(when) + " RX ";
    m_lineBytes = 0;
    m_open = true;
    m_afterCr = false;
}

void TextLog::Received(std::span<const std::uint8_t> bytes, WallClock::time_point when, bool hex, std::string& out)
{
    if (bytes.empty())
        return;
    if (m_open && (hex != m_hex || (hex && when - m_last >= m_gap)))
        Finish(out);
    m_hex = hex;
    m_last = when;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (m_open && m_lineBytes == kLongestLine)
            Finish(out);
        if (!m_open)
            StartLine(when);
        if (hex) {
            // A run of bytes at once: "XX " each, written in place.
            static constexpr char kDigits[] = "0123456789ABCDEF";
            const std::size_t run = std::min(bytes.size() - i, kLongestLine - m_lineBytes);
            const std::size_t at = m_line.size();
            m_line.resize(at + 3 * run);
            char* to = m_line.data() + at;
            for (const std::uint8_t byte : bytes.subspan(i, run)) {
                to[0] = kDigits[byte >> 4];
                to[1] = kDigits[byte & 15];
                to[2] = ' ';
                to += 3;
            }
            m_lineBytes += run;
            i += run;
            continue;
        }
        const std::uint8_t byte = bytes[i++];
        ++m_lineBytes;
        if (byte == '\n') {
            if (m_afterCr)
                m_line.pop_back(); // the CR of CR LF
            Finish(out);
            continue;
        }
        AppendRxText(m_line, &byte, 1, true);
        m_afterCr = byte == '\r';
    }
}

void TextLog::ReceivedAddress(std::uint8_t byte, WallClock::time_point when, bool hex, std::string& out)
{
    Finish(out);
    StartLine(when);
    m_hex = hex;
    m_last = when;
    m_line += '[';
    AppendHex(m_line, byte);
    m_line += "] ";
    ++m_lineBytes;
}

void TextLog::SentFrame(std::span<const std::uint8_t> frame, std::size_t addressBytes, WallClock::time_point when,
                        std::string& out)
{
    Finish(out);
    out += LogTimestamp(when) + " TX ";
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if (i > 0)
            out += ' ';
        if (i < addressBytes)
            out += '[';
        AppendHex(out, frame[i]);
        if (i < addressBytes)
            out += ']';
    }
    out += '\n';
}

void TextLog::SentFile(std::string_view name, std::uint64_t size, std::string_view protocol, WallClock::time_point when,
                       std::string& out)
{
    Finish(out);
    out += LogTimestamp(when) + " TX file " + std::string(name) + ", " + std::to_string(size) + " bytes, " +
           std::string(protocol) + "\n";
}

void TextLog::Finish(std::string& out)
{
    if (!m_open)
        return;
    while (!m_line.empty() && m_line.back() == ' ' && m_hex)
        m_line.pop_back();
    out += m_line;
    out += '\n';
    m_line.clear();
    m_open = false;
    m_afterCr = false;
}

} // namespace terminal
