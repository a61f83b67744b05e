#include "web/help_page.h"

#include <string>

namespace web {

namespace {

namespace fs = std::filesystem;

bool IsUsable(const char* value)
{
    return value && *value == '/';
}

} // namespace

std::optional<HelpPlace> HelpFolder(const char* runtimeDir, const char* cacheHome, const char* home)
{
    if (IsUsable(runtimeDir))
        return HelpPlace{runtimeDir};
    if (IsUsable(cacheHome))
        return HelpPlace{cacheHome};
    if (IsUsable(home))
        return HelpPlace{fs::path(home) / ".cache"};
    return std::nullopt;
}

std::string HelpRefusalText(const HelpPageResult& result)
{
    if (result.refusal.ok())
        return {};
    std::string text =
        "The folder " + result.refusal.what() + " is not used for the help page: " + result.refusal.words() + ".";
    if (result.address)
        text += "\n\nThe page is opened from " + result.folder.string() + " instead.";
    return text;
}

std::string FileUrl(const fs::path& absolute)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolute.string()) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                           b == '.' || b == '_' || b == '~' || b == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 15];
        }
    }
    return url;
}

} // namespace web
