#include "terminal/receive_batch.h"

#include "terminal/rx_text.h"

namespace terminal {

void ReceiveBatch::Add(const std::uint8_t* data, std::size_t n, bool ascii, std::uint32_t& shown, std::uint32_t limit,
                       bool autoClear)
{
    if (data == nullptr)
        n = 0;
    const std::uint32_t positions = RxPositions(n, ascii);
    if (shown + positions > limit && autoClear) {
        shown = 0;
        pending_ = false;
        emptyFirst_ = true;
        characters_ = 0;
        bytes_.clear();
        runs_.clear();
    }
    if (!pending_) {
        pending_ = true;
        start_ = shown;
    }
    // The box keeps at most `limit` characters after the start: text beyond
    // that would be dropped by the box anyway.
    if (characters_ < limit) {
        const std::size_t show = RxShownBytes(data, n, ascii);
        if (runs_.empty() || runs_.back().ascii != ascii)
            runs_.push_back({bytes_.size(), ascii});
        bytes_.insert(bytes_.end(), data, data + show);
        characters_ += RxPositions(show, ascii);
    }
    shown += positions;
}

std::optional<ReceiveBatch::Edit> ReceiveBatch::Take()
{
    if (!pending_ && !emptyFirst_)
        return std::nullopt;
    Edit edit{emptyFirst_, start_, {}};
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const std::size_t end = i + 1 < runs_.size() ? runs_[i + 1].begin : bytes_.size();
        AppendRxText(edit.text, bytes_.data() + runs_[i].begin, end - runs_[i].begin, runs_[i].ascii);
    }
    pending_ = false;
    emptyFirst_ = false;
    start_ = 0;
    characters_ = 0;
    bytes_.clear();
    runs_.clear();
    return edit;
}

} // namespace terminal
