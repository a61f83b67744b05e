#pragma once
// Replaces a file's whole content so that readers, and the file after a
// crash or a full disk, see either the old content or the new, never a mix:
// the new bytes go to a temporary file in the same folder, are flushed to
// disk and then renamed over the old file. One file per system
// (replace_atomically_posix.cpp, replace_atomically_win32.cpp).

#include <string>
#include <string_view>

#include "base/status.h"

namespace files {

// Ok when the file at path may be replaced: it is missing, or the caller may
// write it and it has some write bit set (a file without any was made
// read-only on purpose). Otherwise the failure on path with the errno that
// says why not: EACCES, EROFS, EISDIR, ... A rename would replace a
// read-only file without complaint, so this is checked first.
base::Status CheckReplaceable(const std::string& path);

struct ReplaceRules {
    // Missing parent folders are created.
    bool makeFolders = true;
    // A symbolic link at the path is followed, so the file it points to is
    // replaced and the link stays (a settings file the user linked
    // elsewhere). Otherwise the link itself is replaced by the new file.
    bool followLink = true;
    // The permissions of a file that did not exist (before the umask, where
    // there is one); a replaced file keeps its own, and its owner where the
    // system allows.
    unsigned newFileMode = 0666;
};

// An existing file that CheckReplaceable refuses is left alone. On failure
// the Status is on path with the errno of the first call that failed
// (EACCES for a refused read-only file, ENOTDIR for a parent that is not a
// folder), and the old file is as it was, with no temporary file behind.
base::Status ReplaceAtomically(const std::string& path, std::string_view bytes, const ReplaceRules& rules = {});

} // namespace files
