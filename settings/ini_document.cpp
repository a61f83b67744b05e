#include "settings/ini_document.h"

#include "settings/ini_line.h"

namespace settings {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument document;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        document.m_byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) {
            document.m_lines.push_back({std::string(text), ""});
            break;
        }
        std::string_view content = text.substr(0, newline);
        std::string ending = "\n";
        if (!content.empty() && content.back() == '\r') {
            content.remove_suffix(1);
            ending = "\r\n";
        }
        document.m_lines.push_back({std::string(content), std::move(ending)});
        text.remove_prefix(newline + 1);
    }
    return document;
}

std::optional<std::size_t> IniDocument::FindEntryLine(std::string_view section, std::string_view key) const
{
    const std::string_view wantedSection = TrimBlanks(section);
    const std::string_view wantedKey = TrimBlanks(key);
    bool inWantedSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const IniLineView line = ClassifyIniLine(m_lines[i].content);
        if (line.kind == IniLineKind::Section) {
            inWantedSection = EqualsIgnoringCase(line.name, wantedSection);
        } else if (inWantedSection && line.kind == IniLineKind::Entry && EqualsIgnoringCase(line.name, wantedKey)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindSectionHeader(std::string_view section) const
{
    const std::string_view wantedSection = TrimBlanks(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const IniLineView line = ClassifyIniLine(m_lines[i].content);
        if (line.kind == IniLineKind::Section && EqualsIgnoringCase(line.name, wantedSection))
            return i;
    }
    return std::nullopt;
}

// The position just after the section's last line that carries content, so a
// new key lands before the blank lines and comments that lead into the next
// section.
std::size_t IniDocument::EndOfSectionEntries(std::size_t headerLine) const
{
    std::size_t end = headerLine + 1;
    for (std::size_t i = headerLine + 1; i < m_lines.size(); ++i) {
        const IniLineKind kind = ClassifyIniLine(m_lines[i].content).kind;
        if (kind == IniLineKind::Section)
            break;
        if (kind == IniLineKind::Entry || kind == IniLineKind::Other)
            end = i + 1;
    }
    return end;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const
{
    const auto index = FindEntryLine(section, key);
    if (!index)
        return std::nullopt;
    return ClassifyIniLine(m_lines[*index].content).value;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view storedValue)
{
    if (const auto index = FindEntryLine(section, key)) {
        // Keep the key as spelled in the file.
        const std::string storedKey(ClassifyIniLine(m_lines[*index].content).name);
        m_lines[*index].content = storedKey + "=" + std::string(storedValue);
        return;
    }
    std::string entry = std::string(TrimBlanks(key)) + "=" + std::string(storedValue);
    if (const auto header = FindSectionHeader(section)) {
        InsertLine(EndOfSectionEntries(*header), std::move(entry));
        return;
    }
    InsertLine(m_lines.size(), "[" + std::string(TrimBlanks(section)) + "]");
    InsertLine(m_lines.size(), std::move(entry));
}

void IniDocument::InsertLine(std::size_t position, std::string content)
{
    const std::string ending = NewLineEnding();
    // A last line without a break gets one, so the new line starts on its own.
    if (position > 0 && m_lines[position - 1].ending.empty())
        m_lines[position - 1].ending = ending;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(position), Line{std::move(content), ending});
}

// New lines follow the file's own convention, taken from its first line break.
std::string IniDocument::NewLineEnding() const
{
    for (const Line& line : m_lines) {
        if (!line.ending.empty())
            return line.ending;
    }
    return "\n";
}

std::string IniDocument::Text() const
{
    std::string text;
    if (m_byteOrderMark)
        text += kByteOrderMark;
    for (const Line& line : m_lines) {
        text += line.content;
        text += line.ending;
    }
    return text;
}

} // namespace settings
