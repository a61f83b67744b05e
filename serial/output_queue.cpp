#include "serial/output_queue.h"

#include <algorithm>

#include "serial/character_time.h"

namespace serial {

std::shared_ptr<const std::uint8_t[]> OutputQueue::CopyOf(const std::uint8_t* data, std::size_t count)
{
    if (count == 0)
        return nullptr;
    auto copy = std::make_shared_for_overwrite<std::uint8_t[]>(count);
    std::copy_n(data, count, copy.get());
    return copy;
}

bool OutputQueue::Add(std::shared_ptr<const std::uint8_t[]> block, std::size_t count, bool evenWhenFull)
{
    if (!evenWhenFull && Room() == 0)
        return false;
    if (count == 0)
        return true;
    Piece piece;
    piece.block = std::move(block);
    piece.size = count;
    m_pieces.push_back(std::move(piece));
    m_unsentBytes += count;
    return true;
}

std::shared_ptr<const OutputQueue::RecordOutcome> OutputQueue::AddRecord(const DCB& record)
{
    Piece piece;
    piece.record = record;
    piece.outcome = std::make_shared<RecordOutcome>();
    m_pieces.push_back(piece);
    return piece.outcome;
}

std::size_t OutputQueue::Room() const
{
    const std::size_t limit = OutputQueueLimit(m_inForce);
    return m_unsentBytes < limit ? limit - m_unsentBytes : 0;
}

bool OutputQueue::IsEmpty() const
{
    return m_pieces.empty();
}

const DCB* OutputQueue::FrontRecord() const
{
    if (m_pieces.empty() || !m_pieces.front().outcome)
        return nullptr;
    return &m_pieces.front().record;
}

OutputQueue::Bytes OutputQueue::Next(std::size_t most) const
{
    if (m_pieces.empty() || m_pieces.front().outcome)
        return {};
    const Piece& front = m_pieces.front();
    return {front.block, front.block.get() + front.sent, std::min(most, front.size - front.sent)};
}

bool OutputQueue::Sent(std::size_t count)
{
    if (m_pieces.empty() || m_pieces.front().outcome)
        return false;
    Piece& front = m_pieces.front();
    count = std::min(count, front.size - front.sent);
    front.sent += count;
    m_unsentBytes -= count;
    if (front.sent < front.size)
        return false;
    m_pieces.pop_front();
    return true;
}

bool OutputQueue::CompleteRecord(bool accepted, base::Status refusal)
{
    if (!FrontRecord())
        return false;
    Piece& front = m_pieces.front();
    if (accepted)
        m_inForce = front.record;
    front.outcome->accepted = accepted;
    front.outcome->refusal = std::move(refusal);
    front.outcome->done = true;
    m_pieces.pop_front();
    return true;
}

const DCB& OutputQueue::RecordInForce() const
{
    return m_inForce;
}

void OutputQueue::SetRecordInForce(const DCB& record)
{
    m_inForce = record;
}

void OutputQueue::DiscardAll()
{
    m_discarded += m_unsentBytes;
    for (Piece& piece : m_pieces)
        if (piece.outcome)
            piece.outcome->done = true;
    m_pieces.clear();
    m_unsentBytes = 0;
}

void OutputQueue::CountDiscarded(std::uint64_t bytes)
{
    m_discarded += bytes;
}

std::uint64_t OutputQueue::Discarded() const
{
    return m_discarded;
}

} // namespace serial
