#include "terminal/chunk_queue.h"

#include <algorithm>

namespace terminal {

std::size_t ChunkQueue::TakeChunk(std::uint8_t* chunk)
{
    const std::size_t n = std::min(kChunkSize, m_end - m_begin);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_begin), n, chunk);
    m_begin += n;
    return n;
}

} // namespace terminal
