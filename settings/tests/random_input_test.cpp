#include "settings/profile.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <random>

namespace settings {
namespace {

using testing::TempFolder;
using testing::WriteText;

constexpr std::array<std::array<const char*, 2>, 6> kProbes{{{"COMM_ADDR", "size"},
                                                             {"COMM_PORT", "setup"},
                                                             {"RX", "opt"},
                                                             {"TX", "opt"},
                                                             {"TX_FILT", "file"},
                                                             {"PORTS", "extra"}}};

// Lines that look like settings, mixed with raw bytes, a few bytes then overwritten.
std::string RandomFile(std::mt19937& random)
{
    static const char* const kPieces[] = {"[COMM_PORT]",
                                          " [rx] ",
                                          "[TX]",
                                          "[PORTS]",
                                          "[RX",
                                          "[]",
                                          "setup=000000000600000000000000030000000000000009",
                                          "OPT=000000000100000001",
                                          "opt = 0000000000000000e8030000eb",
                                          "opt=000000000100000002",
                                          "size=-12",
                                          "file=\"\"",
                                          "extra",
                                          "=",
                                          "\xEF\xBB\xBF",
                                          "; c"};
    static const char* const kEndings[] = {"\n", "\r\n", "\r", ""};
    std::string text;
    for (int line = std::uniform_int_distribution<int>(0, 12)(random); line > 0; --line) {
        if (random() % 4 == 0) {
            for (int n = static_cast<int>(random() % 20); n > 0; --n)
                text += static_cast<char>(random());
        } else {
            text += kPieces[random() % std::size(kPieces)];
        }
        text += kEndings[random() % std::size(kEndings)];
    }
    if (!text.empty() && random() % 2 == 0)
        text[random() % text.size()] = static_cast<char>(random());
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(RandomInput, ReadsNeverFailAndWritesChangeOnlyTheirKey)
{
    TempFolder folder;
    const std::string path = folder.File("vantrel.ini");
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        WriteText(path, RandomFile(random));
        std::array<std::string, kProbes.size()> before;
        for (std::size_t i = 0; i < kProbes.size(); ++i) {
            before[i] = GetProfileString(kProbes[i][0], kProbes[i][1], "<none>", 0, path);
            unsigned char record[20] = {};
            for (std::size_t size : {8u, 12u, 20u}) {
                if (GetProfileStruct(kProbes[i][0], kProbes[i][1], record, size, path)) {
                    EXPECT_EQ(FormatStruct(record, size), Upper(before[i])) << "round " << round;
                }
            }
        }
        // Every write is flushed to disk, so only one file in four is also written.
        if (round % 4 != 0)
            continue;
        const std::size_t written = random() % kProbes.size();
        ASSERT_TRUE(WriteProfileString(kProbes[written][0], kProbes[written][1], "new", path));
        for (std::size_t i = 0; i < kProbes.size(); ++i) {
            EXPECT_EQ(GetProfileString(kProbes[i][0], kProbes[i][1], "<none>", 0, path),
                      i == written ? "new" : before[i])
                << "round " << round;
        }
    }
}

} // namespace
} // namespace settings
