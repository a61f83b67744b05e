#include "ui/light_page.h"

#include "ui/html_tag.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {

using html::EqualsIgnoringCase;
using html::FindIgnoringCase;
using html::FindValue;
using html::IsSpace;
using html::IsTag;
using html::Lower;
using html::TagEnd;
using html::ValuePlace;

std::string WithoutAmpEntities(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        out += value[i];
        if (value[i] == '&' && EqualsIgnoringCase(value.substr(i, 5), "&amp;"))
            i += 4;
    }
    return out;
}

std::string AsAttributeValue(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// The tag with the value of its src attribute replaced (or one added).
std::string WithSource(std::string_view tag, std::string_view source)
{
    const std::string value = "\"" + AsAttributeValue(source) + "\"";
    const ValuePlace place = FindValue(tag, "src");
    if (!place.found())
        return std::string(tag.substr(0, 4)) + " src=" + value + std::string(tag.substr(4));
    const bool quoted = place.QuotedIn(tag);
    const std::size_t from = quoted ? place.begin - 1 : place.begin;
    const std::size_t to = quoted ? std::min(place.end + 1, tag.size()) : place.end;
    return std::string(tag.substr(0, from)) + value + std::string(tag.substr(to));
}

std::string CharsetIn(std::string_view text)
{
    const std::size_t at = FindIgnoringCase(text, "charset", 0);
    if (at == std::string_view::npos)
        return {};
    std::size_t i = at + 7;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '=')
        return {};
    ++i;
    while (i < text.size() && (IsSpace(text[i]) || text[i] == '"' || text[i] == '\''))
        ++i;
    std::string charset;
    for (; i < text.size() && !IsSpace(text[i]) && text.substr(i, 1).find_first_of(";\"'>/") == std::string_view::npos;
         ++i)
        charset += Lower(text[i]);
    return charset;
}

} // namespace

std::string TagAttribute(std::string_view tag, std::string_view name)
{
    const ValuePlace place = FindValue(tag, name);
    if (place.begin == std::string_view::npos)
        return {};
    return WithoutAmpEntities(tag.substr(place.begin, place.end - place.begin));
}

std::string PageForLightView(std::string_view html, const PictureSource& picture)
{
    std::string out;
    out.reserve(html.size());
    std::size_t from = 0;
    for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', from)) {
        out.append(html.substr(from, at - from));
        if (html::IsComment(html, at)) {
            from = html::CommentEnd(html, at);
            out.append(html.substr(at, from - at));
        } else if (IsTag(html, at, "style") || IsTag(html, at, "script")) {
            const std::string_view closing = IsTag(html, at, "style") ? "</style" : "</script";
            const std::size_t close = FindIgnoringCase(html, closing, TagEnd(html, at));
            from = close == std::string_view::npos ? html.size() : TagEnd(html, close);
            // Text on both sides must not join into a tag ("<im" + "g src=...").
            const std::size_t lastOpen = out.rfind('<');
            if (lastOpen != std::string::npos && (out.rfind('>') == std::string::npos || out.rfind('>') < lastOpen))
                out += ' ';
        } else if (IsTag(html, at, "img")) {
            from = TagEnd(html, at);
            const std::string_view tag = html.substr(at, from - at);
            const std::string source = picture(tag);
            out += source.empty() ? std::string(tag) : WithSource(tag, source);
        } else {
            from = at + 1;
            out += '<';
        }
    }
    out.append(html.substr(std::min(from, html.size())));
    return out;
}

std::vector<std::string> PictureSources(std::string_view html)
{
    std::vector<std::string> sources;
    PageForLightView(html, [&sources](std::string_view tag) {
        std::string source = TagAttribute(tag, "src");
        if (!source.empty() && std::ranges::find(sources, source) == sources.end())
            sources.push_back(std::move(source));
        return std::string();
    });
    return sources;
}

std::string PageCharset(std::string_view contentType, std::string_view html)
{
    if (std::string charset = CharsetIn(contentType); !charset.empty())
        return charset;
    // A page must name its character set within its first 1024 bytes.
    const std::string_view head = html.substr(0, 1024);
    for (std::size_t at = FindIgnoringCase(head, "<meta", 0); at != std::string_view::npos;
         at = FindIgnoringCase(head, "<meta", at + 5)) {
        const std::string_view tag = head.substr(at, TagEnd(head, at) - at);
        if (std::string charset = TagAttribute(tag, "charset"); !charset.empty())
            return CharsetIn("charset=" + charset);
        if (EqualsIgnoringCase(TagAttribute(tag, "http-equiv"), "content-type"))
            if (std::string charset = CharsetIn(TagAttribute(tag, "content")); !charset.empty())
                return charset;
    }
    return {};
}

} // namespace ui
