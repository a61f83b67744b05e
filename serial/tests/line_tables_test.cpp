#include <gtest/gtest.h>

#include "serial/baud_rates.h"
#include "serial/character_time.h"
#include "serial/line_tables.h"

namespace {

TEST(LineTables, RowsOutsideATableFallBackToItsDefaultRow)
{
    EXPECT_EQ(serial::BaudRateAt(0), 110u);
    EXPECT_EQ(serial::BaudRateAt(12), 115200u);
    EXPECT_EQ(serial::BaudRateAt(13), 9600u);
    EXPECT_EQ(serial::BaudRateAt(-1), 9600u);
    EXPECT_EQ(serial::ByteSizeAt(0), 5);
    EXPECT_EQ(serial::ByteSizeAt(4), 8);
    EXPECT_EQ(serial::StopBitsAt(1), ONE5STOPBITS);
    EXPECT_EQ(serial::StopBitsAt(3), ONESTOPBIT);
    EXPECT_EQ(serial::ParityAt(4), SPACEPARITY);
    EXPECT_EQ(serial::ParityAt(5), NOPARITY);
    EXPECT_EQ(kParityNames[3].text, "Mark");
    EXPECT_EQ(kStopBitNames[1].text, "1.5");
}

TEST(BaudRates, TheBuiltInRowsComeFirstThenTheUsersInTheirOrder)
{
    const auto rows = serial::BaudRateRows(" 250000 ; 1843200;115200;x;0;-5;99999999999;250000;;");
    ASSERT_EQ(rows.size(), 28u);
    EXPECT_EQ(rows[12], 115200u);
    EXPECT_EQ(rows[13], 230400u);
    EXPECT_EQ(rows[20], 1500000u);
    EXPECT_EQ(rows[25], 4000000u);
    EXPECT_EQ(rows[26], 250000u);
    EXPECT_EQ(rows[27], 1843200u);
    EXPECT_EQ(serial::BaudRateAt(rows, 27), 1843200u);
    EXPECT_EQ(serial::BaudRateAt(rows, 28), 9600u);
    EXPECT_EQ(serial::BaudRateAt(serial::BaudRateRows(""), 26), 9600u);
}

TEST(CharacterTime, CountsStartDataParityAndStopBits)
{
    DCB dcb;
    dcb.BaudRate = 9600; // 10 bits
    EXPECT_EQ(serial::CharacterTime(dcb).count(), 1042);
    dcb.Parity = MARKPARITY;
    dcb.StopBits = ONE5STOPBITS; // 1 + 8 + 1 + 2 bits
    EXPECT_EQ(serial::CharacterTime(dcb).count(), 1250);
    dcb.BaudRate = 0;
    EXPECT_EQ(serial::CharacterTime(dcb).count(), 0);
}

} // namespace
