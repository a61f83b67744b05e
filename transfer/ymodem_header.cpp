#include "transfer/ymodem_header.h"

#include <algorithm>
#include <cstdio>

namespace transfer {

namespace {

// Whether `at` starts a UTF-8 character (is not a continuation byte).
bool StartsCharacter(std::string_view text, std::size_t at)
{
    return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

// The name cut to at most `room` bytes: its stem shortened, its extension
// kept where the room allows.
std::string Shortened(std::string_view name, std::size_t room)
{
    if (name.size() <= room)
        return std::string(name);
    const std::size_t dot = name.rfind('.');
    std::string_view extension = dot != std::string_view::npos && dot > 0 ? name.substr(dot) : std::string_view();
    if (extension.size() >= room)
        extension = {};
    std::size_t stem = room - extension.size();
    while (stem > 0 && !StartsCharacter(name, stem))
        --stem;
    return std::string(name.substr(0, stem)) + std::string(extension);
}

} // namespace

std::string_view BaseName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

YmodemHeader MakeYmodemHeader(std::string_view path, std::uint64_t size, std::int64_t modified)
{
    std::string_view name = BaseName(path);
    if (name.empty())
        name = "file";
    char numbers[64];
    const int length = modified > 0
                           ? std::snprintf(numbers, sizeof numbers, "%llu %llo", static_cast<unsigned long long>(size),
                                           static_cast<unsigned long long>(modified))
                           : std::snprintf(numbers, sizeof numbers, "%llu", static_cast<unsigned long long>(size));
    const std::string_view tail(numbers, static_cast<std::size_t>(std::max(length, 0)));

    // The name, its NUL, the numbers and at least one NUL after them.
    YmodemHeader header;
    header.blockSize = name.size() + tail.size() + 2 <= 128 ? 128 : 1024;
    const std::string kept = Shortened(name, header.blockSize - tail.size() - 2);
    header.data.assign(kept.begin(), kept.end());
    header.data.push_back(0);
    header.data.insert(header.data.end(), tail.begin(), tail.end());
    return header;
}

} // namespace transfer
