#include "transfer/send_state.h"

#include "transfer/load_file.h"

#include <cstdlib>

namespace transfer {

FileSendState::~FileSendState()
{
    FreeFileData(*this);
}

void FreeFileData(FileSendState& state)
{
    if (state.m_pFileData == nullptr)
        return;
    std::free(state.m_pFileData);
    state.m_nFileSize = 0;
    state.m_pFileData = nullptr;
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
    const std::int32_t size = LoadFile(&state.m_pFileData, path);
    state.m_nFileSize = size > 0 ? static_cast<std::uint32_t>(size) : 0;
    return state.m_nFileSize > 0;
}

} // namespace transfer
