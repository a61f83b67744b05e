#pragma once
// Reads a settings file whole, telling a missing file apart from one that
// exists but cannot be read (a folder, a device, no permission, too large).

#include <cstddef>
#include <string>

namespace settings {

enum class FileState { Read, Missing, Unreadable };

struct FileContent {
    FileState state = FileState::Missing;
    std::string text;
    std::string reason; // for Unreadable: why, in the system's words
};

// The reason given for a path that exists but is neither a regular file nor
// a folder (a FIFO, a device, a socket).
inline constexpr const char* kNotRegularFileReason = "Not a regular file";

// Settings files are small; anything beyond this is not one.
inline constexpr std::size_t kMaxSettingsFileBytes = 16u * 1024u * 1024u;

FileContent ReadSettingsFile(const std::string& path);

} // namespace settings
