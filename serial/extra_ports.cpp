#include "serial/extra_ports.h"

namespace serial {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

std::vector<std::string_view> SplitExtraList(std::string_view value)
{
    std::vector<std::string_view> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string_view::npos)
            end = value.size();
        if (const std::string_view entry = TrimBlanks(value.substr(start, end - start)); !entry.empty())
            entries.push_back(entry);
        start = end + 1;
    }
    return entries;
}

std::vector<std::string> ParseExtraPorts(std::string_view value)
{
    const std::vector<std::string_view> entries = SplitExtraList(value);
    return {entries.begin(), entries.end()};
}

} // namespace serial
