#include "settings/profile.h"
#include "settings/struct_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace settings {
namespace {

TEST(StructText, DefaultRecordsHaveTheirKnownTextsAndReadBack)
{
    const std::int32_t port[5] = {0, 6, 0, 3, 0};
    const std::int32_t rx[2] = {0, 1};
    const std::uint32_t tx[3] = {0, 0, 1000};
    EXPECT_EQ(FormatStruct(port, sizeof port), "000000000600000000000000030000000000000009");
    EXPECT_EQ(FormatStruct(rx, sizeof rx), "000000000100000001");
    EXPECT_EQ(FormatStruct(tx, sizeof tx), "0000000000000000E8030000EB");
    std::uint32_t back[3] = {};
    ASSERT_TRUE(ParseStructText("0000000000000000e8030000eb", back, sizeof back));
    EXPECT_EQ(back[2], 1000u);
}

TEST(StructText, DamagedTextsAreRefusedAndLeaveTheRecordAlone)
{
    const char* damaged[] = {"",
                             "00000000010000000",
                             "0000000001000000010",
                             "00000000010000G001",
                             "00000000 100000001",
                             "000000000100000002",
                             "-00000000100000001"};
    for (const char* text : damaged) {
        std::int32_t record[2] = {7, 7};
        EXPECT_FALSE(ParseStructText(text, record, sizeof record)) << text;
        EXPECT_EQ(record[0], 7);
        EXPECT_EQ(record[1], 7);
    }
}

TEST(ParseDecimal, FollowsStrtolAndClampsToInt32)
{
    EXPECT_EQ(ParseDecimal("  42"), 42);
    EXPECT_EQ(ParseDecimal("-1"), -1);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    EXPECT_EQ(ParseDecimal("12abc"), 12);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("99999999999"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999"), INT32_MIN);
    EXPECT_EQ(ParseDecimal(std::string(500, '9')), INT32_MAX);
}

} // namespace
} // namespace settings
