#pragma once

#include <algorithm>
#include <utility>

namespace ui {

// The largest text limit an edit control takes; also its limit until one
// is set. A requested limit of zero or less asks for it.
inline constexpr int kLargestTextLimit = 0x7FFFFFFE;
inline int EffectiveTextLimit(int requested)
{
    return requested <= 0 ? kLargestTextLimit : requested;
}

// The selection an edit control makes of (start, end) over a text of
// `length` characters: end -1 means the end of the text, positions beyond
// the end mean the end, and a reversed pair is put in order.
inline std::pair<int, int> NormalizeSelection(int start, int end, int length)
{
    if (end < 0)
        end = length;
    if (start < 0)
        start = 0;
    start = std::min(start, length);
    end = std::min(end, length);
    if (start > end)
        std::swap(start, end);
    return {start, end};
}

// How many characters of an inserted text an edit control with `limit`
// takes when it replaces `selected` characters of a text of `length`: the
// box fills up to its limit and drops the rest.
inline int CharactersThatFit(int length, int selected, int inserted, int limit)
{
    const int room = limit - (length - selected);
    return std::clamp(room, 0, inserted);
}

} // namespace ui
