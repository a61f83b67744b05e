#include "settings/profile.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace settings {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

TEST(ProfileWrite, NewFileGetsSectionsInTheOrderFirstWritten)
{
    TempFolder folder;
    const std::string path = folder.File("a/vantrel.ini"); // the folder is created
    const std::int32_t rx[2] = {0, 1};
    EXPECT_TRUE(WriteProfileString("COMM_ADDR", "size", "1", path));
    EXPECT_TRUE(WriteProfileStruct("RX", "opt", rx, sizeof rx, path));
    EXPECT_TRUE(WriteProfileString("TX_FILT", "file", "", path));
    EXPECT_TRUE(WriteProfileString("comm_addr", "SIZE", "2", path));
    EXPECT_EQ(ReadText(path), "[COMM_ADDR]\nsize=2\n[RX]\nopt=000000000100000001\n[TX_FILT]\nfile=\n");
}

TEST(ProfileWrite, KeepsForeignSectionsKeysCommentsAndLineEndings)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    WriteText(path, "\xEF\xBB\xBF; kept\r\n[PORTS]\r\nextra=/dev/ttyX\r\n\r\n"
                    "[COMM_ADDR]\r\n  Size = 1 \r\n# note\r\n\r\n[OTHER]\r\nx=y");
    EXPECT_TRUE(WriteProfileString("COMM_ADDR", "size", "4", path));
    EXPECT_TRUE(WriteProfileString("COMM_ADDR", "new", "n", path));
    EXPECT_TRUE(WriteProfileString("LAST", "k", "v", path));
    EXPECT_EQ(ReadText(path), "\xEF\xBB\xBF; kept\r\n[PORTS]\r\nextra=/dev/ttyX\r\n\r\n"
                              "[COMM_ADDR]\r\nSize=4\r\nnew=n\r\n# note\r\n\r\n[OTHER]\r\nx=y\r\n[LAST]\r\nk=v\r\n");
}

TEST(ProfileWrite, ValuesRoundTripAndUnstorableOnesAreRefused)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    for (const std::string value : {" lead", "trail\t", "\"quoted\"", "a=b;c#[d]"}) {
        ASSERT_TRUE(WriteProfileString("TX_FILT", "file", value, path)) << value;
        EXPECT_EQ(GetProfileString("TX_FILT", "file", "x", 0, path), value);
    }
    WriteText(path, "[A]\nk=1\n");
    EXPECT_FALSE(WriteProfileString("A", "k", "1\n[B]\nk=2", path));
    EXPECT_FALSE(WriteProfileString("A", "k", std::string("a\0b", 3), path));
    EXPECT_FALSE(WriteProfileString("A", "k=x", "1", path));
    EXPECT_FALSE(WriteProfileString("A", "[k]", "1", path));
    EXPECT_FALSE(WriteProfileString("A]", "k", "1", path));
    EXPECT_EQ(ReadText(path), "[A]\nk=1\n");
}

TEST(ProfileWrite, FailureLeavesTheOldFileWhole)
{
    TempFolder folder;
    EXPECT_FALSE(WriteProfileString("A", "k", "1", folder.path())) << "a folder is not clobbered";
    const std::string plain = folder.File("plain");
    WriteText(plain, "data");
    EXPECT_FALSE(WriteProfileString("A", "k", "1", plain + "/vantrel.ini"));
    EXPECT_EQ(ReadText(plain), "data");

    // A write cut short, as by a full disk: the old file stays, no temporary remains.
    const std::string path = folder.File("vantrel.ini");
    WriteText(path, "[A]\nk=old\n");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const base::Status failure = WriteProfileString("A", "k", std::string(1000, 'n'), path);
    const bool written = failure.ok();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(failure.words(), "File too large");
    EXPECT_EQ(failure.what(), path);
    EXPECT_EQ(ReadText(path), "[A]\nk=old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(ProfileWrite, KeepsTheModeAndWritesThroughALink)
{
    TempFolder folder;
    const std::string path = folder.File("real.ini");
    WriteText(path, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string link = folder.File("link.ini");
    std::filesystem::create_symlink(path, link);
    EXPECT_TRUE(WriteProfileString("A", "k", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadText(path), "[A]\nk=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

} // namespace
} // namespace settings
