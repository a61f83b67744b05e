#pragma once
// The file sender's state and the file it sends.
//
// The main window keeps one FileSendState in place of separate members. The
// fields carry the names the window's members are known by, so the window
// reads `m_send.m_nXState`, `m_send.m_nBlock` and so on. A record rather
// than loose members of the window: the sender's rules (idle means block
// index and re-send count 0; the end, cancellation or time-out of a
// transfer frees the file) are kept by the functions of this folder, which
// run and are tested without a window, and there is no second copy of the
// state that could disagree with the window's.

#include "transfer/sender_host.h"
#include "transfer/xmodem_state.h"

#include <cstdint>
#include <memory>
#include <string>

namespace transfer {

// The loaded file: one block from malloc, read through like a plain
// pointer. A raw send hands the port's output queue a share of it rather
// than a copy, so a large file sits in memory once; the block is freed when
// the last holder lets go (the window, or the queue once it has sent it).
class FileBlock {
public:
    FileBlock() = default;
    // Takes over a block from malloc, or null.
    FileBlock& operator=(std::uint8_t* mallocBlock);
    operator std::uint8_t*() const { return m_block.get(); }
    std::shared_ptr<const std::uint8_t[]> Share() const { return m_block; }
    // Lets go of this holder's share.
    void Reset() { m_block.reset(); }

private:
    std::shared_ptr<std::uint8_t[]> m_block;
};

struct FileSendState {
    XmodemState m_nXState = XS_IDLE;
    std::int32_t m_nXProtocol = PROTO_NONE; // the protocol list's row when the send started
    std::int32_t m_nBlock = 0;              // index of the block being sent, from 0
    int m_bXCrc = 0;                        // 1: the receiver asked for CRC-16; 0: checksum
    FileBlock m_pFileData;                  // the loaded file, from LoadFile (malloc), or null
    std::uint32_t m_nFileSize = 0;          // bytes in m_pFileData
    std::uint32_t m_nRetries = 0;           // re-sends of the current block (or of EOT)
    // What YMODEM's block 0 tells of the loaded file: the path it was
    // loaded from, and its modification time (seconds since 1970; 0 unknown).
    std::string m_filePath;
    std::int64_t m_fileModified = 0;

    FileSendState() = default;
    ~FileSendState(); // frees the file
    FileSendState(const FileSendState&) = delete;
    FileSendState& operator=(const FileSendState&) = delete;
};

// Frees the loaded file, if any: m_pFileData null, m_nFileSize 0.
void FreeFileData(FileSendState& state);

// Back to idle: block index, state and re-send count 0, then the three send
// controls enabled. Leaves the file, the progress bar and the timer alone.
void ResetTransfer(FileSendState& state, SenderHost& host);

// Frees the previous file and reads `path` whole. True when at least one
// byte was read. An empty file gives false and may leave an empty buffer
// loaded (freed like any other). Only while idle: the buffer of a running
// transfer must not be replaced.
bool LoadFileToSend(FileSendState& state, const char* path);

} // namespace transfer
