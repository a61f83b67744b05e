#pragma once
// Reading a regular file whole, the same way for every caller on every
// system: opened without waiting (a named pipe must not hold the caller),
// checked to be a regular file, read byte for byte into one block.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "base/status.h"

namespace files {

// The words for a path that is neither a regular file nor a folder (a
// FIFO, a device, a socket).
inline constexpr const char* kNotRegularFile = "Not a regular file";

struct FreeBlock {
    void operator()(std::uint8_t* block) const { std::free(block); }
};

// A file read whole: a block from malloc of at least one byte (so an empty
// file still hands over a real block), and how many bytes the file filled.
struct FileBytes {
    std::unique_ptr<std::uint8_t, FreeBlock> block;
    std::size_t size = 0;
    std::int64_t modified = 0; // its modification time, seconds since 1970

    std::string_view view() const { return {reinterpret_cast<const char*>(block.get()), size}; }
};

// The regular file at `path` (UTF-8), read whole, or the failure on path:
// the system's errno (ENOENT for a missing file, EISDIR for a folder),
// kNotRegularFile for anything else that is no regular file, EFBIG for one
// larger than `limit` bytes, ENOMEM when no block can be had. A file that
// grows while it is read is read as long as it was when opened.
base::Result<FileBytes> ReadRegularFile(const std::string& path, std::size_t limit);

} // namespace files
