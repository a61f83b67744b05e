#pragma once
// How one line of an INI file reads: a section header, a key=value entry, a
// comment, a blank line, or other text that is kept but carries no value.

#include <string>
#include <string_view>

namespace settings {

enum class IniLineKind { Blank, Comment, Section, Entry, Other };

struct IniLineView {
    IniLineKind kind = IniLineKind::Other;
    std::string_view name;  // section name or key, trimmed
    std::string_view value; // entry value as stored, trimmed (quotes kept)
};

// content excludes the line break; a trailing '\r' is ignored.
IniLineView ClassifyIniLine(std::string_view content);

std::string_view TrimBlanks(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace settings
