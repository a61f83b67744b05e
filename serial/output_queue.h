#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "base/status.h"
#include "serial/dcb.h"

namespace serial {

// A device's output in the order it was handed over: blocks of bytes to
// send, and line records to apply once everything before them has left.
// It holds the rule for how much it takes, OutputQueueLimit of the record
// in force: a block of any size is taken whole while the bytes not yet
// handed to the driver are below the limit, and refused only at it. It also
// counts the bytes that never left. It locks nothing: a device keeps it
// under its own mutex and asks it only with that mutex held.
class OutputQueue {
public:
    // What became of a queued record. done is set once the record has been
    // tried (accepted telling how it went, refusal why the driver refused
    // it) or dropped unapplied.
    struct RecordOutcome {
        bool done = false;
        bool accepted = false;
        base::Status refusal;
    };

    // The next bytes to hand to the driver: size bytes at data, part of a
    // block that block keeps alive while the driver may still read them.
    struct Bytes {
        std::shared_ptr<const std::uint8_t[]> block;
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
    };

    // A block of its own holding a copy of count bytes at data; empty when
    // count is 0.
    static std::shared_ptr<const std::uint8_t[]> CopyOf(const std::uint8_t* data, std::size_t count);

    // Queues the first count bytes of block, the block itself and not a
    // copy. Refused (false, block let go) while the unsent bytes hold the
    // limit, unless evenWhenFull: the rest of a frame whose start was taken
    // must never be refused, so that start never leaves alone. Nothing is
    // queued for count 0; it answers as a write would.
    bool Add(std::shared_ptr<const std::uint8_t[]> block, std::size_t count, bool evenWhenFull);

    // Queues a record behind everything queued; never refused. Its outcome
    // is settled by CompleteRecord, or by DiscardAll.
    std::shared_ptr<const RecordOutcome> AddRecord(const DCB& record);

    // How far the unsent bytes are below the limit; 0 at it, where writes
    // are refused. Below it the next write is taken whole however long.
    std::size_t Room() const;
    bool IsEmpty() const;

    // The record at the front, due once the driver has sent what it was
    // given; null when bytes come first or nothing is queued.
    const DCB* FrontRecord() const;

    // Up to most bytes of the front block not yet handed over; size 0 when a
    // record comes first or nothing is queued.
    Bytes Next(std::size_t most) const;

    // The driver took count bytes of what Next offered (any more are counted
    // as the rest of the block). True when that finished the front block and
    // it has left the queue.
    bool Sent(std::size_t count);

    // The front record was tried: settles its outcome and removes it. An
    // accepted record is in force from now on, and the limit with it. False
    // when the front is no record (the queue was emptied meanwhile).
    bool CompleteRecord(bool accepted, base::Status refusal = {});

    // The record the limit follows: the last accepted one, or the one set.
    const DCB& RecordInForce() const;
    void SetRecordInForce(const DCB& record);

    // Empties the queue: bytes not handed over are counted as discarded,
    // records are settled as not accepted.
    void DiscardAll();

    // Counts bytes lost after they left the queue (the driver's buffer
    // thrown away at closing).
    void CountDiscarded(std::uint64_t bytes);

    // All bytes taken that never left the program. Grows only.
    std::uint64_t Discarded() const;

private:
    struct Piece {
        std::shared_ptr<const std::uint8_t[]> block; // null for a record
        std::size_t size = 0;
        std::size_t sent = 0;
        DCB record{};
        std::shared_ptr<RecordOutcome> outcome; // set for a record only
    };

    std::deque<Piece> m_pieces;
    std::size_t m_unsentBytes = 0;
    std::uint64_t m_discarded = 0;
    DCB m_inForce{};
};

} // namespace serial
