#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace web {

// The help page the Help button and F1 open in the user's browser.
inline constexpr std::string_view kHelpPage = "VANTREL.HTML";

// Where the help page is written, given the values of XDG_RUNTIME_DIR,
// XDG_CACHE_HOME and HOME (null or empty when unset): a folder of our own
// under the runtime folder, else under the cache folder (~/.cache when
// XDG_CACHE_HOME is unset). Relative values are not used. Nothing when no
// folder can be named.
std::optional<std::filesystem::path> HelpFolder(const char* runtimeDir, const char* cacheHome, const char* home);

// Writes the help page and its images into `folder`, which is created when
// missing (with its missing parents), readable and writable by the user
// alone (0700). An existing folder must be a real folder of the user's, not
// a link; it is made private when it is not. Each file is replaced
// atomically: a browser reading the page meanwhile sees the old file or the
// new, never a mix. Returns the page's file:// address; nothing on any
// failure.
std::optional<std::string> WriteHelpPage(const std::filesystem::path& folder);

// The same, in the folder HelpFolder names from this process's environment.
std::optional<std::string> WriteHelpPage();

// The file:// address of an absolute path, with every byte outside the
// unreserved characters and "/" percent-encoded.
std::string FileUrl(const std::filesystem::path& absolute);

} // namespace web
