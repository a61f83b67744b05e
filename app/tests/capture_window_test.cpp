// The capture: every byte that arrives goes to the log, whatever the
// receive box does, across Close and Open; a failing log stops with one box
// and the port carries on.
#include "app/tests/window_fixture.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

using namespace res;

namespace {
const std::string kPort = "/dev/ttyUSB0";

class CaptureTest : public WindowTest {
protected:
    void Receive(const std::string& bytes)
    {
        m_devices.Feed(kPort, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        m_ui.Advance(kPollPeriodMs);
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream all;
        all << file.rdbuf();
        return all.str();
    }
    std::string LogPath() const { return m_ini + ".log"; }
};
} // namespace

TEST_F(CaptureTest, TheRawLogKeepsEveryByteWhateverTheBoxDoesAndAcrossCloseAndOpen)
{
    StartOpen(kPort);
    m_ui.QueueFileChoice(LogPath());
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    EXPECT_TRUE(Win().SystemMenuState(IDM_LOG_TO_FILE)->checked);
    EXPECT_NE(Win().GetTitle().find("logging to " + LogPath()), std::string::npos);
    EXPECT_NE(m_ui.SaveSuggestions().back().find("vantrel-2"), std::string::npos);

    Receive(std::string("a\0b", 3)); // a zero byte ends the box's text, not the log
    Win().Click(IDC_PAUSE);
    Receive("paused\r\n");
    Win().Click(IDC_PAUSE);
    Win().Click(IDC_CLOSE);
    Win().Click(IDC_OPEN);
    Receive(std::string(5000, 'z')); // past the box's limit
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    EXPECT_FALSE(Win().SystemMenuState(IDM_LOG_TO_FILE)->checked);
    EXPECT_EQ(Read(LogPath()), std::string("a\0b", 3) + "paused\r\n" + std::string(5000, 'z'));
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 5011");
}

TEST_F(CaptureTest, TheTextLogHasStampedLinesForWhatCameAndWhatWent)
{
    StartOpen(kPort);
    Win().ChooseSystemMenu(IDM_LOG_AS_TEXT);
    m_ui.QueueFileChoice(LogPath());
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    Win().Click(IDC_RX_ASCII);
    Receive("U-Boot 2023.01\r\n=> ");
    Win().Type(IDC_TX, "01 48");
    Win().Click(IDC_SEND);
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    const std::string log = Read(LogPath());
    EXPECT_NE(log.find(" RX U-Boot 2023.01\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" RX => \n"), std::string::npos) << log;
    EXPECT_NE(log.find(" TX [01] 48\n"), std::string::npos) << log;
    EXPECT_NE(ReadIni().find("format=text"), std::string::npos);
}

TEST_F(CaptureTest, ALogThatCannotBeWrittenSaysSoOnceAndThePortCarriesOn)
{
    StartOpen(kPort);
    m_ui.QueueFileChoice(m_ini + ".missing/x.log");
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text,
              "The log file '" + m_ini + ".missing/x.log' cannot be written: No such file or directory.");
    EXPECT_FALSE(Win().SystemMenuState(IDM_LOG_TO_FILE)->checked);

    // A log whose disk fills: /dev/full takes no byte.
    m_ui.QueueFileChoice("/dev/full");
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    ASSERT_TRUE(Win().SystemMenuState(IDM_LOG_TO_FILE)->checked);
    Receive("hello");
    // The log's own thread meets the full disk; the window hears of it at a tick.
    for (int i = 0; i < 200 && m_ui.Boxes().size() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        m_ui.Advance(kPollPeriodMs);
    }
    ASSERT_EQ(m_ui.Boxes().size(), 2u);
    EXPECT_EQ(m_ui.Boxes()[1].text, "Logging to '/dev/full' stopped: No space left on device.");
    EXPECT_FALSE(Win().SystemMenuState(IDM_LOG_TO_FILE)->checked);
    Receive("more");
    EXPECT_EQ(m_ui.Boxes().size(), 2u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 9");
}

TEST_F(CaptureTest, HiddenEscapeSequencesLeaveTheTextAndTheTextLogButNotTheCountOrTheRawLog)
{
    StartOpen(kPort);
    Win().Click(IDC_RX_ASCII);
    Receive("\x1B[0;32mgreen\x1B[0m ");
    EXPECT_EQ(Win().Text(IDC_RX), "\u241B[0;32mgreen\u241B[0m "); // off: as before
    Win().ChooseSystemMenu(IDM_HIDE_ESCAPES);
    EXPECT_TRUE(Win().SystemMenuState(IDM_HIDE_ESCAPES)->checked);
    m_ui.QueueFileChoice(LogPath());
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    Receive("\x1B[1;3");
    Receive("1mred\x1B[0m\x1B[K");
    EXPECT_EQ(Win().Text(IDC_RX), "\u241B[0;32mgreen\u241B[0m red");
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 34");
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    EXPECT_EQ(Read(LogPath()), "\x1B[1;31mred\x1B[0m\x1B[K"); // the raw log keeps everything
    EXPECT_NE(ReadIni().find("hide_escapes=1"), std::string::npos);
}

TEST_F(CaptureTest, TimestampsStartEachLineOrQuietFrameAndCountTowardTheLimit)
{
    StartOpen(kPort);
    Win().ChooseSystemMenu(IDM_TIMESTAMPS);
    Win().Click(IDC_RX_ASCII);
    Receive("boot\r\nok\r");
    Receive("\nnext");
    const std::regex text(
        R"(\[\d\d:\d\d:\d\d\.\d{3}\] boot\r\n\[\d\d:\d\d:\d\d\.\d{3}\] ok\r\n\[\d\d:\d\d:\d\d\.\d{3}\] next)");
    EXPECT_TRUE(std::regex_match(Win().Text(IDC_RX), text)) << Win().Text(IDC_RX);
    EXPECT_EQ(Dlg().m_nRxShown, 3 * 15 + 14u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 14");

    Win().Click(IDC_CLEAR_RX);
    Win().Click(IDC_RX_ASCII); // hexadecimal: a frame after the line went quiet
    Receive("\x01\x02");
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    Receive("\x03");
    const std::regex hex(R"(\[\d\d:\d\d:\d\d\.\d{3}\] 01 02 \r\n\[\d\d:\d\d:\d\d\.\d{3}\] 03 )");
    EXPECT_TRUE(std::regex_match(Win().Text(IDC_RX), hex)) << Win().Text(IDC_RX);
    EXPECT_NE(ReadIni().find("timestamps=1"), std::string::npos);

    // Turned on with bytes in the box, the first stamp starts a line.
    Win().ChooseSystemMenu(IDM_TIMESTAMPS);
    Win().Click(IDC_CLEAR_RX);
    Receive("\x04");
    Win().ChooseSystemMenu(IDM_TIMESTAMPS);
    Receive("\x05");
    const std::regex later(R"(04 \r\n\[\d\d:\d\d:\d\d\.\d{3}\] 05 )");
    EXPECT_TRUE(std::regex_match(Win().Text(IDC_RX), later)) << Win().Text(IDC_RX);
}
