#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "fakes/pty_pair.h"
#include "linux/linux_device_system.h"
#include "linux/termios_record.h"
#include "serial/baud_rates.h"
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

// Root passes any mode; tools/test_unprivileged.sh runs this as a normal user.
TEST_F(PtyPortTest, PermissionDeniedNamesTheGroupToJoin)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root is never refused; runs as a normal user";
    struct stat st {};
    ASSERT_EQ(::stat(pty.SlavePath().c_str(), &st), 0);
    const group* owner = ::getgrgid(st.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string name = owner->gr_name;
    const std::string refused = "Open '" + pty.SlavePath() + "': Failed.\n" + std::strerror(EACCES);

    // The group may read and write, its owner (this user) may not.
    ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0060), 0);
    CComPort port(devices);
    port.m_strPort = pty.SlavePath();
    EXPECT_EQ(port.Open(9600).failure, refused + "\nMembers of the group '" + name +
                                           "' may use it: add yourself with 'sudo usermod -aG " + name +
                                           " $USER', then log out and in again.");

    // Joining a group that may not write either would not help.
    ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0040), 0);
    EXPECT_EQ(port.Open(9600).failure, refused);
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
    const Bytes first = Pattern(48 * 1024); // more than the terminal buffers, less than the queue takes
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
    // The list's rows, with rates of the user's that have no B constant.
    for (const std::uint32_t rate : serial::BaudRateRows("250000;1843200")) {
        EXPECT_EQ(port->SetBaudRate(rate), 1);
        EXPECT_EQ(FarEndSettings().BaudRate, rate);
    }
    for (const std::uint32_t rate : {1500000u, 250000u}) {
        port->SetBaudRate(rate);
        termios2 tio{};
        ASSERT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
        EXPECT_EQ(tio.c_ospeed, rate);
    }
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->ApplySettings();
    EXPECT_EQ(FarEndSettings().StopBits, TWOSTOPBITS);
    port->m_dcb.StopBits = ONESTOPBIT;
    port->ApplySettings();
    EXPECT_EQ(FarEndSettings().StopBits, ONESTOPBIT);
}

// With the ninth bit shown, the line reads at SPACE parity with errors
// marked whatever the Parity list says, and at MARK (an address going out)
// unmarked. A pseudo-terminal has no parity errors, but its line
// discipline doubles a real FF: FF 00 41 from the far end is data, not an
// address 41.
TEST_F(PtyPortTest, TheNinthBitModeReadsAtSpaceParityWithErrorsMarked)
{
    auto port = OpenPort(115200);
    port->m_dcb.Parity = EVENPARITY;
    port->m_dcb.fMarkNinthBit = true;
    ASSERT_EQ(port->ApplySettings(), 1);
    termios2 tio{};
    ASSERT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
    // (A pseudo-terminal clears PARENB itself; the stick bits stay.)
    EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(CMSPAR));
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP), static_cast<tcflag_t>(INPCK | PARMRK));

    pty.SendFromFarEnd({0xFF, 0x00, 0x41});
    EXPECT_EQ(ReadAll(*port, 4, 2s), (Bytes{0xFF, 0xFF, 0x00, 0x41}));

    const Bytes frame{0x01, 0x48};
    ASSERT_EQ(port->WriteFrame(frame.data(), 2, 1), 1);
    EXPECT_EQ(pty.ReceiveAtFarEnd(2, 2s), frame);
    ASSERT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK), static_cast<tcflag_t>(INPCK | PARMRK)); // back at SPACE

    port->m_dcb.Parity = MARKPARITY;
    ASSERT_EQ(port->ApplySettings(), 1);
    ASSERT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK), static_cast<tcflag_t>(PARMRK));

    port->m_dcb.fMarkNinthBit = false;
    port->m_dcb.Parity = NOPARITY;
    ASSERT_EQ(port->ApplySettings(), 1);
    ASSERT_EQ(::ioctl(pty.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK), 0u);
    EXPECT_EQ(tio.c_cflag & CMSPAR, 0u);
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

// The exclusive-use flag outlives a descriptor on a pseudo-terminal; left
// set it locks every normal user out until the far end closes. Run as a
// normal user the reopening fails outright; as root the flag shows it.
TEST_F(PtyPortTest, ReopensAfterEveryKindOfClose)
{
    const auto flagLeftSet = [this] {
        const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(fd, 0) << std::strerror(errno);
        int exclusive = -1;
        ::ioctl(fd, TIOCGEXCL, &exclusive);
        ::close(fd);
        return exclusive != 0;
    };
    for (int round = 0; round < 3; ++round) {
        auto port = OpenPort();
        if (round == 1)
            port.reset(); // destruction without Close
        else
            port->Close();
        EXPECT_FALSE(flagLeftSet()) << "round " << round;
    }
    CComPort refused(devices); // opens, then rejects its first settings
    refused.m_strPort = pty.SlavePath();
    EXPECT_EQ(refused.Open(0), 0);
    EXPECT_FALSE(flagLeftSet());
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(PtyPortTest, CloseDiscardsOutputTheFarEndNeverTakesAndRestoresTheSettings)
{
    auto port = OpenPort(9600);
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->SetBaudRate(19200);
    const Bytes stuck = Pattern(32 * 1024);
    EXPECT_EQ(port->Write(stuck.data(), static_cast<std::uint32_t>(stuck.size())), 1);
    port->m_dcb.Parity = MARKPARITY; // queued behind the stuck bytes
    port->ApplySettings();

    const auto start = Clock::now();
    port->Close();
    EXPECT_LT(Clock::now() - start, 1s); // the goal is measured in bench/
    const DCB after = FarEndSettings();
    EXPECT_EQ(after.BaudRate, 9600u);
    EXPECT_EQ(after.StopBits, ONESTOPBIT);
    EXPECT_EQ(after.Parity, NOPARITY);
    auto again = OpenPort(9600);
    EXPECT_EQ(again->m_dcbSaved.BaudRate, 9600u);
}

// Opens and closes while the far end streams every byte value and the
// terminal starts each time in the kernel's cooked mode, where 0x03 flushes
// the line and a following 0x04 reads as end of file. Every opening must
// succeed, and what is read must be the stream unaltered.
TEST_F(PtyPortTest, OpensWhileTheFarEndStreamsIntoACookedTerminal)
{
    std::atomic<bool> stop{false};
    std::thread peer([&] {
        std::array<std::uint8_t, 256> all{};
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<std::uint8_t>(i);
        std::size_t at = 0;
        std::array<std::uint8_t, 512> echoed{};
        while (!stop) {
            pollfd fd{pty.MasterFd(), POLLOUT | POLLIN, 0};
            if (::poll(&fd, 1, 5) <= 0)
                continue;
            if (fd.revents & POLLIN) // echo of the cooked mode
                [[maybe_unused]]
                const auto ignored = ::read(pty.MasterFd(), echoed.data(), echoed.size());
            if (fd.revents & POLLOUT) {
                const ssize_t put = ::write(pty.MasterFd(), all.data() + at, all.size() - at);
                if (put > 0)
                    at = (at + static_cast<std::size_t>(put)) % all.size();
            }
        }
    });
    ASSERT_EQ(::fcntl(pty.MasterFd(), F_SETFL, O_NONBLOCK), 0);

    int failures = 0;
    for (int cycle = 0; cycle < 40 && failures == 0; ++cycle) {
        termios2 tio{};
        ::ioctl(pty.MasterFd(), TCGETS2, &tio);
        tio.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
        tio.c_iflag |= ICRNL;
        ::ioctl(pty.MasterFd(), TCSETS2, &tio);

        CComPort port(devices);
        port.m_strPort = pty.SlavePath();
        if (port.Open(115200) != 1) {
            ++failures;
            break;
        }
        const Bytes got = ReadAll(port, 600, 2s);
        bool unaltered = got.size() >= 600 && !port.IsDeviceGone();
        for (std::size_t i = 1; i < got.size(); ++i)
            unaltered = unaltered && got[i] == static_cast<std::uint8_t>(got[i - 1] + 1);
        failures += unaltered ? 0 : 1;
        EXPECT_TRUE(unaltered) << "cycle " << cycle;
        port.Close();
    }
    stop = true;
    peer.join();
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(backend.messages.empty());
}

// A far end that never reads: writes keep returning at once, the queue stops
// taking frames at its bound, and once the far end reads, exactly the frames
// taken arrive, in order.
TEST_F(PtyPortTest, WritesToAFarEndThatNeverReadsReturnAtOnceAndStayBounded)
{
    auto port = OpenPort(9600);
    Bytes accepted;
    int refused = 0;
    auto slowest = Clock::duration::zero();
    for (int frame = 0; frame < 200; ++frame) {
        Bytes bytes = Pattern(1000);
        bytes[0] = static_cast<std::uint8_t>(frame);
        const auto start = Clock::now();
        const int taken = port->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        slowest = std::max(slowest, Clock::now() - start);
        if (taken)
            accepted.insert(accepted.end(), bytes.begin(), bytes.end());
        else
            ++refused;
    }
    EXPECT_LT(slowest, 100ms);
    EXPECT_GT(refused, 0);
    EXPECT_LT(accepted.size(), 160'000u); // the queue's 64 KiB and the kernel's buffers

    EXPECT_EQ(pty.ReceiveAtFarEnd(accepted.size(), 5s), accepted);
    EXPECT_TRUE(pty.ReceiveAtFarEnd(1, 50ms).empty());
    const std::uint8_t more = 0x7E;
    EXPECT_EQ(port->Write(&more, 1), 1);
    EXPECT_EQ(pty.ReceiveAtFarEnd(1, 2s), Bytes{more});
}

// A loaded file queued for a far end that never reads: Close discards what
// has not left, from the queue and from the driver's buffer, says how much,
// and lets the file go.
TEST_F(PtyPortTest, CloseTellsWhatItDiscardedAndLetsAQueuedFileGo)
{
    auto port = OpenPort(9600);
    constexpr std::uint32_t kFileSize = 300'000;
    std::shared_ptr<const std::uint8_t[]> file = std::make_shared<std::uint8_t[]>(kFileSize, 0x5A);
    EXPECT_EQ(port->WriteShared(file, kFileSize), 1);
    EXPECT_GT(file.use_count(), 1);
    const std::uint64_t discarded = port->Close();
    EXPECT_GT(discarded, 0u);
    EXPECT_LE(discarded, kFileSize);
    EXPECT_EQ(file.use_count(), 1);
}

// A bridge's link that dies and comes back pointing at a new terminal.
TEST_F(PtyPortTest, AGoneDeviceRefusesWritesAndReopensWithItsSettings)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vantrel-link-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto link = dir / "port";
    const auto pointAt = [&](const std::string& target) {
        std::filesystem::remove(link);
        std::filesystem::create_symlink(target, link);
    };
    pointAt(pty.SlavePath());

    auto port = std::make_unique<CComPort>(devices);
    port->m_strPort = link.string();
    ASSERT_EQ(port->Open(9600), 1);
    port->m_dcb.StopBits = TWOSTOPBITS;
    port->SetBaudRate(19200);
    EXPECT_FALSE(port->IsDeviceGone());
    EXPECT_EQ(port->Reopen(), 1); // nothing to do

    pty.CloseFarEnd();
    const auto deadline = Clock::now() + 2s;
    while (!port->IsDeviceGone() && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(port->IsDeviceGone());
    const std::uint8_t byte = 0x42;
    EXPECT_EQ(port->Write(&byte, 1), 0);
    std::filesystem::remove(link);
    EXPECT_EQ(port->Reopen(), 0);
    EXPECT_EQ(port->Write(&byte, 1), 0);

    fakes::PtyPair back;
    pointAt(back.SlavePath());
    ASSERT_EQ(port->Reopen(), 1);
    EXPECT_FALSE(port->IsDeviceGone());
    termios2 tio{};
    ASSERT_EQ(::ioctl(back.MasterFd(), TCGETS2, &tio), 0);
    DCB settings;
    linux_tty::TermiosToRecord(tio, settings);
    EXPECT_EQ(settings.BaudRate, 19200u);
    EXPECT_EQ(settings.StopBits, TWOSTOPBITS);
    EXPECT_EQ(port->Write(&byte, 1), 1);
    EXPECT_EQ(back.ReceiveAtFarEnd(1, 2s), Bytes{byte});

    fakes::PtyPair other; // the link now leads elsewhere: the device is gone
    pointAt(other.SlavePath());
    EXPECT_TRUE(port->IsDeviceGone());
    port->Close();
    EXPECT_TRUE(backend.messages.empty());
    std::filesystem::remove_all(dir);
}

} // namespace
