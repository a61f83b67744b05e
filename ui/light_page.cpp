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

// --- Addresses ----------------------------------------------------------------------

struct AddressParts {
    std::string_view scheme, authority, path, query, fragment;
    bool hasScheme = false, hasAuthority = false, hasQuery = false, hasFragment = false;
};

AddressParts Split(std::string_view address)
{
    AddressParts parts;
    const std::size_t colon = address.find(':');
    const std::size_t firstDelimiter = address.find_first_of("/?#");
    if (colon != std::string_view::npos && colon > 0 && colon < firstDelimiter &&
        std::isalpha(static_cast<unsigned char>(address[0])) &&
        std::ranges::all_of(address.substr(0, colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        })) {
        parts.hasScheme = true;
        parts.scheme = address.substr(0, colon);
        address.remove_prefix(colon + 1);
    }
    if (const std::size_t hash = address.find('#'); hash != std::string_view::npos) {
        parts.hasFragment = true;
        parts.fragment = address.substr(hash + 1);
        address = address.substr(0, hash);
    }
    if (const std::size_t question = address.find('?'); question != std::string_view::npos) {
        parts.hasQuery = true;
        parts.query = address.substr(question + 1);
        address = address.substr(0, question);
    }
    if (address.starts_with("//")) {
        parts.hasAuthority = true;
        const std::size_t slash = address.find('/', 2);
        parts.authority = address.substr(2, slash == std::string_view::npos ? std::string_view::npos : slash - 2);
        address = slash == std::string_view::npos ? std::string_view() : address.substr(slash);
    }
    parts.path = address;
    return parts;
}

void DropLastSegment(std::string& path)
{
    const std::size_t slash = path.rfind('/');
    path.erase(slash == std::string::npos ? 0 : slash);
}

// A path without its "." and ".." segments, as a browser reads them.
std::string WithoutDotSegments(std::string_view in)
{
    std::string out;
    while (!in.empty()) {
        if (in.starts_with("../")) {
            in.remove_prefix(3);
        } else if (in.starts_with("./")) {
            in.remove_prefix(2);
        } else if (in.starts_with("/./")) {
            in.remove_prefix(2);
        } else if (in == "/.") {
            out += '/';
            break;
        } else if (in.starts_with("/../")) {
            in.remove_prefix(3);
            DropLastSegment(out);
        } else if (in == "/..") {
            DropLastSegment(out);
            out += '/';
            break;
        } else if (in == "." || in == "..") {
            break;
        } else {
            const std::size_t next = in.find('/', 1);
            const std::size_t length = next == std::string_view::npos ? in.size() : next;
            out.append(in.substr(0, length));
            in.remove_prefix(length);
        }
    }
    return out;
}

std::string Cleaned(std::string_view reference)
{
    while (!reference.empty() && static_cast<unsigned char>(reference.front()) <= ' ')
        reference.remove_prefix(1);
    while (!reference.empty() && static_cast<unsigned char>(reference.back()) <= ' ')
        reference.remove_suffix(1);
    std::string out;
    for (const char c : reference)
        if (c != '\t' && c != '\n' && c != '\r')
            out += c;
    return out;
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

std::string ResolveAddress(std::string_view base, std::string_view reference)
{
    const std::string cleaned = Cleaned(reference);
    const AddressParts r = Split(cleaned);
    const AddressParts b = Split(base);
    if (r.hasScheme || !b.hasScheme)
        return cleaned;

    std::string authority(b.authority), path, query;
    bool hasAuthority = b.hasAuthority, hasQuery = false;
    if (r.hasAuthority) {
        authority = r.authority;
        hasAuthority = true;
        path = WithoutDotSegments(r.path);
        query = r.query;
        hasQuery = r.hasQuery;
    } else if (r.path.empty()) {
        path = b.path;
        hasQuery = r.hasQuery || b.hasQuery;
        query = r.hasQuery ? r.query : b.query;
    } else {
        if (r.path.starts_with('/')) {
            path = WithoutDotSegments(r.path);
        } else {
            std::string merged;
            if (b.hasAuthority && b.path.empty())
                merged = "/";
            else if (const std::size_t slash = b.path.rfind('/'); slash != std::string_view::npos)
                merged = b.path.substr(0, slash + 1);
            merged += r.path;
            path = WithoutDotSegments(merged);
        }
        query = r.query;
        hasQuery = r.hasQuery;
    }
    std::string out = std::string(b.scheme) + ":";
    if (hasAuthority)
        out += "//" + authority;
    out += path;
    if (hasQuery)
        out += "?" + query;
    if (r.hasFragment)
        out += "#" + std::string(r.fragment);
    return out;
}

std::string PictureAddress(std::string_view pageAddress, std::string_view source)
{
    std::string address = ResolveAddress(pageAddress, source);
    address.erase(std::min(address.find('#'), address.size()));
    return address;
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
