#include "ui/html_tag.h"

#include <algorithm>
#include <cctype>

namespace ui::html {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from)
{
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                                   what.begin(), what.end(), [](char x, char y) { return Lower(x) == Lower(y); });
    return found == text.end() ? std::string_view::npos : static_cast<std::size_t>(found - text.begin());
}

bool IsTag(std::string_view html, std::size_t at, std::string_view name)
{
    const std::size_t end = at + 1 + name.size();
    return end <= html.size() && EqualsIgnoringCase(html.substr(at + 1, name.size()), name) &&
           (end == html.size() || IsSpace(html[end]) || html[end] == '>' || html[end] == '/');
}

bool IsComment(std::string_view html, std::size_t at)
{
    return html.substr(at, 4) == "<!--";
}

std::size_t CommentEnd(std::string_view html, std::size_t at)
{
    const std::size_t close = html.find("-->", at + 4);
    return close == std::string_view::npos ? html.size() : close + 3;
}

std::size_t TagEnd(std::string_view html, std::size_t at)
{
    char quote = 0;
    for (std::size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return html.size();
}

std::string_view TagName(std::string_view tag)
{
    std::size_t begin = 1;
    if (begin < tag.size() && tag[begin] == '/')
        ++begin;
    if (begin >= tag.size() || !std::isalpha(static_cast<unsigned char>(tag[begin])))
        return {};
    std::size_t end = begin;
    while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '>' && tag[end] != '/')
        ++end;
    return tag.substr(begin, end - begin);
}

ValuePlace FindValue(std::string_view tag, std::string_view name)
{
    std::size_t i = 1;
    while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '>' && tag[i] != '/')
        ++i; // the tag's own name
    while (i < tag.size()) {
        while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '/'))
            ++i;
        if (i >= tag.size() || tag[i] == '>')
            break;
        const std::size_t nameBegin = i;
        while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '=' && tag[i] != '>' && tag[i] != '/')
            ++i;
        const std::string_view attribute = tag.substr(nameBegin, i - nameBegin);
        if (attribute.empty()) { // a stray '='
            ++i;
            continue;
        }
        while (i < tag.size() && IsSpace(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=')
            continue; // an attribute without a value
        ++i;
        while (i < tag.size() && IsSpace(tag[i]))
            ++i;
        ValuePlace place;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            place.begin = i + 1;
            place.end = std::min(tag.find(tag[i], place.begin), tag.size());
            i = place.end + 1;
        } else {
            place.begin = i;
            while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '>')
                ++i;
            place.end = i;
        }
        if (EqualsIgnoringCase(attribute, name))
            return place;
    }
    return {};
}

} // namespace ui::html
