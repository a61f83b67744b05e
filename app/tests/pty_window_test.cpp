// The main window over a real pseudo-terminal: the program's own device
// layer on Linux, and the test playing the device at the far end.
#include "app/serial_dlg.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "serial/port_names.h"
#include "ui_headless/headless_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace res;
using namespace std::chrono_literals;

namespace {

class PtyWindowTest : public ::testing::Test {
protected:
    PtyWindowTest()
    {
        char pattern[] = "/tmp/vantrel-pty-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        // The pseudo-terminal is listed through the settings file's extra
        // paths, the way a user works with an emulator's port.
        std::ofstream(m_dir + "/vantrel.ini") << "[PORTS]\nextra=" << m_pty.SlavePath() << "\n";
        m_dlg = std::make_unique<CSerialDlg>(serial::LinuxDeviceSystem());
        m_dlg->m_strIniPath = m_dir + "/vantrel.ini";
        m_ui.RunModal(*m_dlg);
        auto& w = Win();
        const auto items = w.Items(IDC_PORT);
        const auto it = std::find(items.begin(), items.end(), serial::PortDisplayName(m_pty.SlavePath()));
        EXPECT_NE(it, items.end());
        w.Choose(IDC_PORT, static_cast<int>(it - items.begin()));
        w.Click(IDC_OPEN);
    }

    ~PtyWindowTest() override
    {
        Win().PressEscape();
        m_dlg.reset();
        std::filesystem::remove_all(m_dir);
    }

    ui::headless::HeadlessWindow& Win() { return m_ui.WindowOf(*m_dlg); }

    // Runs polls in real time until the counter label reads `label`.
    bool PollUntil(const std::string& label, std::chrono::milliseconds limit = 5s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            m_ui.Advance(kPollPeriodMs);
            if (Win().Text(IDC_RX_COUNT) == label)
                return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    fakes::PtyPair m_pty;
    ui::headless::HeadlessBackend m_ui;
    std::unique_ptr<CSerialDlg> m_dlg;
    std::string m_dir;
};

} // namespace

TEST_F(PtyWindowTest, AFastStreamLosesNothing)
{
    ASSERT_TRUE(m_dlg->m_pPort);
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    std::thread peer([&] { m_pty.SendFromFarEnd(bytes); });
    const bool all = PollUntil("RX: 200000", 20s);
    peer.join();
    EXPECT_TRUE(all) << Win().Text(IDC_RX_COUNT);
}

TEST_F(PtyWindowTest, AStalledReaderLeavesTheWindowAnsweringAndTheCounterTrue)
{
    ASSERT_TRUE(m_dlg->m_pPort);
    auto& w = Win();
    // A 1000-byte frame every 10 ms into a far end that does not read.
    w.Click(IDC_TX_ASCII);
    w.Type(IDC_TX, std::string(1000, 'U'));
    w.Type(IDC_TX_CYCLE, "10");
    w.Click(IDC_AUTO_SEND);
    using Clock = std::chrono::steady_clock;
    Clock::duration slowest{};
    const auto timed = [&](auto&& action) {
        const auto start = Clock::now();
        action();
        slowest = std::max(slowest, Clock::now() - start);
    };
    for (int tick = 0; tick < 300; ++tick)
        timed([&] { m_ui.Advance(10); });
    timed([&] { w.Click(IDC_AUTO_SEND); }); // unticking stops it at once
    w.Choose(IDC_ADDR_SIZE, 1);
    for (int click = 0; click < 20; ++click)
        timed([&] { w.Click(IDC_SEND); });
    EXPECT_LT(slowest, 100ms);

    // The queue refused what it could not hold; what it took all arrives.
    const std::string label = w.Text(IDC_TX_COUNT);
    const unsigned long counted = std::stoul(label.substr(label.find(' ') + 1));
    EXPECT_LT(counted, 300000u);
    EXPECT_EQ(m_pty.ReceiveAtFarEnd(counted + 1, 1500ms).size(), counted);
}

namespace {

// A bridge like those that stand in for a board: socat makes a terminal
// and a link to it, and writes what the program sends into a file.
class Bridge {
public:
    Bridge(const std::string& link, const std::string& output) : m_link(link)
    {
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string pty = "PTY,rawer,link=" + link;
            const std::string out = "OPEN:" + output + ",creat,trunc";
            ::execlp("socat", "socat", "-u", pty.c_str(), out.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!std::filesystem::exists(link) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(5ms);
    }
    ~Bridge() { Stop(); }
    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;

    bool Up() const { return std::filesystem::exists(m_link); }
    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        std::error_code ignored;
        std::filesystem::remove(m_link, ignored); // as a bridge that was killed hard leaves it
    }

private:
    std::string m_link;
    pid_t m_pid = -1;
};

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the bridge wrote to its file once it holds `expected`, or after 5 s.
std::string BridgeOutput(const std::string& path, const std::string& expected)
{
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (FileText(path) != expected && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    return FileText(path);
}

} // namespace

TEST(BridgeWindowTest, ABridgeThatComesBackIsReconnectedWithItsSettings)
{
    if (std::system("command -v socat >/dev/null") != 0)
        GTEST_SKIP() << "socat is not installed";
    char pattern[] = "/tmp/vantrel-bridge-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const std::string link = dir + "/board";
    auto bridge = std::make_unique<Bridge>(link, dir + "/first");
    ASSERT_TRUE(bridge->Up());
    std::ofstream(dir + "/vantrel.ini") << "[PORTS]\nextra=" << link << "\n";

    ui::headless::HeadlessBackend ui;
    auto dlg = std::make_unique<CSerialDlg>(serial::LinuxDeviceSystem());
    dlg->m_strIniPath = dir + "/vantrel.ini";
    ui.RunModal(*dlg);
    auto& w = ui.WindowOf(*dlg);
    const auto items = w.Items(IDC_PORT);
    const auto row = std::find(items.begin(), items.end(), link);
    ASSERT_NE(row, items.end());
    w.Choose(IDC_PORT, static_cast<int>(row - items.begin()));
    w.Choose(IDC_BAUD, 8);      // 19200
    w.Choose(IDC_STOP_BITS, 2); // 2 stop bits
    w.Click(IDC_OPEN);
    ASSERT_TRUE(dlg->m_pPort);
    w.Click(IDC_TX_ASCII);
    w.Type(IDC_TX, "one");
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 3");
    EXPECT_EQ(BridgeOutput(dir + "/first", "one"), "one");

    bridge.reset();
    ui.Advance(kPollPeriodMs);
    EXPECT_EQ(dlg->GetWindowText(), "Vantrel - " + link + " (device gone, waiting for it to return)");
    w.Type(IDC_TX, "lost");
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 3");

    // Back under the same path, on a new terminal: in use again at the
    // next poll, with the line settings chosen before.
    bridge = std::make_unique<Bridge>(link, dir + "/second");
    ASSERT_TRUE(bridge->Up());
    ui.Advance(kPollPeriodMs);
    EXPECT_EQ(dlg->GetWindowText(), "Vantrel");
    DCB line{};
    ASSERT_TRUE(dlg->m_pPort->m_hComm->GetState(line));
    // A pseudo-terminal keeps rate and stop bits; it always carries 8 data
    // bits without parity, whatever it is given.
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    w.Type(IDC_TX, "two");
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 6");
    EXPECT_EQ(BridgeOutput(dir + "/second", "two"), "two");

    w.Click(IDC_CLOSE);
    bridge.reset();
    w.PressEscape();
    dlg.reset();
    std::filesystem::remove_all(dir);
}
