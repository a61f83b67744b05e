#include "ui/web_view.h"

#include "ui/web_address.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ui {

namespace {

constexpr std::string_view kEmbeddedPrefix = "vantrel-res:///";

} // namespace

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

} // namespace ui
