#pragma once
// An INI file held as its lines, so that changing one key rewrites exactly one
// line (or adds one) and leaves every other byte of the file as it was.
//
// Lookups see the first matching entry: sections with the same name are read
// as one, in file order, and the first occurrence of a key wins.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

class IniDocument {
public:
    static IniDocument Parse(std::string_view text);

    // The stored value text of section/key (trimmed, quotes kept), if present.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Replaces the first entry for section/key, or adds one at the end of the
    // first such section, or appends a new section at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view storedValue);

    std::string Text() const;

private:
    struct Line {
        std::string content; // without the line break
        std::string ending;  // "\n", "\r\n", or "" for a last line without one
    };

    std::optional<std::size_t> FindEntryLine(std::string_view section, std::string_view key) const;
    std::optional<std::size_t> FindSectionHeader(std::string_view section) const;
    std::size_t EndOfSectionEntries(std::size_t headerLine) const;
    void InsertLine(std::size_t position, std::string content);
    std::string NewLineEnding() const;

    bool m_byteOrderMark = false;
    std::vector<Line> m_lines;
};

} // namespace settings
