#include "transfer/send_state.h"

#include "transfer/load_file.h"

#include <cstdlib>

namespace transfer {

FileBlock& FileBlock::operator=(std::uint8_t* mallocBlock)
{
    m_block.reset(mallocBlock, [](std::uint8_t* block) { std::free(block); });
    return *this;
}

FileSendState::~FileSendState()
{
    FreeFileData(*this);
}

void FreeFileData(FileSendState& state)
{
    if (state.m_pFileData == nullptr)
        return;
    state.m_pFileData.Reset();
    state.m_nFileSize = 0;
}

void ResetTransfer(FileSendState& state, SenderHost& host)
{
    state.m_nBlock = 0;
    state.m_nXState = XS_IDLE;
    state.m_nRetries = 0;
    host.SetSendControlsEnabled(true);
}

bool LoadFileToSend(FileSendState& state, const char* path)
{
    FreeFileData(state);
    std::uint8_t* block = nullptr;
    const std::int32_t size = LoadFile(&block, path);
    state.m_pFileData = block;
    state.m_nFileSize = size > 0 ? static_cast<std::uint32_t>(size) : 0;
    return state.m_nFileSize > 0;
}

} // namespace transfer
