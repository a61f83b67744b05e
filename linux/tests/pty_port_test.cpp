#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/ioctl.h>
#include <thread>

#include "fakes/pty_pair.h"
#include "linux/linux_device_system.h"
#include "linux/termios_record.h"
#include "serial/com_port.h"
#include "serial/line_tables.h"
#include "serial/tests/recording_backend.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

class PtyPortTest : public ::testing::Test {
protected:
    std::unique_ptr<CComPort> OpenPort(std::uint32_t baud = 9600)
    {
        auto port = std::make_unique<CComPort>(devices);
        port->m_strPort = pty.SlavePath();
        EXPECT_EQ(port->Open(baud), 1);
        return port;
    }

    // The line settings as the far end sees them (the master reports the slave's).
    DCB FarEndSettings()
    {
        termios2 tio{};
        EXPECT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
        DCB dcb;
        linux_tty::TermiosToRecord(tio, dcb);
        return dcb;
    }

    static Bytes Pattern(std::size_t count)
    {
        Bytes bytes(count);
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        return bytes;
    }

    static Bytes ReadAll(CComPort& port, std::size_t count, std::chrono::milliseconds timeout)
    {
        Bytes got;
        const auto deadline = Clock::now() + timeout;
        std::uint8_t buffer[128];
        while (got.size() < count && Clock::now() < deadline) {
            const std::int32_t n = port.Read(buffer, sizeof buffer);
            got.insert(got.end(), buffer, buffer + std::max(n, 0));
            if (n == 0)
                std::this_thread::sleep_for(1ms);
        }
        return got;
    }

    serial_test::RecordingBackend backend;
    linux_tty::LinuxDevices devices;
    fakes::PtyPair pty;
};

TEST_F(PtyPortTest, HeldExclusivelyUntilClosed)
{
    auto port = OpenPort();
    CComPort second(devices);
    second.m_strPort = pty.SlavePath();
    const CComPort::OpenResult refused = second.Open(9600);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(refused.failure, "Open '" + pty.SlavePath() + "': Failed.\n" + std::strerror(EBUSY));

    port->Close();
    port->Close();
    EXPECT_EQ(port->m_hComm, nullptr);
    EXPECT_EQ(second.Open(9600), 1);
}

TEST_F(PtyPortTest, OpeningSomethingThatIsNotATerminalIsExplained)
{
    CComPort port(devices);
    port.m_strPort = "/dev/null";
    const CComPort::OpenResult result = port.Open(9600);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(result.failure, std::string("Open '/dev/null': Failed.\n") + std::strerror(ENOTTY));
}

TEST_F(PtyPortTest, ReadWithNothingWaitingReturnsAtOnce)
{
    auto port = OpenPort();
    std::uint8_t buffer[128];
    auto longest = Clock::duration::zero();
    for (int i = 0; i < 100; ++i) {
        const auto start = Clock::now();
        EXPECT_EQ(port->Read(buffer, sizeof buffer), 0);
        longest = std::max(longest, Clock::now() - start);
    }
    EXPECT_LT(longest, 5ms);
}

TEST_F(PtyPortTest, EveryByteValueTravelsBothWaysUnchanged)
{
    auto port = OpenPort(115200);
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);

    pty.SendFromFarEnd(all);
    EXPECT_EQ(ReadAll(*port, all.size(), 2s), all);

    EXPECT_EQ(port->Write(all.data(), static_cast<std::uint32_t>(all.size())), 1);
    EXPECT_EQ(pty.ReceiveAtFarEnd(all.size(), 2s), all);
}

TEST_F(PtyPortTest, LargeWriteToASlowReaderArrivesWholeAndBeforeLaterSettings)
{
    auto port = OpenPort(9600);
    const Bytes first = Pattern(256 * 1024); // far more than the terminal buffers
    const Bytes second = {0xA5, 0x5A};

    const auto start = Clock::now();
    EXPECT_EQ(port->Write(first.data(), static_cast<std::uint32_t>(first.size())), 1);
    EXPECT_LT(Clock::now() - start, 1500ms);

    // Queued behind unsent bytes, the new rate must not reach the line yet.
    port->m_dcb.BaudRate = 19200;
    EXPECT_EQ(port->ApplySettings(), 1);
    EXPECT_EQ(FarEndSettings().BaudRate, 9600u);
    EXPECT_EQ(port->Write(second.data(), 2), 1);

    const Bytes got = pty.ReceiveAtFarEnd(first.size() + second.size(), 10s);
    ASSERT_EQ(got.size(), first.size() + second.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), got.begin()));
    EXPECT_EQ(got[first.size()], 0xA5);
    EXPECT_EQ(got[first.size() + 1], 0x5A);
    EXPECT_EQ(FarEndSettings().BaudRate, 19200u);
}

TEST_F(PtyPortTest, EveryTableRateAndStopBitsReachTheLine)
{
    auto port = OpenPort();
    for (const std::uint32_t rate : kBaudRates) {
        EXPECT_EQ(port->SetBaudRate(rate), 1);
        EXPECT_EQ(FarEndSettings().BaudRate, rate);
    }
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->ApplySettings();
    EXPECT_EQ(FarEndSettings().StopBits, TWOSTOPBITS);
    port->m_dcb.StopBits = ONESTOPBIT;
    port->ApplySettings();
    EXPECT_EQ(FarEndSettings().StopBits, ONESTOPBIT);
}

TEST_F(PtyPortTest, CloseRestoresTheSettingsOfTheOpening)
{
    auto port = OpenPort(57600);
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->SetBaudRate(14400);
    EXPECT_EQ(FarEndSettings().BaudRate, 14400u);
    port->Close();
    const DCB after = FarEndSettings();
    EXPECT_EQ(after.BaudRate, 57600u);
    EXPECT_EQ(after.StopBits, ONESTOPBIT);
}

TEST_F(PtyPortTest, WritesFailOnceTheLineHangsUp)
{
    auto port = OpenPort();
    const std::uint8_t byte = 0x42;
    EXPECT_EQ(port->Write(&byte, 1), 1);
    pty.CloseFarEnd();
    int result = 1;
    for (int i = 0; i < 200 && result == 1; ++i) {
        std::this_thread::sleep_for(5ms);
        result = port->Write(&byte, 1);
    }
    EXPECT_EQ(result, 0);
    port->Close(); // closing a failed device is quiet and quick
}

} // namespace
