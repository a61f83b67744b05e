#include "transfer/file_sender.h"

#include "transfer/send_messages.h"
#include "transfer/xmodem_block.h"
#include "transfer/ymodem_header.h"

namespace transfer {

namespace {

// The raw send: the whole file in one write, the bar full for a moment.
// A write the port refuses shows no progress and counts nothing; when the
// reason is earlier data still going out, the user is told.
void SendWholeFile(FileSendState& state, SenderHost& host)
{
    host.SetProgress(0);
    if (!host.WritePortShared(state.m_pFileData.Share(), state.m_pFileData ? state.m_nFileSize : 0)) {
        const bool stillSending = host.PortStillSending();
        ResetTransfer(state, host);
        if (stillSending)
            host.ShowMessage(kPortStillSending);
        return;
    }
    host.SetProgress(100);
    host.Pause(kClosingPauseMs);
    host.SetProgress(0);
    host.SetSendControlsEnabled(true);
    state.m_nXState = XS_IDLE;
    host.AddToSentCount(state.m_nFileSize);
}

// EOT does not restart the timer: its ACK is due within the time left from
// the last block.
void SendEndOfFile(FileSendState& state, SenderHost& host)
{
    const bool ok = host.WritePort(&kEot, 1);
    state.m_nXState = XS_WAIT_EOT_ACK;
    if (ok)
        host.AddToSentCount(1);
}

// (block + 1) × B × 100 / size, rounded down; above 100 for a short last block.
std::uint32_t ProgressAfter(std::uint32_t blockIndex, std::uint32_t blockSize, std::uint32_t fileSize)
{
    const std::uint64_t sent = (std::uint64_t{blockIndex} + 1) * blockSize * 100;
    const std::uint64_t percent = sent / fileSize;
    return percent > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(percent);
}

void SendDataBlock(FileSendState& state, SenderHost& host, const ProtocolRules& rules)
{
    const auto index = static_cast<std::uint32_t>(state.m_nBlock);
    PacketBuffer packet;
    const std::uint32_t length =
        BuildFilePacket(packet, state.m_pFileData, state.m_nFileSize, rules, index, state.m_bXCrc != 0);
    if (length == 0) {
        SendEndOfFile(state, host);
        return;
    }
    const bool ok = host.WritePort(packet.data(), length);
    // Restarted even when the write failed: without a reply the time-out
    // then ends the transfer.
    host.StartResponseTimer();
    if (!ok)
        return;
    host.SetProgress(ProgressAfter(index, rules.blockSize, state.m_nFileSize));
    host.AddToSentCount(length);
}

// One of YMODEM's blocks 0: the one that names the file, or the empty one
// that ends the batch. It restarts the timer and moves no progress.
void SendBatchBlock(FileSendState& state, SenderHost& host, bool naming)
{
    const YmodemHeader header =
        naming ? MakeYmodemHeader(state.m_filePath, state.m_nFileSize, state.m_fileModified) : YmodemHeader{};
    PacketBuffer packet;
    const std::uint32_t length = BuildPacket(packet, 0, header.data, header.blockSize, 0x00, true);
    const bool ok = host.WritePort(packet.data(), length);
    host.StartResponseTimer();
    if (ok)
        host.AddToSentCount(length);
}

// Two CANs stop a receiver that is still asking.
void StopReceiver(SenderHost& host)
{
    const std::uint8_t cancel[] = {kCan, kCan};
    if (host.WritePort(cancel, sizeof cancel))
        host.AddToSentCount(sizeof cancel);
}

// The order matters to the user: the sender is idle, its controls enabled
// and the file freed before the box shows; the bar keeps its position until
// the box is dismissed.
void Cancel(FileSendState& state, SenderHost& host, const char* message)
{
    host.StopResponseTimer();
    ResetTransfer(state, host);
    FreeFileData(state);
    host.ShowMessage(message);
    host.SetProgress(0);
}

void Finish(FileSendState& state, SenderHost& host)
{
    host.StopResponseTimer();
    ResetTransfer(state, host);
    FreeFileData(state);
    host.Pause(kClosingPauseMs);
    host.SetProgress(0);
}

// A NAK asks for the last packet again (a block, or EOT), up to the bound.
void Resend(FileSendState& state, SenderHost& host)
{
    if (state.m_nRetries > kResendBound) {
        Cancel(state, host, kTooManyResends);
        return;
    }
    SendNextBlock(state, host);
    ++state.m_nRetries;
}

void HandleStartRequest(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply != kCrcRequest && reply != kNak)
        return;
    const ProtocolRules& rules = RulesFor(state.m_nXProtocol);
    if (rules.crcOnly && reply == kNak) {
        // Blocks the receiver would check with the wrong sum: said plainly
        // rather than left to time out.
        StopReceiver(host);
        Cancel(state, host, kYmodemNeedsCrc);
        return;
    }
    state.m_bXCrc = reply == kCrcRequest ? 1 : 0;
    host.SetProgress(0);
    state.m_nXState = rules.batch ? XS_WAIT_HEADER_ACK : XS_SENDING;
    SendNextBlock(state, host);
}

// The next step of a batch, after an ACK: the receiver then asks again
// with C. The timer runs for that request as for a reply.
void AwaitRequest(FileSendState& state, SenderHost& host, XmodemState next)
{
    state.m_nXState = next;
    state.m_nRetries = 0;
    host.StartResponseTimer();
}

// Block 0 names the file. A receiver that did not take it asks again (NAK,
// or C once more) and gets it again, up to the re-send bound.
void HandleHeaderReply(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply == kAck)
        AwaitRequest(state, host, XS_WAIT_DATA_START);
    else if (reply == kNak || reply == kCrcRequest)
        Resend(state, host);
    else if (reply == kCan)
        Cancel(state, host, kCancelledByRemote);
}

// C asks for the data. A NAK means block 0 went astray after all: it goes
// again, and its ACK is waited for once more.
void HandleDataRequest(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply == kCrcRequest) {
        state.m_nXState = XS_SENDING;
        SendNextBlock(state, host);
    } else if (reply == kNak) {
        state.m_nXState = XS_WAIT_HEADER_ACK;
        Resend(state, host);
    } else if (reply == kCan) {
        Cancel(state, host, kCancelledByRemote);
    }
}

// After the file the receiver asks for the next one (C); the empty block 0
// says there is none, and its ACK ends the batch.
void HandleEndRequest(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply != kCrcRequest && reply != kNak)
        return;
    state.m_nXState = XS_WAIT_END_ACK;
    SendNextBlock(state, host);
}

void HandleEndReply(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply == kAck)
        Finish(state, host);
    else if (reply == kNak || reply == kCrcRequest)
        Resend(state, host);
}

void HandleBlockReply(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    switch (reply) {
    case kAck:
        ++state.m_nBlock;
        SendNextBlock(state, host);
        state.m_nRetries = 0;
        break;
    case kNak:
        Resend(state, host);
        break;
    case kCan:
        Cancel(state, host, kCancelledByRemote);
        break;
    default:
        break;
    }
}

// A receiver may NAK the first EOT to make sure the end is meant; it gets
// EOT again. CAN here is not acted on: every block has been accepted.
void HandleEndOfFileReply(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    if (reply == kAck && RulesFor(state.m_nXProtocol).batch)
        AwaitRequest(state, host, XS_WAIT_END_START);
    else if (reply == kAck)
        Finish(state, host);
    else if (reply == kNak)
        Resend(state, host);
}

} // namespace

void StartSend(FileSendState& state, SenderHost& host, std::int32_t protocol)
{
    if (state.m_nXState != XS_IDLE)
        return;
    state.m_nXProtocol = protocol;
    state.m_nXState = XS_WAIT_START;
    host.SetSendControlsEnabled(false);
    if (protocol == PROTO_NONE)
        SendNextBlock(state, host);
    else
        host.StartResponseTimer();
}

void SendNextBlock(FileSendState& state, SenderHost& host)
{
    if (state.m_nXProtocol == PROTO_NONE) {
        SendWholeFile(state, host);
        return;
    }
    const ProtocolRules& rules = RulesFor(state.m_nXProtocol);
    if (rules.blockSize == 0)
        return;
    if (state.m_nXState == XS_WAIT_HEADER_ACK || state.m_nXState == XS_WAIT_END_ACK)
        SendBatchBlock(state, host, state.m_nXState == XS_WAIT_HEADER_ACK);
    else
        SendDataBlock(state, host, rules);
}

void HandleXmodemReply(FileSendState& state, SenderHost& host, std::uint8_t reply)
{
    switch (state.m_nXState) {
    case XS_WAIT_START:
        HandleStartRequest(state, host, reply);
        break;
    case XS_SENDING:
        HandleBlockReply(state, host, reply);
        break;
    case XS_WAIT_EOT_ACK:
        HandleEndOfFileReply(state, host, reply);
        break;
    case XS_WAIT_HEADER_ACK:
        HandleHeaderReply(state, host, reply);
        break;
    case XS_WAIT_DATA_START:
        HandleDataRequest(state, host, reply);
        break;
    case XS_WAIT_END_START:
        HandleEndRequest(state, host, reply);
        break;
    case XS_WAIT_END_ACK:
        HandleEndReply(state, host, reply);
        break;
    case XS_IDLE:
        break;
    }
}

void HandleReplies(FileSendState& state, SenderHost& host, const std::uint8_t* bytes, std::uint32_t count)
{
    if (count == 0)
        return;
    if (!RulesFor(state.m_nXProtocol).batch) {
        HandleXmodemReply(state, host, bytes[0]);
        return;
    }
    for (std::uint32_t i = 0; i < count && state.m_nXState != XS_IDLE; ++i)
        HandleXmodemReply(state, host, bytes[i]);
}

void HandleResponseTimeout(FileSendState& state, SenderHost& host)
{
    host.StopResponseTimer();
    if (state.m_nXState == XS_IDLE)
        return;
    FreeFileData(state);
    ResetTransfer(state, host);
    host.ShowMessage(kNoResponse);
    host.SetProgress(0);
}

void AbandonTransfer(FileSendState& state, SenderHost& host)
{
    host.StopResponseTimer();
    FreeFileData(state);
    ResetTransfer(state, host);
}

} // namespace transfer
