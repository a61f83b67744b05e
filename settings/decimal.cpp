#include "settings/profile.h"

#include <limits>

namespace settings {
namespace {

bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

std::int32_t ParseDecimal(std::string_view text)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulated as a magnitude, capped just past the largest one that matters.
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMax + 1)
            magnitude = kMax + 1;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kMax)
        return static_cast<std::int32_t>(kMax);
    if (value < kMin)
        return static_cast<std::int32_t>(kMin);
    return static_cast<std::int32_t>(value);
}

} // namespace settings
