// The window menu's line signals: DTR and RTS by hand, a reset pulse and a
// break, through the recording fake device on the virtual clock.
#include "app/tests/window_fixture.h"

#include <cerrno>

using namespace res;
using fakes::SerialEvent;

namespace {
const std::string kPort = "/dev/ttyUSB0";

class LineSignalsTest : public WindowTest {
protected:
    // The line and break calls the device got since the last look.
    std::vector<std::string> Signals()
    {
        std::vector<std::string> out;
        const auto& log = m_devices.Log();
        for (; m_seen < log.size(); ++m_seen) {
            const SerialEvent& e = log[m_seen];
            if (e.kind == SerialEvent::Kind::Line)
                out.push_back(std::string(e.line == serial::ModemLine::Dtr ? "DTR " : "RTS ") +
                              (e.raised ? "up" : "down"));
            else if (e.kind == SerialEvent::Kind::Break)
                out.push_back(e.raised ? "break on" : "break off");
        }
        return out;
    }
    bool Checked(unsigned id) { return Win().SystemMenuState(id)->checked; }
    bool Enabled(unsigned id) { return Win().SystemMenuState(id)->enabled; }

    std::size_t m_seen = 0;
};
} // namespace

TEST_F(LineSignalsTest, EntriesFollowThePortAndTheUsersChoiceHoldsUntilClose)
{
    m_devices.AddPort(kPort);
    Start();
    for (const unsigned id : {IDM_DTR, IDM_RTS, IDM_RESET_PULSE, IDM_SEND_BREAK})
        EXPECT_FALSE(Enabled(id)) << id;
    Win().ChooseSystemMenu(IDM_DTR); // greyed: nothing happens
    Win().Click(IDC_OPEN);
    EXPECT_TRUE(Enabled(IDM_SEND_BREAK));
    EXPECT_TRUE(Checked(IDM_DTR));
    EXPECT_TRUE(Checked(IDM_RTS));

    Win().ChooseSystemMenu(IDM_DTR);
    Win().ChooseSystemMenu(IDM_RTS);
    Win().ChooseSystemMenu(IDM_RTS);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"DTR down", "RTS down", "RTS up"}));
    EXPECT_FALSE(Checked(IDM_DTR));
    EXPECT_TRUE(Checked(IDM_RTS));

    Win().Click(IDC_CLOSE);
    EXPECT_FALSE(Enabled(IDM_DTR));
    Win().Click(IDC_OPEN);
    EXPECT_TRUE(Checked(IDM_DTR)); // a new opening starts from both raised
    EXPECT_TRUE(m_ui.Boxes().empty());
}

TEST_F(LineSignalsTest, AResetPulseAndABreakLastTheirTimeWhileTheWindowGoesOn)
{
    m_devices.AddPort(kPort);
    WriteIni("[SIGNALS]\nreset=DTR;RTS\nreset_ms=150\n");
    StartOpen(kPort);
    Signals();
    Win().ChooseSystemMenu(IDM_RESET_PULSE);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"DTR down", "RTS down"}));
    EXPECT_FALSE(Checked(IDM_DTR));
    m_ui.Advance(149);
    EXPECT_TRUE(Signals().empty());
    m_ui.Advance(1);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"DTR up", "RTS up"}));
    EXPECT_TRUE(Checked(IDM_DTR));

    Win().ChooseSystemMenu(IDM_SEND_BREAK);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"break on"}));
    m_ui.Advance(250);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"break off"}));
    m_ui.Advance(1000);
    EXPECT_TRUE(Signals().empty());

    // A break under way ends with the port.
    Win().ChooseSystemMenu(IDM_SEND_BREAK);
    Win().Click(IDC_CLOSE);
    EXPECT_EQ(Signals(), (std::vector<std::string>{"break on", "break off"}));
}

TEST_F(LineSignalsTest, ADriverWithoutLinesSaysWhyOnceAndTheStateStays)
{
    m_devices.FailLineSignals(kPort, ENOTTY);
    StartOpen(kPort);
    Win().ChooseSystemMenu(IDM_RESET_PULSE);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, "Port 'ttyUSB0' cannot set DTR: Inappropriate ioctl for device.");
    EXPECT_TRUE(Checked(IDM_DTR));
    EXPECT_FALSE(Win().TimerPeriod(TIMER_RESET_PULSE));
    EXPECT_TRUE(Dlg().m_pPort);
}
