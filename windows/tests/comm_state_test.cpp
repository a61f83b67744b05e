#include "windows/comm_state.h"
#include "windows/windows_device_system.h"

#include <gtest/gtest.h>

namespace win32_com {
namespace {

// Every field set to a value of its own, so a field mapped to another, or
// not at all, shows.
DCB DistinctRecord()
{
    DCB record;
    record.BaudRate = 115200;
    record.fParity = true;
    record.fOutxCtsFlow = true;
    record.fDtrControl = DTR_CONTROL_HANDSHAKE;
    record.fTXContinueOnXoff = true;
    record.fInX = true;
    record.fNull = true;
    record.fRtsControl = RTS_CONTROL_ENABLE;
    record.XonLim = 111;
    record.XoffLim = 222;
    record.ByteSize = 7;
    record.Parity = MARKPARITY;
    record.StopBits = TWOSTOPBITS;
    record.XonChar = 0x11;
    record.XoffChar = 0x13;
    record.ErrorChar = '?';
    record.EofChar = 0x1A;
    record.EvtChar = '\n';
    return record;
}

TEST(CommState, EveryFieldOfTheRecordReachesTheSystemsBlockAndComesBack)
{
    Win32Dcb current{};
    current.wReserved = 7; // not the record's: kept
    const DCB record = DistinctRecord();
    const Win32Dcb block = ToWin32(record, current);
    EXPECT_EQ(block.DCBlength, sizeof(Win32Dcb));
    EXPECT_EQ(block.Parity, MARKPARITY);
    EXPECT_EQ(block.StopBits, TWOSTOPBITS);
    EXPECT_EQ(block.fDtrControl, DTR_CONTROL_HANDSHAKE);
    EXPECT_EQ(block.wReserved, 7);
    EXPECT_EQ(FromWin32(block), record);

    DCB inverse = record;
    inverse.fParity = false;
    inverse.fOutxCtsFlow = false;
    inverse.fOutxDsrFlow = true;
    inverse.fDsrSensitivity = true;
    inverse.fTXContinueOnXoff = false;
    inverse.fOutX = true;
    inverse.fInX = false;
    inverse.fErrorChar = true;
    inverse.fNull = false;
    inverse.fAbortOnError = true;
    inverse.Parity = SPACEPARITY;
    EXPECT_EQ(FromWin32(ToWin32(inverse, current)), inverse);
}

// The ninth bit shown: SPACE with checking (errors kept, not replaced or
// stopping the port) whatever the record's parity, and MARK unchecked.
TEST(CommState, TheNinthBitModeChecksAtSpaceAndNotAtMark)
{
    DCB record = DistinctRecord();
    record.fMarkNinthBit = true;
    record.fErrorChar = true;
    record.fAbortOnError = true;
    for (const int parity : {NOPARITY, EVENPARITY, SPACEPARITY, MARKPARITY}) {
        record.Parity = static_cast<std::uint8_t>(parity);
        const Win32Dcb block = ToWin32(record, Win32Dcb{});
        EXPECT_EQ(block.Parity, parity == MARKPARITY ? MARKPARITY : SPACEPARITY);
        EXPECT_EQ(block.fParity != 0, parity != MARKPARITY);
        EXPECT_FALSE(block.fErrorChar || block.fAbortOnError);
    }
}

TEST(ComPorts, NamesBecomeDevicePaths)
{
    EXPECT_EQ(DevicePath("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

} // namespace
} // namespace win32_com
