#include "ui/web_address.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ui {

namespace {

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

bool IsNavigationAllowed(std::string_view url)
{
    static constexpr std::array<std::string_view, 4> kAllowed = {"https", "http", kEmbeddedScheme, "about"};
    const std::string scheme = SchemeOf(url);
    if (scheme == "about")
        return url == "about:blank";
    return std::find(kAllowed.begin(), kAllowed.end(), scheme) != kAllowed.end();
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

} // namespace ui
