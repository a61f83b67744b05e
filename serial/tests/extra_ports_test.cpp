#include <gtest/gtest.h>

#include "serial/extra_ports.h"

namespace {

using Paths = std::vector<std::string>;

TEST(ExtraPorts, SplitsAtSemicolonsTrimsBlanksAndSkipsEmptyEntries)
{
    EXPECT_EQ(serial::ParseExtraPorts(""), Paths{});
    EXPECT_EQ(serial::ParseExtraPorts(" ;\t; "), Paths{});
    EXPECT_EQ(serial::ParseExtraPorts("/dev/pts/3"), Paths{"/dev/pts/3"});
    EXPECT_EQ(serial::ParseExtraPorts(" /dev/pts/3 ;;\t/tmp/my port\t;"), (Paths{"/dev/pts/3", "/tmp/my port"}));
}

TEST(ExtraPorts, KeepsBytesThatAreNotUtf8)
{
    EXPECT_EQ(serial::ParseExtraPorts("/tmp/caf\xE9;x"), (Paths{"/tmp/caf\xE9", "x"}));
}

} // namespace
