#include "settings/profile.h"

#include "files/read_regular_file.h"
#include "files/replace_atomically.h"
#include "settings/ini_document.h"
#include "settings/ini_value.h"
#include "settings/struct_text.h"

#include <cerrno>
#include <optional>

namespace settings {
namespace {

// Settings files are small; anything beyond this is not one.
constexpr std::size_t kMaxSettingsFileBytes = 16u * 1024u * 1024u;

// The settings file's text. A missing file reads as empty: it holds no
// settings yet. One that exists but cannot be read (a folder, a device, no
// permission, too large) is a failure.
base::Result<std::string> ReadSettingsFile(const std::string& path)
{
    if (path.empty())
        return std::string();
    const auto file = files::ReadRegularFile(path, kMaxSettingsFileBytes);
    if (!file)
        return file.status().code() == ENOENT ? base::Result<std::string>(std::string()) : file.status();
    return std::string(file->view());
}

std::string CutToBuffer(std::string text, std::size_t bufferSize)
{
    if (bufferSize > 0 && text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

std::optional<std::string> ReadValue(std::string_view section, std::string_view key, const std::string& path)
{
    const auto file = ReadSettingsFile(path);
    if (!file)
        return std::nullopt;
    const IniDocument document = IniDocument::Parse(*file);
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

base::Status WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                                const std::string& path)
{
    if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value))
        return base::Status::FromErrno(path, EINVAL);
    // A file that exists but cannot be read is never replaced: its content
    // would be lost.
    const auto file = ReadSettingsFile(path);
    if (!file)
        return file.status();
    IniDocument document = IniDocument::Parse(*file);
    document.Set(section, key, EncodeStoredValue(value));
    const std::string text = document.Text();
    // An unchanged text is not written again, but a file the user cannot
    // write is a failure all the same: the next change would be lost. (A
    // missing file reads as empty, which a set key never leaves.)
    if (text == *file)
        return files::CheckReplaceable(path);
    return files::ReplaceAtomically(path, text);
}

base::Status WriteProfileStruct(std::string_view section, std::string_view key, const void* data, std::size_t size,
                                const std::string& path)
{
    if (data == nullptr && size > 0)
        return base::Status::FromErrno(path, EINVAL);
    return WriteProfileString(section, key, FormatStruct(data, size), path);
}

} // namespace settings
