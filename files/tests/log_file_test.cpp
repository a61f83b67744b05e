#include "files/background_log.h"
#include "files/log_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class LogFileTest : public ::testing::Test {
protected:
    LogFileTest()
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-log-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_folder = pattern;
    }
    ~LogFileTest() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream all;
        all << file.rdbuf();
        return all.str();
    }
    fs::path m_folder;
};

TEST_F(LogFileTest, ALinkPlantedAtThePathIsNotFollowed)
{
    const fs::path victim = m_folder / "victim";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, m_folder / "x.log");
    const auto log = files::LogFile::Create((m_folder / "x.log").string());
    ASSERT_FALSE(log);
    EXPECT_EQ(log.status().code(), ELOOP);
    EXPECT_EQ(Read(victim), "keep");
}

TEST_F(LogFileTest, TheBackgroundWriterWritesEveryPieceInOrderAndReportsAFullDisk)
{
    auto file = files::LogFile::Create((m_folder / "a.log").string());
    ASSERT_TRUE(file);
    {
        files::BackgroundLog log(std::move(*file));
        for (int i = 0; i < 1000; ++i)
            log.Append(std::to_string(i) + "\n");
        EXPECT_TRUE(log.Close());
    }
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += std::to_string(i) + "\n";
    EXPECT_EQ(Read(m_folder / "a.log"), expected);

    auto full = files::LogFile::Create("/dev/full");
    ASSERT_TRUE(full);
    files::BackgroundLog log(std::move(*full));
    log.Append("lost");
    const base::Status closed = log.Close();
    EXPECT_FALSE(closed);
    EXPECT_EQ(closed.code(), ENOSPC);
}

} // namespace
