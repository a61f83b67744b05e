#include "app/tests/window_fixture.h"

#include "ui/data_exchange.h"

using namespace res;

namespace {
constexpr const char* kNotUnsigned = "Please enter a positive integer.";
}

TEST_F(WindowTest, StartsWithTheDefaultsWhenThereIsNoSettingsFile)
{
    m_devices.AddPort("/dev/ttyUSB0");
    m_devices.AddPort("/dev/ttyUSB1");
    Start();
    auto& w = Win();

    EXPECT_EQ(w.Template().controls.size(), 44u);
    EXPECT_EQ(w.Items(IDC_ADDR_SIZE).size(), 9u);
    EXPECT_EQ(w.Items(IDC_ADDR_SIZE).front(), "0-byte");
    EXPECT_EQ(w.Selection(IDC_ADDR_SIZE), 1);
    EXPECT_EQ(w.Items(IDC_PORT), (std::vector<std::string>{"ttyUSB0", "ttyUSB1"}));
    EXPECT_EQ(w.Selection(IDC_PORT), 0);
    EXPECT_EQ(w.GetItemText(IDC_BAUD, w.Selection(IDC_BAUD)), "9600");
    EXPECT_EQ(w.Items(IDC_BAUD).size(), 26u); // the 13 design rows, then 13 faster ones
    EXPECT_EQ(w.GetItemText(IDC_PARITY, w.Selection(IDC_PARITY)), "None");
    EXPECT_EQ(w.GetItemText(IDC_BYTE_SIZE, w.Selection(IDC_BYTE_SIZE)), "8");
    EXPECT_EQ(w.GetItemText(IDC_STOP_BITS, w.Selection(IDC_STOP_BITS)), "1");
    EXPECT_EQ(w.Items(IDC_PROTOCOL), (std::vector<std::string>{"None", "Xmodem", "1K Xmodem", "Ymodem"}));
    EXPECT_EQ(w.Selection(IDC_PROTOCOL), 1);
    EXPECT_EQ(w.Check(IDC_RX_ASCII), 0);
    EXPECT_EQ(w.Check(IDC_AUTO_CLEAR), 1);
    EXPECT_EQ(w.Check(IDC_TX_ASCII), 0);
    EXPECT_EQ(w.Check(IDC_AUTO_SEND), 0);
    EXPECT_EQ(w.Check(IDC_HIDE), 0);
    EXPECT_EQ(w.Text(IDC_TX_CYCLE), "1000");
    EXPECT_EQ(w.Text(IDC_FILE_PATH), "");
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 0 bytes");
    EXPECT_EQ(w.Text(IDC_RX_COUNT), "RX: 0 bytes");
    EXPECT_EQ(w.GetPos(IDC_PROGRESS), 0);
    EXPECT_EQ(w.GetLimitText(IDC_RX), 4096);
    EXPECT_TRUE(w.IsEnabled(IDC_OPEN));
    EXPECT_FALSE(w.TimerPeriod(TIMER_POLL));
    EXPECT_FALSE(w.TimerPeriod(TIMER_AUTOSEND));
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_FALSE(w.Icon().empty());
    EXPECT_EQ(w.GetFocus(), IDC_ADDR_SIZE);
}

TEST_F(WindowTest, TheSystemMenuOpensTheAboutBoxForCommands16To31)
{
    Start();
    ASSERT_EQ(Win().SystemMenu().size(), 10u); // About, four line signal entries, four capture entries, address bytes
    EXPECT_EQ(Win().SystemMenu()[0], (std::pair<unsigned, std::string>{16, "&About Vantrel..."}));
    for (unsigned id : {16u, 17u, 31u}) {
        const auto before = m_ui.ModalRuns().size();
        Win().ChooseSystemMenu(id);
        ASSERT_EQ(m_ui.ModalRuns().size(), before + 1) << id;
        EXPECT_EQ(m_ui.ModalRuns().back(), "About Vantrel");
    }
    const auto before = m_ui.ModalRuns().size();
    Win().ChooseSystemMenu(32);
    EXPECT_EQ(m_ui.ModalRuns().size(), before);
    EXPECT_FALSE(Win().Ended());
}

TEST_F(WindowTest, TheCycleFieldReadsUnsignedNumbersOnly)
{
    Start();
    auto& w = Win();
    struct Case {
        const char* text;
        bool ok;
        std::uint32_t value;
    };
    const Case cases[] = {
        {" 250 ", true, 250},     {"\t7\t", true, 7},
        {"0", true, 0},           {"4294967295", true, 4294967295u},
        {"abc", false, 0},        {"-5", false, 0},
        {"", false, 0},           {"12x", false, 0},
        {"4294967296", false, 0}, {"1234567890123456789012345678901234567890", false, 0},
        {"+5", false, 0},         {"1 2", false, 0},
    };
    for (const Case& c : cases) {
        m_ui.ClearBoxes();
        Dlg().m_nTxCycle = 99;
        w.Type(IDC_TX_CYCLE, c.text);
        EXPECT_EQ(Dlg().UpdateData(true), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(Dlg().m_nTxCycle, c.value) << c.text;
            EXPECT_TRUE(m_ui.Boxes().empty()) << c.text;
        } else {
            EXPECT_EQ(Dlg().m_nTxCycle, 99u) << c.text;
            ASSERT_EQ(m_ui.Boxes().size(), 1u) << c.text;
            EXPECT_EQ(m_ui.Boxes()[0].text, kNotUnsigned);
            EXPECT_EQ(m_ui.Boxes()[0].caption, ui::ApplicationTitle());
        }
    }
    EXPECT_EQ(ui::ParseUnsignedField(std::string(31, ' ') + "5"), std::nullopt)
        << "only the first 31 characters are read";
}

TEST_F(WindowTest, AFailedExchangeStopsAtTheFieldAndFocusesIt)
{
    Start();
    auto& w = Win();
    w.Type(IDC_TX_CYCLE, "fast");
    w.Click(IDC_RX_ASCII);      // exchanged before the cycle field
    w.Choose(IDC_BYTE_SIZE, 0); // exchanged after it; its handler's refresh fails
    w.Type(IDC_TX, "41");
    w.Focus(IDC_TX);
    EXPECT_FALSE(Dlg().UpdateData(true));
    EXPECT_EQ(Dlg().m_bRxAscii, 1);
    EXPECT_EQ(Dlg().m_nByteSizeIndex, 3);
    EXPECT_EQ(Dlg().m_strTxData, "");
    EXPECT_EQ(w.GetFocus(), IDC_TX_CYCLE);
    EXPECT_EQ(w.EditSelection(IDC_TX_CYCLE), (std::pair{0, 4}));
}

TEST_F(WindowTest, PeriodicRefreshesDoNotStackTheFailureMessage)
{
    StartOpen();
    auto& w = Win();
    w.Type(IDC_TX_CYCLE, "-5");
    int nestedTicks = 0;
    m_ui.SetBoxResponder([&](const auto&) {
        // Polls keep running while the box is open; none may add a box.
        const auto open = m_ui.Boxes().size();
        m_ui.Advance(1000);
        nestedTicks++;
        EXPECT_EQ(m_ui.Boxes().size(), open);
    });
    m_ui.Advance(300);
    EXPECT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(nestedTicks, 1);
    // The same text is not reported again tick after tick...
    m_ui.Advance(3000);
    EXPECT_EQ(m_ui.Boxes().size(), 1u);
    // ...but a user action that refreshes still says so, and so does a new text.
    w.Click(IDC_SEND);
    EXPECT_EQ(m_ui.Boxes().size(), 2u);
    w.Type(IDC_TX_CYCLE, "x");
    m_ui.Advance(300);
    EXPECT_EQ(m_ui.Boxes().size(), 3u);
}

TEST_F(WindowTest, EnterNeverClosesTheWindowAndBreaksLinesInTheBoxes)
{
    Start();
    auto& w = Win();
    for (int id : {IDC_TX_CYCLE, IDC_FILE_PATH, IDC_OPEN}) {
        w.Focus(id);
        w.PressEnter();
    }
    EXPECT_FALSE(w.Ended());
    w.Type(IDC_TX, "41");
    w.PressEnter();
    w.TypeAtEnd(IDC_TX, "42");
    EXPECT_EQ(w.Text(IDC_TX), "41\r\n42");
    w.Focus(IDC_RX);
    w.PressEnter();
    EXPECT_EQ(w.Text(IDC_RX), "\r\n");
    EXPECT_FALSE(w.Ended());
}

TEST_F(WindowTest, EscapeEndsWithoutWritingTheSettings)
{
    Start();
    Win().PressEscape();
    EXPECT_TRUE(Win().Ended());
    EXPECT_EQ(Win().Result(), ui::IDCANCEL);
    EXPECT_FALSE(std::filesystem::exists(m_ini));
}

TEST_F(WindowTest, TheCloseBoxAndAQuitRequestWriteTheSettingsCloseThePortAndFreeTheFile)
{
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "quit request" : "close box");
        std::filesystem::remove(m_ini);
        StartOpen();
        Dlg().m_send.m_pFileData = static_cast<std::uint8_t*>(std::malloc(16));
        Dlg().m_send.m_nFileSize = 16;
        if (bySignal)
            Win().RequestQuit();
        else
            Win().CloseBox();
        EXPECT_TRUE(Win().Destroyed());
        EXPECT_TRUE(m_ui.Boxes().empty());
        EXPECT_TRUE(std::filesystem::exists(m_ini));
        EXPECT_FALSE(m_devices.IsOpen("/dev/ttyUSB0"));
        EXPECT_EQ(Dlg().m_pPort, nullptr);
        EXPECT_EQ(Dlg().m_send.m_pFileData, nullptr);
    }
}

TEST_F(WindowTest, UnknownTimersDoNothing)
{
    StartOpen();
    Dlg().Dispatch(ui::Message{ui::Msg::Timer, 7});
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 0 bytes");
    EXPECT_TRUE(m_devices.Log().empty());
}

TEST_F(WindowTest, TheRightColumnFollowsTheWindowSize)
{
    Start();
    auto& w = Win();
    const ui::Rect client = w.GetClientRect();
    w.Resize(client.right, client.bottom); // settle the layout first
    const ui::Rect rx = w.GetRect(IDC_RX), tx = w.GetRect(IDC_TX), pane = w.GetRect(IDC_ADVERT);
    const ui::Rect open = w.GetRect(IDC_OPEN);
    EXPECT_EQ(pane.right, client.right - 10);
    EXPECT_EQ(pane.bottom, client.bottom - 10);
    EXPECT_GE(tx.top - rx.bottom, 9);

    w.Resize(client.right + 100, client.bottom + 50);
    EXPECT_EQ(w.GetRect(IDC_ADVERT), (ui::Rect{pane.left, pane.top + 50, pane.right + 100, pane.bottom + 50}));
    EXPECT_EQ(w.GetRect(IDC_TX), (ui::Rect{tx.left, tx.top + 50, tx.right + 100, tx.bottom + 50}));
    EXPECT_EQ(w.GetRect(IDC_RX), (ui::Rect{rx.left, rx.top, rx.right + 100, rx.bottom + 50}));
    EXPECT_EQ(w.GetRect(IDC_OPEN), open);
}
