// Sending a file from the window: the checks before a send, the raw send,
// and an XMODEM transfer driven by replies as they arrive.
#include "app/tests/window_fixture.h"

#include "transfer/send_messages.h"
#include "transfer/xmodem_block.h"

#include <vector>

using namespace res;

namespace {
const std::string kPort = "/dev/ttyUSB0";

class FileSendTest : public WindowTest {
protected:
    std::string MakeFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const auto& box : m_ui.Boxes())
            texts.push_back(box.text);
        m_ui.ClearBoxes();
        return texts;
    }

    bool SendControlsEnabled()
    {
        return Win().IsEnabled(IDC_SEND_FILE) && Win().IsEnabled(IDC_SEND) && Win().IsEnabled(IDC_AUTO_SEND);
    }

    // Bytes from the receiver, acted on without waiting for the poll timer.
    void Reply(std::uint8_t byte)
    {
        m_devices.ClearLog();
        m_devices.Feed(kPort, {byte});
        m_ui.RunPosted();
    }

    std::vector<std::vector<std::uint8_t>> Writes()
    {
        std::vector<std::vector<std::uint8_t>> writes;
        for (const auto& e : m_devices.Log())
            if (e.kind == fakes::SerialEvent::Kind::Write)
                writes.push_back(e.bytes);
        return writes;
    }
};
} // namespace

TEST_F(FileSendTest, EveryRefusalHasItsMessageAndChoosingFillsThePath)
{
    m_devices.AddPort(kPort);
    Start();
    auto& w = Win();
    const std::string ten = MakeFile("ten.bin", std::vector<std::uint8_t>(10, 0x55));

    // Empty path wins over a closed port.
    w.Click(IDC_SEND_FILE);
    m_ui.QueueFileChoice(ten);
    w.Click(IDC_BROWSE);
    EXPECT_EQ(w.Text(IDC_FILE_PATH), ten);
    m_ui.QueueFileChoice(std::nullopt); // cancelled: the path stays
    w.Click(IDC_BROWSE);
    EXPECT_EQ(w.Text(IDC_FILE_PATH), ten);
    w.Click(IDC_SEND_FILE);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{transfer::kNoFileSpecified, "Port 'ttyUSB0' not open"}));

    w.Click(IDC_OPEN);
    m_ui.QueueFileChoice(m_dir); // several files chosen answer with their folder
    w.Click(IDC_BROWSE);
    EXPECT_EQ(w.Text(IDC_FILE_PATH), m_dir);
    w.Click(IDC_SEND_FILE);
    w.Type(IDC_FILE_PATH, m_dir + "/missing");
    w.Click(IDC_SEND_FILE);
    w.Type(IDC_FILE_PATH, MakeFile("empty.bin", {}));
    w.Choose(IDC_PROTOCOL, PROTO_XMODEM);
    w.Click(IDC_SEND_FILE);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(3, transfer::kFileLoadingFailed));
    EXPECT_TRUE(SendControlsEnabled());
    EXPECT_FALSE(w.TimerPeriod(TIMER_XMODEM));
    EXPECT_EQ(Dlg().m_send.m_nXState, XS_IDLE);
}

TEST_F(FileSendTest, RawSendWritesTheFileUnchangedInOneWriteAndKeepsItLoaded)
{
    StartOpen(kPort);
    auto& w = Win();
    const std::vector<std::uint8_t> bytes{'A', 0x0D, 0x0A, 0x1A, 0x00, 'B', 0x0A, 0x0D, 0xFF, 0x1A};
#ifdef _WIN32
    // Windows names files in UTF-16: a name that is not UTF-8 cannot be made.
    Dlg().m_strFilePath = MakeFile("raw.bin", bytes);
#else
    // The path reaches the system byte for byte, also where it is not UTF-8.
    Dlg().m_strFilePath = MakeFile("raw\xFF\xFE.bin", bytes);
#endif
    Dlg().UpdateData(false);
    w.Choose(IDC_PROTOCOL, PROTO_NONE);
    w.Click(IDC_SEND_FILE);
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_EQ(Writes(), std::vector<std::vector<std::uint8_t>>{bytes});
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 10");
    EXPECT_EQ(w.GetPos(IDC_PROGRESS), 0);
    EXPECT_TRUE(SendControlsEnabled());
    EXPECT_NE(Dlg().m_send.m_pFileData, nullptr);
    EXPECT_EQ(m_ui.Now(), 300u); // the bar stays full for a moment
}

TEST_F(FileSendTest, ARawSendIntoAFullQueueIsRefusedAndCloseTakesBackTheUnsent)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Type(IDC_FILE_PATH, MakeFile("ten.bin", std::vector<std::uint8_t>(10, 0x55)));
    w.Choose(IDC_PROTOCOL, PROTO_NONE);
    m_devices.LimitOutput(kPort, 0);
    w.Click(IDC_SEND_FILE);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{transfer::kPortStillSending});
    EXPECT_EQ(m_ui.Now(), 0u); // no full bar
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 0 bytes");
    EXPECT_TRUE(SendControlsEnabled());

    // A queue that takes the file and never sends it.
    m_devices.LimitOutput(kPort, 1);
    w.Click(IDC_SEND_FILE);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 10");
    w.Click(IDC_CLOSE);
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: 0");
}

TEST_F(FileSendTest, AReplyDuringATransferReadsOnlyTheFieldsThePollUses)
{
    StartOpen(kPort);
    auto& w = Win();
    w.Type(IDC_FILE_PATH, MakeFile("one-block.bin", std::vector<std::uint8_t>(100, 1)));
    w.Choose(IDC_PROTOCOL, PROTO_XMODEM);
    w.Click(IDC_SEND_FILE);
    w.Type(IDC_TX, "typed during the transfer");
    w.Click(IDC_RX_ASCII);
    Reply(transfer::kCrcRequest);
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Dlg().m_bRxAscii, 1);
    EXPECT_EQ(Dlg().m_strTxData, ""); // the transmit box, however long, is not read
}

TEST_F(FileSendTest, XmodemTransferMovesOnEachReplyAsItArrives)
{
    StartOpen(kPort);
    auto& w = Win();
    std::vector<std::uint8_t> file(200);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i);
    w.Type(IDC_FILE_PATH, MakeFile("two-blocks.bin", file));
    w.Choose(IDC_PROTOCOL, PROTO_XMODEM);
    w.Click(IDC_SEND_FILE);
    EXPECT_FALSE(w.IsEnabled(IDC_SEND_FILE));
    EXPECT_EQ(w.TimerPeriod(TIMER_XMODEM), 30000u);

    Reply(transfer::kCrcRequest);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].size(), 133u);
    EXPECT_EQ(w.GetPos(IDC_PROGRESS), 64);
    Reply(transfer::kNak);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0][1], 1); // block 1 again
    Reply(transfer::kAck);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0][1], 2);
    EXPECT_EQ(Writes()[0][3 + 72], 0xFF); // filled after the file's end
    Reply(transfer::kAck);
    EXPECT_EQ(Writes(), std::vector<std::vector<std::uint8_t>>{{transfer::kEot}});
    Reply(transfer::kNak); // the receiver makes sure of the end
    EXPECT_EQ(Writes(), std::vector<std::vector<std::uint8_t>>{{transfer::kEot}});
    Reply(transfer::kAck);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_TRUE(SendControlsEnabled());
    EXPECT_FALSE(w.TimerPeriod(TIMER_XMODEM));
    EXPECT_EQ(Dlg().m_send.m_pFileData, nullptr);
    EXPECT_EQ(w.GetPos(IDC_PROGRESS), 0);
    m_ui.Advance(kPollPeriodMs); // the counters follow at the display's pace
    EXPECT_EQ(w.Text(IDC_TX_COUNT), "TX: " + std::to_string(3 * 133 + 2));
    EXPECT_EQ(w.Text(IDC_RX_COUNT), "RX: 6"); // replies are received bytes too

    // A TX Cycle text that cannot be read is reported by the click, not
    // again at every reply of the transfer it started.
    w.Type(IDC_TX_CYCLE, "abc");
    w.Click(IDC_SEND_FILE);
    for (const std::uint8_t reply : {transfer::kCrcRequest, transfer::kAck, transfer::kAck, transfer::kAck})
        Reply(reply);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please enter a positive integer."});
    EXPECT_TRUE(SendControlsEnabled());
    w.Type(IDC_TX_CYCLE, "1000");

    // A receiver that cancels, and one that never answers.
    w.Click(IDC_SEND_FILE);
    Reply(transfer::kNak);
    Reply(transfer::kCan);
    w.Click(IDC_SEND_FILE);
    m_ui.Advance(30000);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{transfer::kCancelledByRemote, transfer::kNoResponse}));
    EXPECT_TRUE(SendControlsEnabled());
    EXPECT_EQ(Dlg().m_send.m_pFileData, nullptr);
}
