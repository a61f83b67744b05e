#pragma once
// Sending a loaded file: raw, or as the sending side of XMODEM (128-byte
// blocks, checksum or CRC-16), 1K XMODEM (1024-byte blocks) and YMODEM
// (one file in a batch, with CRC-16). One loop serves the three protocols;
// what differs between them is data (protocol_rules.h).
//
// Pure logic over a FileSendState: the user's actions, the receiver's reply
// bytes and the response timer's expiry come in as calls; everything the
// user or the line sees goes out through the SenderHost, in order. Nothing
// here knows about time: a reply is acted on whenever it is handed over,
// so the caller decides how soon that is.
//
// A transfer: StartSend with an XMODEM protocol waits for the receiver's
// first request (C for CRC-16, NAK for the checksum), then sends block 0.
// Each ACK sends the next block, or EOT when the file is used up; each NAK
// sends the same block (or EOT) again, at most kResendBound times in a row;
// the next NAK cancels. CAN cancels while blocks are going out, and is
// ignored before the first block and after EOT. The ACK to EOT finishes.
// The response timer, restarted after every block, ends a silent transfer.
//
// YMODEM wraps the same exchange in a batch of one file: the request C
// gets block 0, which names the file and its size (ymodem_header.h); its
// ACK and a second C start the data, in 1024-byte blocks and a last piece
// of up to 128 bytes in a 128-byte one. The ACK to EOT is followed by a C
// for the next file, which the empty block 0 answers; its ACK finishes. A
// receiver that asks for checksum mode is told plainly that YMODEM needs
// CRC. Re-sends, CAN, the timer and Close work as for XMODEM.

#include "transfer/send_state.h"
#include "transfer/sender_host.h"

#include <cstdint>

namespace transfer {

// The response timer's period: to the first request, and after each block.
inline constexpr std::uint32_t kResponseTimeoutMs = 30000;
// A NAK is answered by a re-send while m_nRetries is at most this.
inline constexpr std::uint32_t kResendBound = 10;
// After a finished send, before the progress bar goes back to 0.
inline constexpr std::uint32_t kClosingPauseMs = 300;

// Starts sending the loaded file (idle, m_nFileSize at least 1; see
// LoadFileToSend) with the protocol list's row: the send controls are
// disabled; PROTO_NONE sends the whole file at once and ends idle with the
// file still loaded; any other value waits for the receiver's request with
// the response timer running (a value that is no protocol never sends a
// block, so the time-out ends it).
void StartSend(FileSendState& state, SenderHost& host, std::int32_t protocol);

// Sends what comes next for m_nXProtocol: the whole file for PROTO_NONE;
// block m_nBlock, or EOT once the file is used up, for the two XMODEM
// protocols; nothing for any other value. A block restarts the response
// timer, EOT does not. Progress and the sent counter move only for what
// the port took.
void SendNextBlock(FileSendState& state, SenderHost& host);

// The receiver's reply: the first byte of one read from the port. Every
// other byte of that read is the receiver's noise or payload, not a reply.
// Ignored while idle, so every read may be handed over.
void HandleXmodemReply(FileSendState& state, SenderHost& host, std::uint8_t reply);

// The replies in one read from the port: for the XMODEM rows its first
// byte alone, as HandleXmodemReply takes it; for YMODEM, whose receivers
// send an ACK and the next request at once, each byte in turn.
void HandleReplies(FileSendState& state, SenderHost& host, const std::uint8_t* bytes, std::uint32_t count);

// The response timer ran out: the transfer ends with the no-response
// message, the file freed. Ignored while idle.
void HandleResponseTimeout(FileSendState& state, SenderHost& host);

// The port is being closed: any transfer is dropped without a message, the
// timer stopped, the file freed and the send controls enabled; the
// progress bar keeps its position.
void AbandonTransfer(FileSendState& state, SenderHost& host);

} // namespace transfer
