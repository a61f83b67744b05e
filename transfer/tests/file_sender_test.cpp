#include "transfer/block_check.h"
#include "transfer/file_sender.h"
#include "transfer/send_messages.h"
#include "transfer/xmodem_block.h"
#include "transfer/ymodem_header.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace transfer {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Plays the window: keeps what the user would see, every packet written,
// and a response timer on a virtual clock.
class Window : public SenderHost {
public:
    bool WritePort(const std::uint8_t* data, std::uint32_t length) override
    {
        if (writeOk)
            packets.emplace_back(data, data + length);
        return writeOk;
    }
    void StartResponseTimer() override { deadline = now + kResponseTimeoutMs; }
    void StopResponseTimer() override { deadline.reset(); }
    void SetProgress(std::uint32_t position) override { progress.push_back(position); }
    void AddToSentCount(std::uint32_t bytes) override { sent += bytes; }
    void SetSendControlsEnabled(bool enabled) override { controlsEnabled = enabled; }
    void ShowMessage(const char* text) override { messages.emplace_back(text); }
    void Pause(std::uint32_t ms) override { paused += ms; }

    bool writeOk = true;
    std::vector<Bytes> packets;
    std::vector<std::uint32_t> progress;
    std::uint32_t sent = 0;
    bool controlsEnabled = true;
    std::vector<std::string> messages;
    std::uint32_t paused = 0;
    std::uint64_t now = 0;
    std::optional<std::uint64_t> deadline;
};

class XmodemSend : public ::testing::Test {
protected:
    // Loads `size` bytes counting up from 0 and starts the send.
    void Start(std::int32_t protocol, std::uint32_t size)
    {
        FreeFileData(state);
        file.resize(size);
        for (std::uint32_t i = 0; i < size; ++i)
            file[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
        state.m_pFileData = static_cast<std::uint8_t*>(std::malloc(size));
        std::memcpy(state.m_pFileData, file.data(), size);
        state.m_nFileSize = size;
        StartSend(state, window, protocol);
    }
    void Reply(std::uint8_t byte, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            HandleXmodemReply(state, window, byte);
    }
    // Moves the virtual clock on; the timer fires as the window's would.
    void Wait(std::uint64_t ms)
    {
        window.now += ms;
        if (window.deadline && window.now >= *window.deadline)
            HandleResponseTimeout(state, window);
    }
    void ExpectIdleAndFreed()
    {
        EXPECT_EQ(state.m_nXState, XS_IDLE);
        EXPECT_EQ(state.m_nBlock, 0);
        EXPECT_EQ(state.m_nRetries, 0u);
        EXPECT_EQ(state.m_pFileData, nullptr);
        EXPECT_EQ(state.m_nFileSize, 0u);
        EXPECT_TRUE(window.controlsEnabled);
        EXPECT_FALSE(window.deadline);
    }
    const Bytes& Last() const { return window.packets.back(); }

    Bytes file;
    FileSendState state;
    Window window;
};

TEST_F(XmodemSend, OneByteFileInChecksumModeByteForByte)
{
    Start(PROTO_XMODEM, 1);
    EXPECT_FALSE(window.controlsEnabled);
    EXPECT_EQ(window.deadline, kResponseTimeoutMs);
    EXPECT_TRUE(window.packets.empty());

    Wait(1000);
    Reply(kNak);
    ASSERT_EQ(window.packets.size(), 1u);
    Bytes expected = {kSoh, 0x01, 0xFE, file[0]};
    expected.resize(131, 0xFF);
    expected.push_back(static_cast<std::uint8_t>(file[0] + 127 * 0xFF));
    EXPECT_EQ(Last(), expected);
    EXPECT_EQ(window.progress, (std::vector<std::uint32_t>{0, 12800}));
    EXPECT_EQ(window.deadline, 1000 + kResponseTimeoutMs);

    Reply(kAck);
    EXPECT_EQ(Last(), Bytes{kEot});
    EXPECT_EQ(state.m_nXState, XS_WAIT_EOT_ACK);
    EXPECT_EQ(window.deadline, 1000 + kResponseTimeoutMs); // EOT leaves it running

    Reply(kAck);
    ExpectIdleAndFreed();
    EXPECT_EQ(window.sent, 133u);
    EXPECT_EQ(window.paused, kClosingPauseMs);
    EXPECT_EQ(window.progress.back(), 0u);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(XmodemSend, CrcModeAndOneKBlocks)
{
    Start(PROTO_XMODEM, 256);
    Reply(kCrcRequest);
    Reply(kCrcRequest); // a repeated request neither re-sends nor changes the mode
    Reply(kAck);
    ASSERT_EQ(window.packets.size(), 2u);
    const Bytes& second = Last();
    ASSERT_EQ(second.size(), 133u);
    EXPECT_EQ(Bytes(second.begin(), second.begin() + 3), (Bytes{kSoh, 0x02, 0xFD}));
    EXPECT_EQ(Bytes(second.begin() + 3, second.begin() + 131), Bytes(file.begin() + 128, file.end()));
    const std::uint16_t crc = Crc16(second.data() + 3, 128);
    EXPECT_EQ(second[131], crc >> 8);
    EXPECT_EQ(second[132], crc & 0xFF);
    Reply(kAck);
    EXPECT_EQ(Last(), Bytes{kEot});

    for (const bool crc1k : {true, false}) {
        AbandonTransfer(state, window);
        Start(PROTO_XMODEM_1K, 100);
        Reply(crc1k ? kCrcRequest : kNak);
        const Bytes& block = Last();
        ASSERT_EQ(block.size(), crc1k ? 1029u : 1028u);
        EXPECT_EQ(block[0], kStx);
        EXPECT_EQ(Bytes(block.begin() + 3, block.begin() + 103), file);
        EXPECT_EQ(Bytes(block.begin() + 103, block.begin() + 1027), Bytes(924, 0xFF));
    }
}

TEST_F(XmodemSend, BlockNumberWrapsAtIndex255)
{
    Start(PROTO_XMODEM, 257 * 128);
    Reply(kNak);
    Reply(kAck, 255);
    EXPECT_EQ(state.m_nBlock, 255);
    EXPECT_EQ(Bytes(Last().begin(), Last().begin() + 4), (Bytes{kSoh, 0x00, 0xFF, file[255 * 128]}));
    Reply(kAck);
    EXPECT_EQ(Bytes(Last().begin(), Last().begin() + 4), (Bytes{kSoh, 0x01, 0xFE, file[256 * 128]}));
}

TEST_F(XmodemSend, ResendBound)
{
    // NAKs spread over blocks do not add up.
    Start(PROTO_XMODEM, 300);
    Reply(kCrcRequest);
    Reply(kNak, 2);
    Reply(kAck);
    Reply(kNak, 11);
    EXPECT_EQ(state.m_nXState, XS_SENDING);
    EXPECT_EQ(window.packets.size(), 15u);
    EXPECT_TRUE(window.messages.empty());

    // The 12th NAK in a row for one block cancels; all 12 packets counted.
    Reply(kNak);
    EXPECT_EQ(window.messages, std::vector<std::string>{kTooManyResends});
    EXPECT_EQ(window.packets.size(), 15u);
    EXPECT_EQ(window.sent, 15u * 133);
    EXPECT_EQ(window.progress.back(), 0u);
    ExpectIdleAndFreed();
    Reply(kNak); // idle: nothing more
    EXPECT_EQ(window.packets.size(), 15u);
}

TEST_F(XmodemSend, NakToEndOfFileSendsItAgain)
{
    Start(PROTO_XMODEM, 10);
    Reply(kNak);
    Reply(kAck);
    Reply(kCan); // ignored once every block is accepted
    Reply(kNak);
    EXPECT_EQ(window.packets.size(), 3u);
    EXPECT_EQ(Last(), Bytes{kEot});
    Reply(kAck);
    EXPECT_TRUE(window.messages.empty());
    ExpectIdleAndFreed();

    // Within the same bound: the 12th NAK to EOT cancels.
    window.packets.clear();
    Start(PROTO_XMODEM, 10);
    Reply(kNak);
    Reply(kAck);
    Reply(kNak, 12);
    EXPECT_EQ(window.packets.size(), 13u);
    EXPECT_EQ(window.messages, std::vector<std::string>{kTooManyResends});
}

TEST_F(XmodemSend, CancelByReceiver)
{
    Start(PROTO_XMODEM, 10);
    Reply(kCan); // before the first block: ignored
    Reply(kAck);
    EXPECT_EQ(state.m_nXState, XS_WAIT_START);
    Reply(kCrcRequest);
    Reply('x');
    Reply(kCan);
    EXPECT_EQ(window.messages, std::vector<std::string>{kCancelledByRemote});
    EXPECT_EQ(window.packets.size(), 1u);
    ExpectIdleAndFreed();
}

TEST_F(XmodemSend, ResponseTimeout)
{
    // Nothing from the receiver at all.
    Start(PROTO_XMODEM, 10);
    Wait(kResponseTimeoutMs - 1);
    EXPECT_TRUE(window.messages.empty());
    Wait(1);
    EXPECT_EQ(window.messages, std::vector<std::string>{kNoResponse});
    ExpectIdleAndFreed();

    // After EOT the time left from the last block counts; ignored bytes do
    // not restart it.
    window.messages.clear();
    Start(PROTO_XMODEM, 10);
    Reply(kNak);
    Wait(20000);
    Reply(kAck);
    Reply(kCan);
    Wait(kResponseTimeoutMs - 20000 - 1);
    EXPECT_EQ(state.m_nXState, XS_WAIT_EOT_ACK);
    Wait(1);
    EXPECT_EQ(window.messages, std::vector<std::string>{kNoResponse});
    ExpectIdleAndFreed();
}

TEST_F(XmodemSend, FailedWritesAreNotCounted)
{
    Start(PROTO_XMODEM, 10);
    window.writeOk = false;
    Wait(5000);
    Reply(kNak);
    EXPECT_EQ(window.progress, std::vector<std::uint32_t>{0});
    EXPECT_EQ(window.sent, 0u);
    EXPECT_EQ(window.deadline, 5000 + kResponseTimeoutMs); // restarted all the same
    Reply(kAck);
    EXPECT_EQ(state.m_nXState, XS_WAIT_EOT_ACK);
    EXPECT_EQ(window.sent, 0u);
}

TEST_F(XmodemSend, CloseDuringTransfer)
{
    Start(PROTO_XMODEM, 300);
    Reply(kNak);
    Reply(kAck);
    AbandonTransfer(state, window);
    ExpectIdleAndFreed();
    EXPECT_EQ(window.progress.back(), 85u); // left where it was
    Wait(kResponseTimeoutMs);
    Reply(kAck);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.packets.size(), 2u);
}

TEST_F(XmodemSend, RawSend)
{
    Start(PROTO_NONE, 10);
    ASSERT_EQ(window.packets.size(), 1u);
    EXPECT_EQ(Last(), file);
    EXPECT_EQ(window.progress, (std::vector<std::uint32_t>{0, 100, 0}));
    EXPECT_EQ(window.paused, kClosingPauseMs);
    EXPECT_EQ(window.sent, 10u);
    EXPECT_TRUE(window.controlsEnabled);
    EXPECT_FALSE(window.deadline);
    EXPECT_EQ(state.m_nXState, XS_IDLE);
    EXPECT_NE(state.m_pFileData, nullptr); // stays loaded

    window.writeOk = false;
    StartSend(state, window, PROTO_NONE);
    EXPECT_EQ(window.sent, 10u);
    EXPECT_EQ(state.m_nXState, XS_IDLE);
}

} // namespace
} // namespace transfer

namespace transfer {
namespace {

class YmodemSend : public XmodemSend {
protected:
    void Replies(const Bytes& bytes)
    {
        HandleReplies(state, window, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
};

TEST_F(YmodemSend, ABatchOfOneFileWithItsNameAndExactSize)
{
    state.m_filePath = "/home/me/build/u-boot.itb";
    state.m_fileModified = 01234567;
    Start(PROTO_YMODEM, 1024 + 100); // a full block, then a short last piece
    Replies({kCrcRequest});
    ASSERT_EQ(window.packets.size(), 1u);
    const Bytes header = Last();
    ASSERT_EQ(header.size(), 128u + 5);
    EXPECT_EQ(Bytes(header.begin(), header.begin() + 3), (Bytes{kSoh, 0x00, 0xFF}));
    const std::string field(header.begin() + 3, header.begin() + 3 + 128);
    EXPECT_EQ(field.substr(0, 31), std::string("u-boot.itb\0"
                                               "1124 1234567\0",
                                               24) +
                                       std::string(7, '\0'));
    const std::uint16_t crc = Crc16(header.data() + 3, 128);
    EXPECT_EQ(header[131], crc >> 8);
    EXPECT_EQ(header[132], crc & 0xFF);

    Replies({kNak}); // block 0 again, as a strict receiver asks for it
    EXPECT_EQ(Last(), header);
    Replies({kAck, kCrcRequest}); // both replies in one read
    ASSERT_EQ(window.packets.size(), 3u);
    EXPECT_EQ(Bytes(Last().begin(), Last().begin() + 4), (Bytes{kStx, 0x01, 0xFE, file[0]}));
    Replies({kAck});
    ASSERT_EQ(Last().size(), 128u + 5);
    EXPECT_EQ(Bytes(Last().begin(), Last().begin() + 4), (Bytes{kSoh, 0x02, 0xFD, file[1024]}));
    EXPECT_EQ(Last()[3 + 100], kYmodemFillByte);
    Replies({kAck});
    EXPECT_EQ(Last(), Bytes{kEot});
    Replies({kNak});
    EXPECT_EQ(Last(), Bytes{kEot});
    Replies({kAck, kCrcRequest});
    ASSERT_EQ(Last().size(), 128u + 5);
    EXPECT_EQ(Bytes(Last().begin(), Last().begin() + 3), (Bytes{kSoh, 0x00, 0xFF}));
    EXPECT_EQ(Bytes(Last().begin() + 3, Last().begin() + 131), Bytes(128, 0));
    EXPECT_EQ(state.m_nXState, XS_WAIT_END_ACK);
    Replies({kAck});
    ExpectIdleAndFreed();
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.sent, 4 * 133 + 1029 + 2); // block 0 twice, the data, EOT twice, the end
}

TEST_F(YmodemSend, AReceiverInChecksumModeIsToldAndStoppedAndSilenceEndsItAsForXmodem)
{
    Start(PROTO_YMODEM, 10);
    Replies({kNak});
    EXPECT_EQ(Last(), (Bytes{kCan, kCan}));
    EXPECT_EQ(window.messages, std::vector<std::string>{kYmodemNeedsCrc});
    ExpectIdleAndFreed();

    Start(PROTO_YMODEM, 10);
    Replies({kCrcRequest, kAck});
    EXPECT_EQ(state.m_nXState, XS_WAIT_DATA_START);
    Wait(kResponseTimeoutMs);
    EXPECT_EQ(window.messages.back(), kNoResponse);
    ExpectIdleAndFreed();
}

TEST(YmodemHeader, ALongNameTakesALargeBlockAndOnlyAnEndlessOneIsShortened)
{
    const std::string longName(200, 'n');
    const YmodemHeader large = MakeYmodemHeader("C:\\images\\" + longName + ".bin", 5, 0);
    EXPECT_EQ(large.blockSize, 1024u);
    EXPECT_EQ(std::string(large.data.begin(), large.data.end()), longName + ".bin" + std::string(1, '\0') + "5");

    // 1100 bytes of two-byte characters: cut at a character, ".bin" kept.
    std::string wide;
    for (int i = 0; i < 550; ++i)
        wide += "\xC3\xA9";
    const YmodemHeader shortened = MakeYmodemHeader("/" + wide + ".bin", 123456, 0);
    EXPECT_EQ(shortened.blockSize, 1024u);
    const std::string name(reinterpret_cast<const char*>(shortened.data.data()));
    EXPECT_LE(name.size() + 1 + 6 + 1, 1024u);
    EXPECT_EQ(name.substr(name.size() - 4), ".bin");
    EXPECT_EQ(name.size() % 2, 0u); // whole characters and the 4 bytes of the extension
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(MakeYmodemHeader("dir/", 1, 0).data.data())), "file");
}

} // namespace
} // namespace transfer
