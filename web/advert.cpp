#include "web/advert.h"

#include "res/strings.h"

#include <algorithm>
#include <cctype>

namespace web {

bool NeedsEmbeddedAdvert(std::string_view title)
{
    const auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return !std::ranges::equal(title, kAdvertTitle, sameLetter);
}

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::ranges::equal(text.substr(0, prefix.size()), prefix,
                              [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace

bool IsWebAddress(std::string_view address)
{
    return StartsWithIgnoringCase(address, "https://") || StartsWithIgnoringCase(address, "http://");
}

std::optional<std::string> AdvertStartUrl(const std::optional<std::string>& setting)
{
    if (!setting)
        return std::string(res::kAdvertUrl);
    // Only web addresses: the pane never opens local files or other schemes.
    if (!IsWebAddress(*setting))
        return std::nullopt;
    return *setting;
}

} // namespace web
