#include "terminal/receive_batch.h"

#include <utility>

namespace terminal {

void ReceiveBatch::Add(const RxDisplay& chunk, std::uint32_t& shown, std::uint32_t limit, bool autoClear)
{
    if (shown + chunk.length > limit && autoClear) {
        shown = 0;
        edit_ = Edit{true, 0, {}};
    }
    if (!edit_)
        edit_ = Edit{false, shown, {}};
    // The box keeps at most `limit` characters, four bytes each at most:
    // text beyond that would be dropped by the box anyway.
    if (edit_->text.size() < 4 * static_cast<std::size_t>(limit) + 4)
        edit_->text += chunk.text;
    shown += chunk.length;
}

std::optional<ReceiveBatch::Edit> ReceiveBatch::Take()
{
    return std::exchange(edit_, std::nullopt);
}

} // namespace terminal
