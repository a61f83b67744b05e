#include "transfer/file_sender.h"

#include "transfer/send_messages.h"
#include "transfer/xmodem_block.h"

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
    state.m_bXCrc = reply == kCrcRequest ? 1 : 0;
    host.SetProgress(0);
    state.m_nXState = XS_SENDING;
    SendNextBlock(state, host);
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
    if (reply == kAck)
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
    if (rules.blockSize != 0)
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
    case XS_IDLE:
        break;
    }
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
