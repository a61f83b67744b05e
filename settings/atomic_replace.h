#pragma once
// Replaces a file's whole content so that readers, and the file after a
// crash or a full disk, see either the old content or the new, never a mix:
// the new text goes to a temporary file in the same folder, is flushed to
// disk and then renamed over the old file.

#include <string>
#include <string_view>

#include "base/status.h"

namespace settings {

// Ok when the file at path may be replaced: it is missing, or the caller may
// write it and it has some write bit set (a file without any was made
// read-only on purpose). Otherwise the failure on path with the errno that
// says why not: EACCES, EROFS, EISDIR, ... A rename would replace a
// read-only file without complaint, so this is checked first.
base::Status CheckReplaceable(const std::string& path);

// Missing parent folders are created. A symbolic link is followed, so the
// file it points to is replaced and the link stays. An existing file that
// CheckReplaceable refuses is left alone. On failure the Status is on path
// with the errno of the first call that failed (EACCES for a refused
// read-only file, ENOTDIR for a parent that is not a folder), and the old
// file is as it was, with no temporary file behind.
base::Status ReplaceFileAtomically(const std::string& path, std::string_view text);

} // namespace settings
