#include "terminal/chunk_queue.h"

#include <algorithm>

namespace terminal {

std::size_t ChunkQueue::TakeChunk(std::uint8_t* chunk)
{
    const std::size_t n = std::min(kChunkSize, end_ - begin_);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(begin_), n, chunk);
    begin_ += n;
    return n;
}

} // namespace terminal
