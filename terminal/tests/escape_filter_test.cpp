#include "terminal/escape_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::string Filtered(terminal::EscapeFilter& filter, std::string_view text)
{
    std::vector<std::uint8_t> out;
    filter.Filter({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, out);
    return {out.begin(), out.end()};
}

TEST(EscapeFilter, AColouredLogAndAShellPromptReadAsTheirText)
{
    terminal::EscapeFilter filter;
    // A Zephyr-style coloured log line and a bash prompt with a title (OSC).
    EXPECT_EQ(Filtered(filter, "\x1B[0;32m[00:00:01.000,000] <inf> main: up\x1B[0m\r\n"),
              "[00:00:01.000,000] <inf> main: up\r\n");
    EXPECT_EQ(Filtered(filter, "\x1B]0;root@board: ~\x07\x1B[01;32mroot@board\x1B[00m:~# \x1B[K"), "root@board:~# ");
    EXPECT_EQ(Filtered(filter, "\x1B"
                               "7saved\x1B"
                               "8\x1B(Bdone\x1B]2;t\x1B\\."),
              "saveddone.");
}

TEST(EscapeFilter, ASequenceCutBetweenReadsIsStillTakenOutAndNoneSwallowsText)
{
    terminal::EscapeFilter filter;
    EXPECT_EQ(Filtered(filter, "ok \x1B["), "ok ");
    EXPECT_EQ(Filtered(filter, "1;3"), "");
    EXPECT_EQ(Filtered(filter, "1mred"), "red");

    // A stray ESC before a line break, and a sequence that never ends.
    EXPECT_EQ(Filtered(filter, "a\x1B\r\nb"), "a\x1B\r\nb");
    const std::string endless = "\x1B[" + std::string(100, '1');
    const std::string out = Filtered(filter, endless + "tail");
    EXPECT_EQ(out, endless + "tail");
}

} // namespace
