#include "settings/ini_value.h"

#include "settings/ini_line.h"

namespace settings {
namespace {

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

} // namespace

bool IsStorableSectionName(std::string_view section)
{
    const std::string_view name = TrimBlanks(section);
    return !name.empty() && !HasLineBreakOrNul(name) && name.find(']') == std::string_view::npos;
}

bool IsStorableKeyName(std::string_view key)
{
    const std::string_view name = TrimBlanks(key);
    if (name.empty() || HasLineBreakOrNul(name))
        return false;
    if (name.find('=') != std::string_view::npos)
        return false;
    // These would make the line read as a section header or a comment.
    return name.front() != '[' && name.front() != ';' && name.front() != '#';
}

bool IsStorableValue(std::string_view value)
{
    return !HasLineBreakOrNul(value);
}

std::string EncodeStoredValue(std::string_view value)
{
    if (TrimBlanks(value).size() != value.size() || IsQuoted(value)) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

std::string DecodeStoredValue(std::string_view stored)
{
    if (IsQuoted(stored))
        stored = stored.substr(1, stored.size() - 2);
    return std::string(stored.substr(0, stored.find('\0')));
}

} // namespace settings
