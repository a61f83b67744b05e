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
    auto loaded = ReadWholeFile(path);
    if (!loaded)
        return false;
    state.m_pFileData = loaded->block.release();
    state.m_nFileSize = loaded->size > 0 ? static_cast<std::uint32_t>(loaded->size) : 0;
    state.m_filePath = path;
    state.m_fileModified = loaded->modified;
    return state.m_nFileSize > 0;
}

} // namespace transfer
