#include <gtest/gtest.h>

#include "linux/termios_record.h"

namespace {

using linux_tty::RecordToTermios;
using linux_tty::TermiosToRecord;

DCB Record(std::uint32_t baud, std::uint8_t size, std::uint8_t parity, std::uint8_t stop)
{
    DCB dcb;
    dcb.BaudRate = baud;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stop;
    return dcb;
}

// A terminal as a fresh device comes up: cooked, echoing, with odd parity.
termios2 CookedTerminal()
{
    termios2 tio{};
    tio.c_iflag = ICRNL | IXON | BRKINT | INPCK;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_cflag = B9600 | CS7 | PARENB | PARODD | CREAD;
    tio.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    return tio;
}

TEST(TermiosRecord, MakesARawLineWithTheRecordsSettings)
{
    termios2 tio = CookedTerminal();
    ASSERT_TRUE(RecordToTermios(Record(9600, 8, NOPARITY, ONESTOPBIT), tio));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | BRKINT | INPCK), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 1);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST(TermiosRecord, DataBitsAndStopBits)
{
    termios2 tio{};
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (std::uint8_t bits = 5; bits <= 8; ++bits) {
        ASSERT_TRUE(RecordToTermios(Record(9600, bits, NOPARITY, ONESTOPBIT), tio));
        EXPECT_EQ(tio.c_cflag & CSIZE, sizes[bits - 5]);
    }
    ASSERT_TRUE(RecordToTermios(Record(9600, 5, NOPARITY, ONE5STOPBITS), tio));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    ASSERT_TRUE(RecordToTermios(Record(9600, 8, NOPARITY, TWOSTOPBITS), tio));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    ASSERT_TRUE(RecordToTermios(Record(9600, 8, NOPARITY, ONESTOPBIT), tio));
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
}

TEST(TermiosRecord, MarkAndSpaceUseStickParityAndLeaveNoTraceWhenDropped)
{
    const tcflag_t parityBits = PARENB | PARODD | CMSPAR;
    struct Case {
        std::uint8_t parity;
        tcflag_t expected;
    };
    const Case cases[] = {
        {NOPARITY, 0},
        {ODDPARITY, PARENB | PARODD},
        {EVENPARITY, PARENB},
        {MARKPARITY, PARENB | CMSPAR | PARODD},
        {SPACEPARITY, PARENB | CMSPAR},
    };
    // Every parity, reached from mark and from space, ends with its own bits only.
    for (const std::uint8_t from : {MARKPARITY, SPACEPARITY}) {
        for (const Case& c : cases) {
            termios2 tio{};
            ASSERT_TRUE(RecordToTermios(Record(9600, 8, from, ONESTOPBIT), tio));
            ASSERT_TRUE(RecordToTermios(Record(9600, 8, c.parity, ONESTOPBIT), tio));
            EXPECT_EQ(tio.c_cflag & parityBits, c.expected) << int(from) << " -> " << int(c.parity);
            DCB back;
            TermiosToRecord(tio, back);
            EXPECT_EQ(back.Parity, c.parity);
        }
    }
}

// The ninth-bit mode reads every parity but MARK as SPACE, with errors
// marked, from a terminal that came up cooked with parity stripped.
TEST(TermiosRecord, TheNinthBitModeReadsAtSpaceWithErrorsMarked)
{
    for (const std::uint8_t parity : {NOPARITY, ODDPARITY, EVENPARITY, SPACEPARITY}) {
        termios2 tio = CookedTerminal();
        tio.c_iflag |= IGNPAR | ISTRIP;
        DCB dcb = Record(9600, 8, parity, ONESTOPBIT);
        dcb.fMarkNinthBit = true;
        ASSERT_TRUE(RecordToTermios(dcb, tio));
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | CMSPAR));
        EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP), static_cast<tcflag_t>(INPCK | PARMRK));
        // Read back, the terminal's parity is what it is: a record saved
        // from a terminal someone else left marking restores its parity.
        DCB back;
        TermiosToRecord(tio, back);
        EXPECT_FALSE(back.fMarkNinthBit);
        EXPECT_EQ(back.Parity, SPACEPARITY);
    }
}

TEST(TermiosRecord, RatesWithoutACodeGoOutAsFreeRates)
{
    termios2 tio{};
    ASSERT_TRUE(RecordToTermios(Record(115200, 8, NOPARITY, ONESTOPBIT), tio));
    EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B115200));
    for (const std::uint32_t rate : {14400u, 56000u, 250000u}) {
        ASSERT_TRUE(RecordToTermios(Record(rate, 8, NOPARITY, ONESTOPBIT), tio));
        EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
        EXPECT_EQ(tio.c_cflag & (CBAUD << IBSHIFT), 0u); // input follows output
        EXPECT_EQ(tio.c_ospeed, rate);
        DCB back;
        TermiosToRecord(tio, back);
        EXPECT_EQ(back.BaudRate, rate);
    }
}

TEST(TermiosRecord, ReadingBackKeepsWhatTheTerminalCannotSay)
{
    termios2 tio{};
    DCB sent = Record(2400, 5, EVENPARITY, ONE5STOPBITS);
    sent.fDtrControl = DTR_CONTROL_HANDSHAKE;
    ASSERT_TRUE(RecordToTermios(sent, tio));
    DCB back = sent;
    TermiosToRecord(tio, back);
    EXPECT_EQ(back, sent);

    DCB fresh; // one stop bit believed, two found
    TermiosToRecord(tio, fresh);
    EXPECT_EQ(fresh.StopBits, TWOSTOPBITS);
}

TEST(TermiosRecord, RefusesRecordsNoLineCanCarry)
{
    termios2 tio = CookedTerminal();
    const termios2 before = tio;
    EXPECT_FALSE(RecordToTermios(Record(0, 8, NOPARITY, ONESTOPBIT), tio));
    EXPECT_FALSE(RecordToTermios(Record(9600, 4, NOPARITY, ONESTOPBIT), tio));
    EXPECT_FALSE(RecordToTermios(Record(9600, 9, NOPARITY, ONESTOPBIT), tio));
    EXPECT_FALSE(RecordToTermios(Record(9600, 8, 5, ONESTOPBIT), tio));
    EXPECT_FALSE(RecordToTermios(Record(9600, 8, NOPARITY, 3), tio));
    EXPECT_EQ(tio.c_cflag, before.c_cflag);
    EXPECT_EQ(tio.c_lflag, before.c_lflag);
}

} // namespace
