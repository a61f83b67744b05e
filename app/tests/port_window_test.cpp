// Opening, closing and the line-setting lists of the main window.
#include "app/tests/window_fixture.h"

#include <cstring>

using namespace res;
using Kind = fakes::SerialEvent::Kind;

namespace {
const std::string kPort = "/dev/ttyUSB0";
}

TEST_F(WindowTest, OpenAppliesTheChosenLineWithoutParityAndCloseRestoresIt)
{
    m_devices.AddPort(kPort);
    Start();
    auto& w = Win();
    w.Choose(IDC_BAUD, 12);     // chosen while closed: used at the opening
    w.Choose(IDC_PARITY, 2);    // "Even": not applied by the opening
    w.Choose(IDC_BYTE_SIZE, 2); // 7 data bits
    w.Choose(IDC_STOP_BITS, 2); // two stop bits
    EXPECT_TRUE(m_devices.Log().empty());

    w.Click(IDC_OPEN);
    ASSERT_TRUE(Dlg().m_pPort);
    EXPECT_FALSE(w.IsEnabled(IDC_OPEN));
    EXPECT_EQ(w.TimerPeriod(TIMER_POLL), 300u);
    const DCB line = m_devices.State(kPort);
    EXPECT_EQ(line.BaudRate, 115200u);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.ByteSize, 7);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    EXPECT_EQ(line.fDtrControl, DTR_CONTROL_HANDSHAKE);
    EXPECT_EQ(line.fRtsControl, RTS_CONTROL_HANDSHAKE);
    EXPECT_FALSE(line.fParity);

    w.Click(IDC_OPEN); // already open: nothing
    w.Click(IDC_CLOSE);
    EXPECT_FALSE(Dlg().m_pPort);
    EXPECT_TRUE(w.IsEnabled(IDC_OPEN));
    EXPECT_FALSE(w.TimerPeriod(TIMER_POLL));
    EXPECT_FALSE(m_devices.IsOpen(kPort));
    // The device was given back the settings it had right after opening.
    const auto& log = m_devices.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].kind, Kind::SetState);
    EXPECT_EQ(log[log.size() - 2].dcb.ByteSize, 8);
    EXPECT_EQ(log[log.size() - 2].dcb.BaudRate, 115200u);
    EXPECT_EQ(log[log.size() - 2].dcb.fDtrControl, DTR_CONTROL_DISABLE);
    w.Click(IDC_CLOSE); // already closed: nothing
    EXPECT_TRUE(m_ui.Boxes().empty());
}

TEST_F(WindowTest, SelectionsReachAnOpenPortAtOnce)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Choose(IDC_BAUD, 3);
    EXPECT_EQ(m_devices.State(kPort).BaudRate, 1200u);
    w.Choose(IDC_BYTE_SIZE, 0);
    EXPECT_EQ(m_devices.State(kPort).ByteSize, 5);
    EXPECT_EQ(m_devices.State(kPort).BaudRate, 1200u);
    w.Choose(IDC_PARITY, 3);
    EXPECT_EQ(m_devices.State(kPort).Parity, MARKPARITY);
    w.Choose(IDC_STOP_BITS, 1);
    EXPECT_EQ(m_devices.State(kPort).StopBits, ONE5STOPBITS);
    EXPECT_EQ(m_devices.Log().size(), 4u);
}

TEST_F(WindowTest, WithAnUnreadableCycleOnlyTheBaudRateTakesEffect)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Type(IDC_TX_CYCLE, "soon");
    w.Choose(IDC_BAUD, 8);
    EXPECT_EQ(m_devices.State(kPort).BaudRate, 19200u);
    w.Choose(IDC_BYTE_SIZE, 1);
    w.Choose(IDC_PARITY, 1);
    w.Choose(IDC_STOP_BITS, 2);
    const DCB line = m_devices.State(kPort);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, ONESTOPBIT);
    ASSERT_FALSE(m_ui.Boxes().empty());
    EXPECT_EQ(m_ui.Boxes().back().text, "Please enter a positive integer.");
}

TEST_F(WindowTest, APortThatCannotBeOpenedIsReported)
{
    Start(); // no port at all: the list is empty
    auto& w = Win();
    EXPECT_EQ(w.GetCount(IDC_PORT), 0);
    EXPECT_EQ(w.Selection(IDC_PORT), -1);
    w.Click(IDC_OPEN);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, "Open '': Failed.\n" + std::string(std::strerror(ENOENT)));
    EXPECT_FALSE(Dlg().m_pPort);
    EXPECT_TRUE(w.IsEnabled(IDC_OPEN));
    EXPECT_FALSE(w.TimerPeriod(TIMER_POLL));

    w.Click(IDC_SEND);
    EXPECT_EQ(m_ui.Boxes().back().text, "Port '' not open");
}

TEST_F(WindowTest, APortHeldByAnotherProgramIsReportedWithTheSystemsText)
{
    m_devices.AddPort(kPort);
    m_devices.FailOpen(kPort, EBUSY);
    Start();
    Win().Click(IDC_OPEN);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, std::string("Open 'ttyUSB0': Failed.\n") + std::strerror(EBUSY));
}

TEST_F(WindowTest, APortThatRejectsItsFirstSettingsClosesSilently)
{
    m_devices.AddPort(kPort);
    m_devices.RejectState(kPort, true);
    Start();
    Win().Click(IDC_OPEN);
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_FALSE(Dlg().m_pPort);
    EXPECT_FALSE(m_devices.IsOpen(kPort));
    EXPECT_TRUE(Win().IsEnabled(IDC_OPEN));
}

TEST_F(WindowTest, ListsWithoutSelectionOpenWithTheDefaultRows)
{
    m_devices.AddPort(kPort);
    // Row 100 lies past the baud list, row 9 past the byte sizes, row 7 past the stop bits.
    WriteIni("[COMM_PORT]\nsetup=" + std::string("00000000") + "64000000" + "00000000" + "09000000" + "07000000" +
             "74\n");
    Start();
    EXPECT_EQ(Win().Selection(IDC_BAUD), -1);
    Win().Click(IDC_OPEN);
    ASSERT_TRUE(Dlg().m_pPort);
    EXPECT_EQ(m_devices.State(kPort).BaudRate, 9600u);
    EXPECT_EQ(m_devices.State(kPort).ByteSize, 8);
    EXPECT_EQ(m_devices.State(kPort).StopBits, ONESTOPBIT);
}

TEST_F(WindowTest, DeviceChangesRefillThePortList)
{
    m_devices.AddPort("/dev/ttyACM0");
    m_devices.AddPort(kPort);
    Start();
    auto& w = Win();
    w.Choose(IDC_PORT, 1);
    m_devices.AddPort("/dev/ttyUSB1");

    EXPECT_EQ(Dlg().Dispatch(ui::Message{ui::Msg::DeviceChange, 0, ui::Notify::Clicked, 0x0007}), 0);
    EXPECT_EQ(w.GetCount(IDC_PORT), 2);
    EXPECT_EQ(w.Selection(IDC_PORT), 1);

    // The system's report comes from another thread and is posted.
    m_devices.TriggerHotplug(0x8000);
    m_ui.RunPosted();
    EXPECT_EQ(w.GetCount(IDC_PORT), 3);
    EXPECT_EQ(w.Selection(IDC_PORT), 0);

    m_devices.RemovePort("/dev/ttyACM0");
    EXPECT_EQ(Dlg().Dispatch(ui::Message{ui::Msg::DeviceChange, 0, ui::Notify::Clicked, 0x8004}), 1);
    EXPECT_EQ(w.Items(IDC_PORT), (std::vector<std::string>{"ttyUSB0", "ttyUSB1"}));
}

TEST_F(WindowTest, ThePortListsTooltipDescribesTheSelectedPort)
{
    using Hw = serial::PortHardware;
    m_devices.SetHardware("/dev/ttyUSB0", {Hw::Kind::Usb, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"});
    m_devices.SetHardware("/dev/ttyUSB1", {Hw::Kind::Usb, "10c4", "ea60", "", "", "0001"});
    // The stored row, not the list's first, is selected at start.
    WriteIni("[COMM_PORT]\nsetup=01000000060000000000000003000000000000000A\n");
    Start();
    auto& w = Win();
    ASSERT_EQ(w.Selection(IDC_PORT), 1);
    EXPECT_EQ(w.ToolTip(IDC_PORT), "USB 10c4:ea60, serial number 0001");
    w.Choose(IDC_PORT, 0);
    EXPECT_EQ(w.ToolTip(IDC_PORT), "FTDI FT232R USB UART (USB 0403:6001), serial number A50285BI");
    EXPECT_EQ(w.Items(IDC_PORT), (std::vector<std::string>{"ttyUSB0", "ttyUSB1"}));

    m_devices.RemovePort("/dev/ttyUSB0");
    m_devices.AddPseudoTerminal("/dev/pts/4");
    m_devices.SetHardware("/dev/pts/4", {Hw::Kind::PseudoTerminal, "", "", "", "", ""});
    WriteIni("[PORTS]\nextra=/dev/pts/4\n");
    Dlg().Dispatch(ui::Message{ui::Msg::DeviceChange, 0, ui::Notify::Clicked, 0x8004});
    EXPECT_EQ(w.ToolTip(IDC_PORT), "USB 10c4:ea60, serial number 0001");
    w.Choose(IDC_PORT, 1);
    EXPECT_EQ(w.ToolTip(IDC_PORT), "pseudo-terminal");
}

TEST_F(WindowTest, ExtraPathsFromTheSettingsFileAreListedWhileTheyExist)
{
    m_devices.AddPort(kPort);
    m_devices.AddPseudoTerminal("/dev/pts/7");
    WriteIni("[PORTS]\nextra= /dev/pts/7 ; /dev/pts/9;;\n");
    Start();
    EXPECT_EQ(Win().Items(IDC_PORT), (std::vector<std::string>{"ttyUSB0", "pts/7"}));
    // The key belongs to the user: saving the window keeps it.
    Win().CloseBox();
    EXPECT_NE(ReadIni().find("extra= /dev/pts/7 ; /dev/pts/9;;"), std::string::npos) << ReadIni();
}

TEST_F(WindowTest, CloseStopsAutomaticTransmissionAndDropsATransfer)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Type(IDC_TX, "41");
    w.Click(IDC_AUTO_SEND);
    EXPECT_TRUE(w.TimerPeriod(TIMER_AUTOSEND));
    Dlg().m_send.m_nXState = XS_SENDING;
    Dlg().m_send.m_pFileData = static_cast<std::uint8_t*>(std::malloc(4));
    Dlg().m_send.m_nFileSize = 4;
    w.SetPos(IDC_PROGRESS, 40);

    w.Click(IDC_CLOSE);
    EXPECT_FALSE(w.TimerPeriod(TIMER_AUTOSEND));
    EXPECT_EQ(w.Check(IDC_AUTO_SEND), 1);
    EXPECT_EQ(Dlg().m_send.m_pFileData, nullptr);
    EXPECT_EQ(Dlg().m_send.m_nXState, XS_IDLE);
    EXPECT_TRUE(w.IsEnabled(IDC_SEND));
    EXPECT_TRUE(w.IsEnabled(IDC_SEND_FILE));
    EXPECT_TRUE(w.IsEnabled(IDC_AUTO_SEND));
    EXPECT_EQ(w.GetPos(IDC_PROGRESS), 40);
    EXPECT_TRUE(m_ui.Boxes().empty());

    // Opening again does not restart the repetition.
    w.Click(IDC_OPEN);
    EXPECT_FALSE(w.TimerPeriod(TIMER_AUTOSEND));
}

TEST_F(WindowTest, AGoneDeviceShowsInTheTitleAndReopensWithItsSettingsWhenBack)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Choose(IDC_BYTE_SIZE, 2);
    w.Choose(IDC_PARITY, 1);
    w.Type(IDC_TX, "41 42");
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 2");
    const DCB before = m_devices.State(kPort);

    m_devices.RemovePort(kPort);
    m_ui.Advance(kPollPeriodMs);
    EXPECT_EQ(Dlg().GetWindowText(), "Vantrel - ttyUSB0 (device gone, waiting for it to return)");
    EXPECT_TRUE(Dlg().m_pPort);
    w.Click(IDC_SEND); // refused by the missing device: not counted
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 2");
    EXPECT_TRUE(m_ui.Boxes().empty());

    // Back under the same path: reopened at the next poll, with the settings.
    m_devices.AddPort(kPort);
    m_devices.ClearLog();
    m_ui.Advance(kPollPeriodMs);
    EXPECT_EQ(Dlg().GetWindowText(), "Vantrel");
    EXPECT_TRUE(m_devices.IsOpen(kPort));
    const DCB after = m_devices.State(kPort);
    EXPECT_EQ(std::memcmp(&after, &before, sizeof before), 0);
    w.Click(IDC_SEND);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 4");

    // A hot-plug report reopens at once, without waiting for the poll.
    m_devices.RemovePort(kPort);
    m_ui.Advance(kPollPeriodMs);
    m_devices.AddPort(kPort);
    m_devices.TriggerHotplug(0x8000);
    m_ui.RunPosted();
    EXPECT_EQ(Dlg().GetWindowText(), "Vantrel");
    EXPECT_EQ(w.Items(IDC_PORT), (std::vector<std::string>{"ttyUSB0"}));
}

TEST_F(WindowTest, CloseWhileTheDeviceIsGoneRestoresTheTitle)
{
    StartOpen(kPort);
    m_devices.RemovePort(kPort);
    m_ui.Advance(kPollPeriodMs);
    ASSERT_NE(Dlg().GetWindowText(), "Vantrel");
    Win().Click(IDC_CLOSE);
    EXPECT_FALSE(Dlg().m_pPort);
    EXPECT_EQ(Dlg().GetWindowText(), "Vantrel");
    EXPECT_TRUE(Win().IsEnabled(IDC_OPEN));
    m_devices.AddPort(kPort);
    m_ui.Advance(kPollPeriodMs); // closed stays closed
    EXPECT_FALSE(m_devices.IsOpen(kPort));
}

TEST_F(WindowTest, ARateTheDriverRefusesIsSaidWithItsReasonAtOpeningAndWhileOpen)
{
    m_devices.RejectState(kPort, [](const DCB& dcb) { return dcb.BaudRate == 4000000; });
    m_devices.GiveRefusalReason(kPort, EINVAL);
    Start();
    const int fastest = 25; // 4000000, the last built-in row
    Win().Choose(IDC_BAUD, fastest);
    Win().Click(IDC_OPEN);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, "Open 'ttyUSB0': Failed.\nInvalid argument");
    EXPECT_FALSE(Dlg().m_pPort);

    Win().Choose(IDC_BAUD, 6);
    Win().Click(IDC_OPEN);
    ASSERT_TRUE(Dlg().m_pPort);
    Win().Choose(IDC_BAUD, fastest);
    ASSERT_EQ(m_ui.Boxes().size(), 2u);
    EXPECT_EQ(m_ui.Boxes()[1].text, "Open 'ttyUSB0': Failed.\nInvalid argument");
    EXPECT_TRUE(Dlg().m_pPort); // the port stays open, at its rate
    EXPECT_EQ(m_devices.State(kPort).BaudRate, 9600u);
}
