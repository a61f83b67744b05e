#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "fakes/fake_serial.h"
#include "serial/com_port.h"
#include "serial/tests/recording_backend.h"

namespace {

using fakes::SerialEvent;
using Kind = SerialEvent::Kind;

const std::string kPort = "/dev/ttyUSB0";

class ComPortTest : public ::testing::Test {
protected:
    ComPortTest() { devices.AddPort(kPort); }

    std::unique_ptr<CComPort> OpenPort(std::uint32_t baud = 9600)
    {
        auto port = std::make_unique<CComPort>(devices);
        port->m_strPort = kPort;
        EXPECT_EQ(port->Open(baud), 1);
        devices.ClearLog();
        return port;
    }

    std::vector<Kind> Kinds() const
    {
        std::vector<Kind> kinds;
        for (const auto& event : devices.Log())
            kinds.push_back(event.kind);
        return kinds;
    }

    serial_test::RecordingBackend backend;
    fakes::FakeDeviceSystem devices;
};

TEST_F(ComPortTest, ConstructedClosedWithTheDesignedRecord)
{
    CComPort port(devices);
    EXPECT_EQ(port.m_hComm, nullptr);
    EXPECT_EQ(port.m_dcb.DCBlength, 28u);
    EXPECT_EQ(port.m_dcb.BaudRate, 0u);
    EXPECT_TRUE(port.m_dcb.fBinary);
    EXPECT_EQ(port.m_dcb.ByteSize, 8);
    EXPECT_EQ(port.m_dcb.Parity, NOPARITY);
    EXPECT_EQ(port.m_dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(port.m_dcb.fDtrControl, DTR_CONTROL_DISABLE);
    EXPECT_EQ(port.m_dcb.fRtsControl, RTS_CONTROL_DISABLE);
}

TEST_F(ComPortTest, OpenAppliesTheRateAndSavesTheResultingState)
{
    CComPort port(devices);
    port.m_strPort = kPort;
    ASSERT_EQ(port.Open(56000), 1);
    EXPECT_TRUE(devices.IsOpen(kPort));
    EXPECT_EQ((std::vector<Kind>{Kind::Open, Kind::SetState}), Kinds());
    EXPECT_EQ(devices.Log()[1].dcb.BaudRate, 56000u);
    EXPECT_EQ(port.m_dcbSaved, devices.State(kPort));
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(ComPortTest, OpenFailureReturnsTheSystemTextShowsNothingAndStaysClosed)
{
    CComPort missing(devices);
    missing.m_strPort = "/dev/ttyUSB9";
    const CComPort::OpenResult gone = missing.Open(9600);
    EXPECT_EQ(gone, 0);
    EXPECT_EQ(gone.failure, std::string("Open '/dev/ttyUSB9': Failed.\n") + std::strerror(ENOENT));
    EXPECT_EQ(missing.m_hComm, nullptr);

    CComPort unnamed(devices);
    EXPECT_EQ(unnamed.Open(9600).failure, std::string("Open '': Failed.\n") + std::strerror(ENOENT));

    devices.FailOpen(kPort, EACCES);
    CComPort refused(devices);
    refused.m_strPort = kPort;
    EXPECT_EQ(refused.Open(9600).failure, std::string("Open '/dev/ttyUSB0': Failed.\n") + std::strerror(EACCES));

    EXPECT_TRUE(backend.messages.empty());
    EXPECT_TRUE(devices.Log().empty());
}

TEST_F(ComPortTest, SecondOpenOfAHeldPortIsRefused)
{
    auto first = OpenPort();
    CComPort second(devices);
    second.m_strPort = kPort;
    const CComPort::OpenResult result = second.Open(9600);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.failure, std::string("Open '/dev/ttyUSB0': Failed.\n") + std::strerror(EBUSY));
    EXPECT_TRUE(devices.IsOpen(kPort));
}

TEST_F(ComPortTest, RejectedFirstSettingsCloseSilently)
{
    devices.RejectState(kPort, [](const DCB& dcb) { return dcb.BaudRate == 110; });
    CComPort port(devices);
    port.m_strPort = kPort;
    const CComPort::OpenResult result = port.Open(110);
    EXPECT_FALSE(result.opened);
    EXPECT_TRUE(result.failure.empty());
    EXPECT_EQ(port.m_hComm, nullptr);
    EXPECT_FALSE(devices.IsOpen(kPort));
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_EQ((std::vector<Kind>{Kind::Open, Kind::SetState, Kind::Close}), Kinds());
}

TEST_F(ComPortTest, ClosedObjectAndEmptyWritesTouchNothing)
{
    CComPort closed(devices);
    std::uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(closed.Read(buffer, 4), -1);
    EXPECT_EQ(closed.Write(buffer, 4), 0);
    EXPECT_EQ(closed.ApplySettings(), 0);
    closed.Close();
    EXPECT_TRUE(devices.Log().empty());

    auto open = OpenPort();
    EXPECT_EQ(open->Write(buffer, 0), 0);
    EXPECT_TRUE(devices.Log().empty());
}

TEST_F(ComPortTest, SettingsAndWritesReachTheDeviceInCallOrder)
{
    auto port = OpenPort();
    const std::uint8_t address = 0x01, data[] = {0x48, 0x65};
    port->m_dcb.Parity = MARKPARITY;
    port->ApplySettings();
    EXPECT_EQ(port->Write(&address, 1), 1);
    port->m_dcb.Parity = SPACEPARITY;
    port->ApplySettings();
    EXPECT_EQ(port->Write(data, 2), 1);

    const auto& log = devices.Log();
    ASSERT_EQ((std::vector<Kind>{Kind::SetState, Kind::Write, Kind::SetState, Kind::Write}), Kinds());
    EXPECT_EQ(log[0].dcb.Parity, MARKPARITY);
    EXPECT_EQ(log[1].bytes, std::vector<std::uint8_t>{0x01});
    EXPECT_EQ(log[2].dcb.Parity, SPACEPARITY);
    EXPECT_EQ(log[3].bytes, (std::vector<std::uint8_t>{0x48, 0x65}));
}

TEST_F(ComPortTest, WriteReportsAFailedDevice)
{
    auto port = OpenPort();
    const std::uint8_t byte = 0x55;
    EXPECT_EQ(port->Write(&byte, 1), 1);
    devices.RemovePort(kPort); // unplugged while open
    EXPECT_EQ(port->Write(&byte, 1), 0);
    EXPECT_EQ(devices.WrittenBytes(kPort), std::vector<std::uint8_t>{0x55});
}

TEST_F(ComPortTest, ReadReturnsWhatArrivedUpToCount)
{
    auto port = OpenPort();
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(port->Read(buffer, 8), 0);
    devices.Feed(kPort, {1, 2, 3, 4, 5});
    EXPECT_EQ(port->Read(buffer, 3), 3);
    EXPECT_EQ(port->Read(buffer + 3, 8), 2);
    EXPECT_EQ((std::vector<std::uint8_t>(buffer, buffer + 5)), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(ComPortTest, CloseRestoresTheFirstSettingsOnceAndDestructionCloses)
{
    auto port = OpenPort(19200);
    const DCB saved = port->m_dcbSaved;
    port->m_dcb.ByteSize = 7;
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->m_dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    port->ApplySettings();

    port->Close();
    EXPECT_EQ(devices.State(kPort), saved);
    EXPECT_EQ(port->m_hComm, nullptr);
    port->Close();
    EXPECT_EQ((std::vector<Kind>{Kind::SetState, Kind::SetState, Kind::Close}), Kinds());

    auto again = OpenPort(19200);
    again->m_dcb.Parity = MARKPARITY;
    again->ApplySettings();
    again.reset();
    EXPECT_FALSE(devices.IsOpen(kPort));
    EXPECT_EQ(devices.State(kPort).Parity, NOPARITY);
}

TEST_F(ComPortTest, AGoneDeviceIsReopenedWithTheSettingsInForce)
{
    auto port = OpenPort(19200);
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->ApplySettings();
    const std::uint8_t byte = 0x55;
    devices.Feed(kPort, {'b', 'y', 'e'}); // the board's last words, not read yet
    devices.RemovePort(kPort);
    EXPECT_TRUE(port->IsDeviceGone());
    EXPECT_EQ(port->Write(&byte, 1), 0);
    EXPECT_EQ(port->Reopen(), 0);
    EXPECT_TRUE(port->IsDeviceGone());

    devices.AddPort(kPort);
    EXPECT_TRUE(port->IsDeviceGone()); // the old device stays gone
    EXPECT_EQ(port->Reopen(), 1);
    EXPECT_FALSE(port->IsDeviceGone());
    std::uint8_t last[8]{};
    EXPECT_EQ(port->Read(last, sizeof last), 3); // kept across the reopening
    EXPECT_EQ(std::string(last, last + 3), "bye");
    EXPECT_EQ(devices.State(kPort), port->m_dcb);
    EXPECT_EQ(port->Write(&byte, 1), 1);
    EXPECT_TRUE(backend.messages.empty());

    const DCB saved = port->m_dcbSaved;
    port->Close();
    EXPECT_EQ(devices.State(kPort), saved);
    EXPECT_FALSE(devices.IsOpen(kPort));
}

} // namespace
