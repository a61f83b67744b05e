#include "settings/profile.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

// Writes one value and returns the failure; the write must fail.
base::Status FailedWrite(const std::string& path, std::string_view value = "2")
{
    base::Status failure = WriteProfileString("A", "k", value, path);
    EXPECT_FALSE(failure) << path;
    return failure;
}

TEST(ProfileWriteFailure, NamesThePathAndTheSystemReason)
{
    TempFolder folder;

    const std::string isFolder = folder.File("folder.ini");
    std::filesystem::create_directory(isFolder);
    EXPECT_EQ(FailedWrite(isFolder).words(), "Is a directory");
    EXPECT_EQ(FailedWrite(isFolder).what(), isFolder);

    const std::string fifo = folder.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(FailedWrite(fifo).words(), "Not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    // A configuration home that is a file, not a folder.
    const std::string configHome = folder.File("config");
    WriteText(configHome, "x");
    EXPECT_EQ(FailedWrite(configHome + "/vantrel/vantrel.ini").words(), "Not a directory");
    EXPECT_EQ(ReadText(configHome), "x");

    EXPECT_EQ(FailedWrite(folder.File("v.ini"), "line\nbreak").words(), "Invalid argument");
}

TEST(ProfileWriteFailure, AReadOnlyFileIsNeitherReplacedNorPassedOver)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    WriteText(path, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(FailedWrite(path, "2").words(), "Permission denied");
    EXPECT_EQ(FailedWrite(path, "1").words(), "Permission denied") << "an unchanged value too";
    EXPECT_EQ(ReadText(path), "[A]\nk=1\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary left";
}

// Runs the body as an unprivileged user when the tests run as root, who
// could otherwise write into any folder.
class Unprivileged {
public:
    Unprivileged()
    {
        if (::geteuid() == 0)
            m_switched = ::seteuid(65534) == 0;
    }
    ~Unprivileged()
    {
        if (m_switched && ::seteuid(0) != 0)
            std::abort();
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool m_switched = false;
};

TEST(ProfileWriteFailure, AReadOnlyFolderWithTheFilePresent)
{
    TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    const std::string readOnly = folder.File("ro");
    std::filesystem::create_directory(readOnly);
    const std::string path = readOnly + "/vantrel.ini";
    WriteText(path, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0555), 0);
    {
        Unprivileged user;
        EXPECT_EQ(FailedWrite(path).words(), "Permission denied");
    }
    EXPECT_EQ(ReadText(path), "[A]\nk=1\n");
}

} // namespace
} // namespace settings
