#include "transfer/load_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace transfer {
namespace {

class LoadFileTest : public ::testing::Test {
protected:
    LoadFileTest()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel_transfer_XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_folder = pattern;
    }
    ~LoadFileTest() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string m_folder;
};

TEST_F(LoadFileTest, ReadsEveryByteUnchanged)
{
    const std::string bytes("a\r\nb\x1A\0c\n", 8);
    std::uint8_t* data = nullptr;
    ASSERT_EQ(LoadFile(&data, Write("f.bin", bytes).c_str()), 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 8), bytes);
    std::free(data);
}

TEST_F(LoadFileTest, FailuresLeaveNothingBehind)
{
    auto* const untouched = reinterpret_cast<std::uint8_t*>(0x1);
    std::uint8_t* data = untouched;
    EXPECT_EQ(LoadFile(&data, (m_folder + "/missing").c_str()), 0);
    EXPECT_EQ(LoadFile(&data, m_folder.c_str()), 0);

    // 2 GiB does not fit the signed count: refused rather than cut short.
    const std::string big = Write("big.bin", "");
    ASSERT_EQ(::truncate(big.c_str(), off_t{1} << 31), 0);
    EXPECT_EQ(LoadFile(&data, big.c_str()), 0);
    EXPECT_EQ(data, untouched);

    // An empty file fails too, but its (empty) block is the caller's.
    EXPECT_EQ(LoadFile(&data, Write("empty.bin", "").c_str()), 0);
    EXPECT_NE(data, untouched);
    std::free(data);
}

} // namespace
} // namespace transfer
