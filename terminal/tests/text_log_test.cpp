#include "terminal/text_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using namespace std::string_view_literals;
using terminal::WallClock;

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// The lines without their time stamps ("RX hello").
std::vector<std::string> Lines(const std::string& log)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end = log.find('\n'); end != std::string::npos; end = log.find('\n', from)) {
        const std::string line = log.substr(from, end - from);
        EXPECT_GE(line.size(), 24u) << line;
        lines.push_back(line.substr(24));
        from = end + 1;
    }
    EXPECT_EQ(from, log.size()) << "a line without its end: " << log;
    return lines;
}

TEST(TextLog, TextIsCutAtLineBreaksAcrossReadsAndOnlyWholeLinesComeOut)
{
    terminal::TextLog log;
    std::string out;
    const auto t = WallClock::now();
    log.Received(Bytes("boot: ok\r"), t, false, out);
    EXPECT_EQ(out, "");
    log.Received(Bytes("\nline 2\x01\0!\nhalf"sv), t + 5ms, false, out);
    EXPECT_EQ(Lines(out), (std::vector<std::string>{"RX boot: ok", "RX line 2\u2401\u2400!"}));
    log.SentFrame(Bytes("\x01\x48\x65"), 1, t + 6ms, out);
    log.SentFile("u-boot.itb", 1234, "Ymodem", t + 7ms, out);
    EXPECT_EQ(Lines(out), (std::vector<std::string>{"RX boot: ok", "RX line 2\u2401\u2400!", "RX half", "TX [01] 48 65",
                                                    "TX file u-boot.itb, 1234 bytes, Ymodem"}));
    EXPECT_EQ(out.substr(4, 1), "-");
    EXPECT_EQ(out.substr(19, 1), ".");
}

TEST(TextLog, HexadecimalFramesEndWhereTheLineWentQuietAndNoLineGrowsWithoutBound)
{
    terminal::TextLog log(20ms);
    std::string out;
    const auto t = WallClock::now();
    log.Received(Bytes("\x01\x02"), t, true, out);
    log.Received(Bytes("\x03"), t + 19ms, true, out);
    log.Received(Bytes("\x0A"), t + 40ms, true, out); // quiet for 21 ms: a new frame
    log.Finish(out);
    EXPECT_EQ(Lines(out), (std::vector<std::string>{"RX 01 02 03", "RX 0A"}));

    out.clear();
    log.Received(std::vector<std::uint8_t>(10000, 'x'), t + 1s, false, out);
    log.Finish(out);
    const auto lines = Lines(out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 3u + 4096);
}

} // namespace
