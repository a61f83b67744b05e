#pragma once
// Replaces a file's whole content so that readers, and the file after a
// crash or a full disk, see either the old content or the new, never a mix:
// the new text goes to a temporary file in the same folder, is flushed to
// disk and then renamed over the old file.

#include <string>
#include <string_view>

namespace settings {

// Missing parent folders are created. A symbolic link is followed, so the
// file it points to is replaced and the link stays. Returns false, leaving
// the old file as it was and no temporary file behind, on any failure.
bool ReplaceFileAtomically(const std::string& path, std::string_view text);

} // namespace settings
