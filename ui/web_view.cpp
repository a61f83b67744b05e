#include "ui/web_view.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ui {

namespace {

constexpr std::string_view kEmbeddedPrefix = "vantrel-res:///";

} // namespace

std::string SchemeOf(std::string_view url)
{
    const auto colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string scheme(url.substr(0, colon));
    for (char& c : scheme) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '+' && c != '-' && c != '.')
            return {};
        c = static_cast<char>(std::tolower(u));
    }
    return scheme;
}

bool IsWebAddress(std::string_view url)
{
    const auto startsWith = [url](std::string_view prefix) {
        return url.size() >= prefix.size() &&
               std::ranges::equal(url.substr(0, prefix.size()), prefix,
                                  [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    };
    return startsWith("https://") || startsWith("http://");
}

std::string EmbeddedUrl(std::string_view name)
{
    return std::string(kEmbeddedPrefix) + std::string(name);
}

std::optional<std::string> EmbeddedName(std::string_view url)
{
    if (SchemeOf(url) != kEmbeddedScheme || url.substr(kEmbeddedScheme.size(), 4) != ":///")
        return std::nullopt;
    std::string_view name = url.substr(kEmbeddedPrefix.size());
    name = name.substr(0, name.find_first_of("?#"));
    if (name.empty() || name.find('/') != std::string_view::npos)
        return std::nullopt;
    return std::string(name);
}

namespace {

std::string Base64(std::span<const unsigned char> bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned value = static_cast<unsigned>(bytes[i]) << 16;
        if (n > 1)
            value |= static_cast<unsigned>(bytes[i + 1]) << 8;
        if (n > 2)
            value |= bytes[i + 2];
        out += kDigits[(value >> 18) & 63];
        out += kDigits[(value >> 12) & 63];
        out += n > 1 ? kDigits[(value >> 6) & 63] : '=';
        out += n > 2 ? kDigits[value & 63] : '=';
    }
    return out;
}

} // namespace

std::string InlineEmbeddedImages(std::string_view html, const WebViewClient& files)
{
    static constexpr std::string_view kSrc = "src=\"";
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = html.find(kSrc); at != std::string_view::npos; at = html.find(kSrc, from)) {
        const std::size_t start = at + kSrc.size();
        const std::size_t end = html.find('"', start);
        if (end == std::string_view::npos)
            break;
        out.append(html.substr(from, start - from));
        const std::string_view name = html.substr(start, end - start);
        if (const auto file = files.FindEmbedded(name))
            out.append("data:").append(file->mimeType).append(";base64,").append(Base64(file->bytes));
        else
            out.append(name);
        from = end;
    }
    out.append(html.substr(from));
    return out;
}

bool IsNavigationAllowed(std::string_view url)
{
    static constexpr std::array<std::string_view, 4> kAllowed = {"https", "http", kEmbeddedScheme, "about"};
    const std::string scheme = SchemeOf(url);
    if (scheme == "about")
        return url == "about:blank";
    return std::find(kAllowed.begin(), kAllowed.end(), scheme) != kAllowed.end();
}

} // namespace ui
