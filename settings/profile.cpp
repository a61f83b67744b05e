#include "settings/profile.h"

#include "settings/atomic_replace.h"
#include "settings/ini_document.h"
#include "settings/ini_value.h"
#include "settings/read_file.h"
#include "settings/struct_text.h"

#include <optional>

namespace settings {
namespace {

std::string CutToBuffer(std::string text, std::size_t bufferSize)
{
    if (bufferSize > 0 && text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

std::optional<std::string> ReadValue(std::string_view section, std::string_view key, const std::string& path)
{
    const FileContent file = ReadSettingsFile(path);
    if (file.state != FileState::Read)
        return std::nullopt;
    const IniDocument document = IniDocument::Parse(file.text);
    const auto stored = document.Find(section, key);
    if (!stored)
        return std::nullopt;
    return DecodeStoredValue(*stored);
}

} // namespace

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t bufferSize, const std::string& path)
{
    auto value = ReadValue(section, key, path);
    return CutToBuffer(value ? std::move(*value) : std::string(defaultValue), bufferSize);
}

bool GetProfileStruct(std::string_view section, std::string_view key, void* data, std::size_t size,
                      const std::string& path)
{
    const auto value = ReadValue(section, key, path);
    return value && ParseStructText(*value, data, size);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value)) {
        return false;
    }
    // A file that exists but cannot be read is never replaced: its content
    // would be lost.
    const FileContent file = ReadSettingsFile(path);
    if (file.state == FileState::Unreadable)
        return false;
    IniDocument document = IniDocument::Parse(file.text);
    document.Set(section, key, EncodeStoredValue(value));
    const std::string text = document.Text();
    if (file.state == FileState::Read && text == file.text)
        return true;
    return ReplaceFileAtomically(path, text);
}

bool WriteProfileStruct(std::string_view section, std::string_view key, const void* data, std::size_t size,
                        const std::string& path)
{
    if (data == nullptr && size > 0)
        return false;
    return WriteProfileString(section, key, FormatStruct(data, size), path);
}

} // namespace settings
