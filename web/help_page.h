#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace web {

// The help page the Help button and F1 open in the user's browser.
inline constexpr std::string_view kHelpPage = "VANTREL.HTML";
// The help page and the images it refers to, written side by side.
inline constexpr std::array<std::string_view, 2> kHelpFiles = {kHelpPage, "vantrel-logo.svg"};

// Where the help page is written: a folder of our own (`own`, relative)
// below a base folder. Given the values of XDG_RUNTIME_DIR, XDG_CACHE_HOME
// and HOME (null or empty when unset), the base is the runtime folder, else
// the cache folder (~/.cache when XDG_CACHE_HOME is unset). Relative values
// are not used. Nothing when no base can be named.
struct HelpPlace {
    std::filesystem::path base;
    std::filesystem::path own = std::filesystem::path("vantrel") / "help";
    std::filesystem::path Folder() const { return base / own; }
};
std::optional<HelpPlace> HelpFolder(const char* runtimeDir, const char* cacheHome, const char* home);

// What writing the help page came to: the page's file:// address, or
// nothing; and a folder that was refused, if any: a failure on that folder
// whose words are the reason.
struct HelpPageResult {
    std::optional<std::string> address;
    std::filesystem::path folder; // where the page went
    base::Status refusal;         // ok when nothing was refused
};

// Writes the help page and its images into the place's folder. The base
// must be an absolute folder of the user's that group and others cannot
// write to; it is made (private) when missing. Each folder below it is
// made when missing, private to the user (0700); an existing one must be
// a real folder (no symbolic link) of the user's, and is made private when
// it is not. When one is not, the page goes into a fresh private folder in
// the base instead ("vantrel-help-XXXXXX", the same one for the rest of the
// process), and the refused folder is named in the result. Each file is
// replaced atomically: a browser reading the page meanwhile sees the old
// file or the new, never a mix.
HelpPageResult WriteHelpPage(const HelpPlace& place);

// The same, in the place HelpFolder names from this process's environment.
HelpPageResult WriteHelpPage();

// The text of the box that reports a refused folder: the folder, the
// reason, and where the page went instead, if anywhere.
std::string HelpRefusalText(const HelpPageResult& result);

// The file:// address of an absolute path, with every byte outside the
// unreserved characters and "/" percent-encoded.
std::string FileUrl(const std::filesystem::path& absolute);

} // namespace web
