// The receive poll: what reaches the receive box, the counter and the file
// sender at each tick.
#include "app/tests/window_fixture.h"

#include "ui/utf8.h"

#include <numeric>

using namespace res;

namespace {
const std::string kPort = "/dev/ttyUSB0";

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

class ReceiveTest : public WindowTest {
protected:
    void SetUp() override { StartOpen(kPort); }

    // Bytes arrive, then one poll runs.
    void Receive(const std::vector<std::uint8_t>& bytes)
    {
        m_devices.Feed(kPort, bytes);
        m_ui.Advance(kPollPeriodMs);
    }
    void ReceiveHex(std::size_t n, std::uint8_t value = 0x41) { Receive(std::vector<std::uint8_t>(n, value)); }
    std::string Rx() { return Win().Text(IDC_RX); }
};
} // namespace

TEST_F(ReceiveTest, HexAndTextModesShowTheBytesAndCountThem)
{
    Receive(Bytes({0x48, 0x0A}));
    EXPECT_EQ(Rx(), "48 0A ");
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 2");

    Win().Click(IDC_RX_ASCII); // takes effect at the next tick
    Receive(Bytes({'O', 'K', '\r', '\n'}));
    EXPECT_EQ(Rx(), "48 0A OK\r\n");
    EXPECT_EQ(Dlg().m_nRxShown, 10u);

    // A zero byte ends the text shown, but the whole chunk counts.
    Receive(Bytes({0x41, 0x00, 0x42}));
    EXPECT_EQ(Rx(), "48 0A OK\r\nA");
    EXPECT_EQ(Dlg().m_nRxShown, 13u);
    EXPECT_EQ(Dlg().m_nRxCount, 9u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 9");

    // Every byte value is one character of the box.
    Win().Click(IDC_CLEAR_RX);
    std::vector<std::uint8_t> all(127);
    std::iota(all.begin(), all.end(), std::uint8_t{0x80});
    Receive(all);
    EXPECT_EQ(ui::DecodeUtf8(Rx()).size(), 127u);
}

TEST_F(ReceiveTest, AFullChunkInHexIs384Characters)
{
    ReceiveHex(128, 0xAB);
    EXPECT_EQ(Rx().size(), 384u);
    EXPECT_EQ(Rx().substr(0, 6), "AB AB ");
    EXPECT_EQ(Rx().back(), ' ');
    EXPECT_EQ(Dlg().m_nRxShown, 384u);
}

TEST_F(ReceiveTest, TheBoxEmptiesItselfOnlyWhenTheNextTextWouldPassTheLimit)
{
    const auto fillAsText = [this](std::size_t count) {
        Win().Click(IDC_CLEAR_RX);
        Win().Click(IDC_RX_ASCII);
        Receive(std::vector<std::uint8_t>(count, 'x'));
        Win().Click(IDC_RX_ASCII); // hexadecimal again from the next tick
        ASSERT_EQ(Dlg().m_nRxShown, count);
    };
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "41 ";

    fillAsText(4000);
    ReceiveHex(40); // 4000 + 120 > 4096
    EXPECT_EQ(Rx(), forty);
    EXPECT_EQ(Dlg().m_nRxShown, 120u);

    fillAsText(4093);
    ReceiveHex(1); // exactly 4096: appended
    EXPECT_EQ(Rx().size(), 4096u);
    EXPECT_EQ(Dlg().m_nRxShown, 4096u);
}

TEST_F(ReceiveTest, WithoutAutomaticEmptyingAFullBoxTakesNothingUntilCleared)
{
    Win().Click(IDC_AUTO_CLEAR);
    for (int i = 0; i < 12; ++i)
        ReceiveHex(128); // 12 x 384 = 4608 characters
    EXPECT_EQ(Rx().size(), 4096u);
    EXPECT_EQ(Dlg().m_nRxShown, 4608u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 1536");
    ReceiveHex(1);
    EXPECT_EQ(Rx().size(), 4096u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 1537");

    Win().Click(IDC_CLEAR_RX);
    EXPECT_EQ(Rx(), "");
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 1537"); // Clear leaves the counters
    ReceiveHex(1, 0x0D);
    EXPECT_EQ(Rx(), "0D ");
}

TEST_F(ReceiveTest, PauseCountsButDoesNotShow)
{
    Receive(Bytes({1}));
    Win().Click(IDC_PAUSE);
    EXPECT_EQ(Win().Check(IDC_PAUSE), 1);
    Receive(Bytes({2, 3}));
    EXPECT_EQ(Rx(), "01 ");
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 3");
    Win().Click(IDC_PAUSE);
    EXPECT_EQ(Win().Check(IDC_PAUSE), 0);
    Receive(Bytes({4}));
    EXPECT_EQ(Rx(), "01 04 ");
}

TEST_F(ReceiveTest, TextTypedIntoTheBoxIsReplacedByTheNextReceivedText)
{
    Receive(Bytes({0x31}));
    Win().TypeAtEnd(IDC_RX, "typed");
    Receive(Bytes({0x32}));
    EXPECT_EQ(Rx(), "31 32 ");

    // Received text deleted by the user: the next text goes to the end.
    Win().SetText(IDC_RX, "");
    Receive(Bytes({0x33}));
    EXPECT_EQ(Rx(), "33 ");
}

TEST_F(ReceiveTest, TheClearButtonsEachLeaveTheOtherAlone)
{
    Receive(Bytes({1, 2}));
    Win().Click(IDC_CLEAR_COUNT);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 0 bytes");
    EXPECT_EQ(Win().Text(IDC_TX_COUNT), "TX: 0 bytes");
    EXPECT_EQ(Rx(), "01 02 ");
    Receive(Bytes({1, 2, 3, 4, 5}));
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 5");
}

TEST_F(ReceiveTest, ATickWithNothingReceivedChangesNothing)
{
    Win().Click(IDC_CLEAR_COUNT);
    m_ui.Advance(3000);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 0 bytes");
    EXPECT_EQ(Rx(), "");
}

TEST_F(ReceiveTest, OneTickDrainsEverythingWaitingChunkByChunk)
{
    // 200 000 bytes wait, three times what a tick once took at most; the
    // poll drains them all at once, in order. The zero byte ends the text of
    // the first chunk only: the second chunk shows again from its first byte.
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>('a' + i % 26);
    bytes[5] = 0;
    Win().Click(IDC_RX_ASCII);
    Win().Click(IDC_AUTO_CLEAR); // keep everything that fits
    Receive(bytes);
    EXPECT_EQ(Dlg().m_nRxCount, 200000u);
    EXPECT_EQ(Win().Text(IDC_RX_COUNT), "RX: 200000");
    EXPECT_EQ(Rx(), std::string(bytes.begin(), bytes.begin() + 5) +
                        std::string(bytes.begin() + 128, bytes.begin() + 128 + 4091));
    EXPECT_EQ(Dlg().m_nRxShown, 200000u);
}

TEST_F(ReceiveTest, DrainingEmptiesTheBoxJustAsChunkByChunkWould)
{
    // 20 chunks of 128 bytes in hex: 384 characters each. The box empties
    // before chunk 11 (10 x 384 = 3840, + 384 > 4096), so it ends holding
    // chunks 11 to 20.
    std::vector<std::uint8_t> bytes;
    for (int chunk = 0; chunk < 20; ++chunk)
        bytes.insert(bytes.end(), 128, static_cast<std::uint8_t>(chunk));
    Receive(bytes);
    EXPECT_EQ(Dlg().m_nRxShown, 3840u);
    ASSERT_EQ(Rx().size(), 3840u);
    EXPECT_EQ(Rx().substr(0, 3), "0A ");
    EXPECT_EQ(Rx().substr(3837), "13 ");
}
