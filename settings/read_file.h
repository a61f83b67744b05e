#pragma once
// Reads a settings file whole. A missing file reads as empty: it holds no
// settings yet. One that exists but cannot be read (a folder, a device, no
// permission, too large) is a failure.

#include <cstddef>
#include <string>

#include "base/status.h"

namespace settings {

// The words for a path that exists but is neither a regular file nor a
// folder (a FIFO, a device, a socket).
inline constexpr const char* kNotRegularFileReason = "Not a regular file";

// Settings files are small; anything beyond this is not one.
inline constexpr std::size_t kMaxSettingsFileBytes = 16u * 1024u * 1024u;

// The file's text, or the failure on path in the system's words.
base::Result<std::string> ReadSettingsFile(const std::string& path);

} // namespace settings
