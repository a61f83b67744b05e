// Sending the transmit box: hexadecimal and text frames, addressed frames
// with MARK and SPACE parity, and automatic transmission.
#include "app/tests/window_fixture.h"

#include "transfer/send_messages.h"

using namespace res;
using Kind = fakes::SerialEvent::Kind;

namespace {
const std::string kPort = "/dev/ttyUSB0";

// What the line saw: each write with the parity in force when it was made.
struct Sent {
    std::uint8_t parity;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Sent&) const = default;
};

class TransmitTest : public WindowTest {
protected:
    void SetUp() override { StartOpen(kPort); }

    std::vector<Sent> Line()
    {
        std::vector<Sent> sent;
        std::uint8_t parity = m_lastParity;
        for (const auto& e : m_devices.Log()) {
            if (e.kind == Kind::SetState)
                parity = e.dcb.Parity;
            else if (e.kind == Kind::Write && e.accepted)
                sent.push_back({parity, e.bytes});
        }
        return sent;
    }

    void Send(const std::string& text, int addressSize)
    {
        Win().Choose(IDC_ADDR_SIZE, addressSize);
        Win().Type(IDC_TX, text);
        Win().Click(IDC_SEND);
    }

    std::uint8_t m_lastParity = NOPARITY; // the line's parity before the log starts
};

std::vector<std::uint8_t> Hello()
{
    return {0x48, 0x65, 0x6C, 0x6C, 0x6F, 0x20, 0x57, 0x6F, 0x72, 0x6C, 0x64, 0x21};
}
} // namespace

TEST_F(TransmitTest, AddressBytesGoWithMarkAndDataWithSpace)
{
    Send("48 65 6C 6C 6F 20 57 6F 72 6C 64 21", 0);
    EXPECT_EQ(Line(), (std::vector<Sent>{{NOPARITY, Hello()}}));
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 12");

    m_devices.ClearLog();
    Send("01 48 65 6C 6C 6F 20 57 6F 72 6C 64 21", 1);
    EXPECT_EQ(Line(), (std::vector<Sent>{{MARKPARITY, {0x01}}, {SPACEPARITY, Hello()}}));
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 25");

    m_devices.ClearLog();
    m_lastParity = SPACEPARITY;
    Send("01 00 48 65 6C 6C 6F 20 57 6F 72 6C 64 21", 2);
    EXPECT_EQ(Line(), (std::vector<Sent>{{MARKPARITY, {0x01, 0x00}}, {SPACEPARITY, Hello()}}));
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 39");

    // The line stays at SPACE: a later unaddressed frame goes out with it...
    m_devices.ClearLog();
    Send("41", 0);
    EXPECT_EQ(Line(), (std::vector<Sent>{{SPACEPARITY, {0x41}}}));
    EXPECT_EQ(m_devices.State(kPort).Parity, SPACEPARITY);
    // ...until the user picks a parity again.
    Win().Choose(IDC_PARITY, 0);
    EXPECT_EQ(m_devices.State(kPort).Parity, NOPARITY);
}

// A box without numbers, or with no more bytes than the address takes,
// sends nothing, says nothing and counts nothing.
TEST_F(TransmitTest, BoxesThatMakeNoFrameSendNothing)
{
    struct Case {
        const char* text;
        int addressSize;
    };
    for (const Case c : {Case{"", 0}, Case{",,,", 0}, Case{"0x", 0}, Case{"zz", 0}, Case{"01 02 03", 3}})
        Send(c.text, c.addressSize);
    EXPECT_TRUE(m_devices.Log().empty());
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 0 bytes");
    Send("01 02 03 04", 3);
    EXPECT_EQ(Line(), (std::vector<Sent>{{MARKPARITY, {1, 2, 3}}, {SPACEPARITY, {4}}}));
}

TEST_F(TransmitTest, TextModeSendsTheBoxBytesWithCrLf)
{
    Win().Click(IDC_TX_ASCII);
    Send("AB", 2);
    EXPECT_TRUE(m_devices.Log().empty());
    Send("ABC", 2);
    EXPECT_EQ(Line(), (std::vector<Sent>{{MARKPARITY, {'A', 'B'}}, {SPACEPARITY, {'C'}}}));

    m_devices.ClearLog();
    m_lastParity = SPACEPARITY;
    Win().Choose(IDC_ADDR_SIZE, 0);
    Win().Type(IDC_TX, "");
    Win().Focus(IDC_TX);
    Win().PressEnter();
    Win().Click(IDC_SEND);
    EXPECT_EQ(Line(), (std::vector<Sent>{{SPACEPARITY, {0x0D, 0x0A}}}));

    m_devices.ClearLog();
    Send("Hello World!", 0);
    EXPECT_EQ(Line(), (std::vector<Sent>{{SPACEPARITY, Hello()}}));
}

TEST_F(TransmitTest, AnAddressSizeOutsideTheListSendsNothing)
{
    Dlg().m_nAddrSize = 12;
    Dlg().UpdateData(false); // no row 12: the list loses its selection
    Win().Type(IDC_TX, "01 02 03");
    Win().Click(IDC_SEND);
    EXPECT_EQ(Dlg().m_nAddrSize, -1);
    EXPECT_TRUE(m_devices.Log().empty());
}

TEST_F(TransmitTest, AFailedDeviceIsNotCountedAsSent)
{
    m_devices.FailWrites(kPort);
    Send("01 02", 0);
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 0 bytes");
}

TEST_F(TransmitTest, AFrameIsTakenWholeBelowTheQueueLimitRefusedAtItAndCloseTakesBackTheUnsent)
{
    // One byte of room left: the whole frame is taken, its address first.
    m_devices.LimitOutput(kPort, 1);
    Send("01 48 65", 1);
    EXPECT_EQ(Line(), (std::vector<Sent>{{MARKPARITY, {0x01}}, {SPACEPARITY, {0x48, 0x65}}}));
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 3");
    EXPECT_TRUE(m_ui.Boxes().empty());

    // At the limit nothing goes and nothing is counted; each click is told,
    // automatic transmission skips its ticks silently.
    m_devices.ClearLog();
    Send("01 48 65", 1);
    Send("01 48 65", 0);
    Win().Click(IDC_AUTO_SEND);
    m_ui.Advance(3000);
    EXPECT_TRUE(Line().empty());
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 3");
    ASSERT_EQ(m_ui.Boxes().size(), 2u);
    EXPECT_EQ(m_ui.Boxes()[1].text, transfer::kPortStillSending);

    // The stalled queue never sent the frame: Close discards it and the
    // counter ends at what left.
    Win().Click(IDC_CLOSE);
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 0");
}

TEST_F(TransmitTest, AutomaticTransmissionRepeatsEveryCycle)
{
    auto& w = Win();
    w.Type(IDC_TX, "01 48 65");
    w.Choose(IDC_ADDR_SIZE, 1);
    w.Type(IDC_TX_CYCLE, "1000");
    w.Click(IDC_AUTO_SEND);
    EXPECT_EQ(w.TimerPeriod(TIMER_AUTOSEND), 1000u);
    EXPECT_FALSE(w.IsEnabled(IDC_SEND));
    EXPECT_FALSE(w.IsEnabled(IDC_SEND_FILE));
    m_ui.Advance(999);
    EXPECT_TRUE(m_devices.WrittenBytes(kPort).empty()); // not at once
    m_ui.Advance(1);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 3");
    m_ui.Advance(2000);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 9");

    w.Click(IDC_CLEAR_TX); // the timer runs on, sending nothing
    m_ui.Advance(3000);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 9");
    EXPECT_TRUE(w.TimerPeriod(TIMER_AUTOSEND));

    w.Click(IDC_AUTO_SEND);
    EXPECT_FALSE(w.TimerPeriod(TIMER_AUTOSEND));
    EXPECT_TRUE(w.IsEnabled(IDC_SEND));
    EXPECT_TRUE(w.IsEnabled(IDC_SEND_FILE));
}

TEST_F(TransmitTest, APeriodOfZeroRunsAtTheTimersMinimum)
{
    Win().Choose(IDC_ADDR_SIZE, 0);
    Win().Type(IDC_TX, "55");
    Win().Type(IDC_TX_CYCLE, "0");
    Win().Click(IDC_AUTO_SEND);
    EXPECT_EQ(Win().TimerPeriod(TIMER_AUTOSEND), 10u);
    m_ui.Advance(100);
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 10");
}

TEST_F(WindowTest, AutomaticTransmissionWithoutAPortIsRefused)
{
    Start();
    auto& w = Win();
    w.Click(IDC_AUTO_SEND);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, "Port '' not open");
    EXPECT_EQ(w.Check(IDC_AUTO_SEND), 0);
    EXPECT_FALSE(w.TimerPeriod(TIMER_AUTOSEND));
}

TEST_F(WindowTest, ARestoredAutomaticTransmissionCheckStartsNothing)
{
    m_devices.AddPort(kPort);
    WriteIni("[TX]\nopt=0000000001000000E8030000EC\n");
    Start();
    EXPECT_EQ(Win().Check(IDC_AUTO_SEND), 1);
    Win().Click(IDC_OPEN);
    m_ui.Advance(5000);
    EXPECT_FALSE(Win().TimerPeriod(TIMER_AUTOSEND));
    // The first click clears the mark; the second starts the repetition.
    Win().Click(IDC_AUTO_SEND);
    EXPECT_FALSE(Win().TimerPeriod(TIMER_AUTOSEND));
    Win().Click(IDC_AUTO_SEND);
    EXPECT_EQ(Win().TimerPeriod(TIMER_AUTOSEND), 1000u);
}
