// The main window over a real pseudo-terminal: the program's own device
// layer on Linux, and the test playing the device at the far end.
#include "app/serial_dlg.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "serial/port_names.h"
#include "ui_headless/headless_backend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace res;
using namespace std::chrono_literals;

namespace {

class PtyWindowTest : public ::testing::Test {
protected:
    PtyWindowTest()
    {
        char pattern[] = "/tmp/vantrel-pty-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        // The pseudo-terminal is listed through the settings file's extra
        // paths, the way a user works with an emulator's port.
        std::ofstream(dir_ + "/vantrel.ini") << "[PORTS]\nextra=" << pty_.SlavePath() << "\n";
        dlg_ = std::make_unique<CSerialDlg>(serial::LinuxDeviceSystem());
        dlg_->m_strIniPath = dir_ + "/vantrel.ini";
        ui_.RunModal(*dlg_);
        auto& w = Win();
        const auto items = w.Items(IDC_PORT);
        const auto it = std::find(items.begin(), items.end(), serial::PortDisplayName(pty_.SlavePath()));
        EXPECT_NE(it, items.end());
        w.Choose(IDC_PORT, static_cast<int>(it - items.begin()));
        w.Click(IDC_OPEN);
    }

    ~PtyWindowTest() override
    {
        Win().PressEscape();
        dlg_.reset();
        std::filesystem::remove_all(dir_);
    }

    ui::headless::HeadlessWindow& Win() { return ui_.WindowOf(*dlg_); }

    // Runs polls in real time until the counter label reads `label`.
    bool PollUntil(const std::string& label, std::chrono::milliseconds limit = 5s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            ui_.Advance(kPollPeriodMs);
            if (Win().Text(IDC_RX_COUNT) == label)
                return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    fakes::PtyPair pty_;
    ui::headless::HeadlessBackend ui_;
    std::unique_ptr<CSerialDlg> dlg_;
    std::string dir_;
};

} // namespace

TEST_F(PtyWindowTest, AnAddressedFrameReachesTheFarEnd)
{
    ASSERT_TRUE(dlg_->m_pPort);
    auto& w = Win();
    w.Choose(IDC_ADDR_SIZE, 1);
    w.Type(IDC_TX, "01 48 65");
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 3");
    EXPECT_EQ(pty_.ReceiveAtFarEnd(3, 2s), (std::vector<std::uint8_t>{0x01, 0x48, 0x65}));

    // Automatic transmission repeats the frame every cycle.
    w.Type(IDC_TX_CYCLE, "100");
    w.Click(IDC_AUTO_SEND);
    ui_.Advance(300);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 12");
    EXPECT_EQ(pty_.ReceiveAtFarEnd(9, 2s), (std::vector<std::uint8_t>{1, 0x48, 0x65, 1, 0x48, 0x65, 1, 0x48, 0x65}));
}

TEST_F(PtyWindowTest, ReceivedBytesShowAsHexAndAsText)
{
    ASSERT_TRUE(dlg_->m_pPort);
    pty_.SendFromFarEnd({'h', 'i', '\r', '\n'});
    ASSERT_TRUE(PollUntil("RX: 4"));
    EXPECT_EQ(Win().Text(IDC_RX), "68 69 0D 0A ");
    Win().Click(IDC_RX_ASCII);
    pty_.SendFromFarEnd({'o', 'k'});
    ASSERT_TRUE(PollUntil("RX: 6"));
    EXPECT_EQ(Win().Text(IDC_RX), "68 69 0D 0A ok");
}

TEST_F(PtyWindowTest, AFastStreamLosesNothing)
{
    ASSERT_TRUE(dlg_->m_pPort);
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    std::thread peer([&] { pty_.SendFromFarEnd(bytes); });
    const bool all = PollUntil("RX: 200000", 20s);
    peer.join();
    EXPECT_TRUE(all) << Win().Text(IDC_RX_COUNT);
}

TEST_F(PtyWindowTest, ASecondOpenOfTheSamePortIsRefused)
{
    ASSERT_TRUE(dlg_->m_pPort);
    CComPort other(serial::LinuxDeviceSystem());
    other.m_strPort = pty_.SlavePath();
    const CComPort::OpenResult result = other.Open(9600);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(result.failure.rfind("Open '" + pty_.SlavePath() + "': Failed.\n", 0), 0u);
}
