#include "web/advert.h"

#include "res/strings.h"
#include "ui/web_view.h"

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

std::optional<std::string> AdvertStartUrl(const std::optional<std::string>& setting)
{
    if (!setting)
        return std::string(res::kAdvertUrl);
    // Only web addresses: the pane never opens local files or other schemes.
    if (!ui::IsWebAddress(*setting))
        return std::nullopt;
    return *setting;
}

} // namespace web
