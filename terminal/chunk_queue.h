#pragma once
// Received bytes read from the port in large blocks and handed on in the
// chunks that reading them a chunk at a time would have given.

#include <array>
#include <cstddef>
#include <cstdint>

namespace terminal {

// One read per block instead of one per chunk. The bytes of a block wait
// here, not in the reader's locals, so that a poll run while a chunk is being
// handed on (from a message box's own loop) takes the next chunks in order
// instead of reading newer bytes ahead of them. Allocates nothing.
class ChunkQueue {
public:
    static constexpr std::size_t kChunkSize = 128;
    static constexpr std::size_t kCapacity = 128 * kChunkSize;

    bool Empty() const { return m_begin == m_end; }

    // Refills an empty queue: read(buffer, capacity) puts up to capacity bytes
    // into buffer and returns how many (less than 1: none). Returns that
    // count; the queue stays empty when it is below 1.
    template <typename Read>
    std::int32_t Fill(Read&& read)
    {
        m_begin = m_end = 0;
        const std::int32_t got = read(m_bytes.data(), static_cast<std::uint32_t>(kCapacity));
        if (got > 0)
            m_end = static_cast<std::size_t>(got) < kCapacity ? static_cast<std::size_t>(got) : kCapacity;
        return got;
    }

    // Moves the next chunk, at most kChunkSize bytes, into chunk and returns
    // its length; 0 when empty. A block splits into whole chunks, and its
    // last chunk takes what is left.
    std::size_t TakeChunk(std::uint8_t* chunk);

private:
    std::array<std::uint8_t, kCapacity> m_bytes{};
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

} // namespace terminal
