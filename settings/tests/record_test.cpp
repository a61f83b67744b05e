#include "settings/record.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(Record, ValuesAreStoredLittleEndianAndReadBack)
{
    testing::TempFolder folder;
    const std::string ini = folder.File("record.ini");
    ASSERT_TRUE(Record<3>::From({0, 0xFFFFFFFFu, 1000}).Write("TX", "opt", ini));
    EXPECT_EQ(testing::ReadText(ini), "[TX]\nopt=00000000FFFFFFFFE8030000E7\n");

    Record<3> back;
    ASSERT_TRUE(back.Read("TX", "opt", ini));
    EXPECT_EQ(back.At(1), 0xFFFFFFFFu);
    EXPECT_EQ(back.At(2), 1000u);
}

TEST(Record, AMissingOrWrongSizedValueIsRefusedAndLeavesTheBytes)
{
    testing::TempFolder folder;
    const std::string ini = folder.File("record.ini");
    ASSERT_TRUE(Record<2>::From({1, 2}).Write("RX", "opt", ini));
    Record<3> wider = Record<3>::From({7, 7, 7});
    EXPECT_FALSE(wider.Read("RX", "opt", ini));
    EXPECT_FALSE(wider.Read("RX", "missing", ini));
    EXPECT_EQ(wider.At(0), 7u);
    EXPECT_EQ(wider.At(2), 7u);
}

} // namespace
} // namespace settings
