#include "settings/ini_line.h"

namespace settings {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view WithoutCarriageReturn(std::string_view content)
{
    if (!content.empty() && content.back() == '\r')
        content.remove_suffix(1);
    return content;
}

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

IniLineView ClassifyIniLine(std::string_view content)
{
    const std::string_view text = TrimBlanks(WithoutCarriageReturn(content));
    if (text.empty())
        return {IniLineKind::Blank, {}, {}};
    if (text.front() == ';' || text.front() == '#')
        return {IniLineKind::Comment, {}, {}};
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            return {IniLineKind::Section, TrimBlanks(text.substr(1, close - 1)), {}};
        }
        return {IniLineKind::Other, {}, {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return {IniLineKind::Other, {}, {}};
    return {IniLineKind::Entry, TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1))};
}

} // namespace settings
