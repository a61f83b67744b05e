#include "settings/profile.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace settings {
namespace {

using testing::TempFolder;
using testing::WriteText;

std::string Read(const std::string& path, const char* section, const char* key)
{
    return GetProfileString(section, key, "<default>", 0, path);
}

TEST(ProfileRead, UsualSpellingsMissingKeysAndFirstOccurrence)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    EXPECT_EQ(Read(path, "COMM_ADDR", "size"), "<default>") << "no file";
    WriteText(path,
              "\xEF\xBB\xBF; comment\r\n[ comm_addr ]\r\n  Size =  3 \r\nempty=\r\n# size=9\r\n"
              "[A]\nk=1\nk=2\n[COMM_ADDR]\nsize=4\nlate=5\n"
              "[RX]\nopt=000000000100000001"); // no final newline
    EXPECT_EQ(Read(path, "COMM_ADDR", "SIZE"), "3");
    EXPECT_EQ(Read(path, "COMM_ADDR", "empty"), "") << "present but empty is not the default";
    EXPECT_EQ(Read(path, "COMM_ADDR", "late"), "5") << "a repeated section adds its keys";
    EXPECT_EQ(Read(path, "A", "k"), "1");
    EXPECT_EQ(Read(path, "A", "missing"), "<default>");
    EXPECT_EQ(Read(path, "TX", "opt"), "<default>");
    std::int32_t rx[2] = {};
    ASSERT_TRUE(GetProfileStruct("rx", "OPT", rx, sizeof rx, path));
    EXPECT_EQ(rx[1], 1);
}

TEST(ProfileRead, GarbageAndUnreadablePathsGiveDefaults)
{
    TempFolder folder;
    EXPECT_EQ(Read(folder.path(), "A", "k"), "<default>") << "a folder";
    const std::string path = folder.File("vantrel.ini");
    WriteText(path, std::string("[A]\nk=ab\0cd\n", 12) + std::string(1 << 20, 'x') + "\n[B]\nk=ok\n");
    EXPECT_EQ(Read(path, "A", "k"), "ab") << "a value stops at NUL like a C string";
    EXPECT_EQ(Read(path, "B", "k"), "ok") << "after a 1 MiB line";
}

TEST(ProfileRead, BufferSizeCutsButZeroKeepsTheWholeValue)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    const std::string longPath = "/" + std::string(5000, 'p') + "/file.bin";
    WriteText(path, "[TX_FILT]\nprotocol=123456789012345678901\nfile=" + longPath + "\n");
    EXPECT_EQ(GetProfileString("TX_FILT", "protocol", "1", 16, path), "123456789012345");
    EXPECT_EQ(GetProfileString("TX_FILT", "none", "12345678901234567", 16, path), "123456789012345");
    EXPECT_EQ(GetProfileString("TX_FILT", "file", "", 0, path), longPath);
}

} // namespace
} // namespace settings
