#pragma once
// Reading a file to send, whole, in one block.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/status.h"
#include "files/read_regular_file.h"

// Reads the regular file at `path` byte for byte (no translation of any
// kind) into one block allocated with malloc, hands the block over through
// `out` and returns the number of bytes read. Returns 0 on every failure
// (missing, not a regular file, no access, not enough memory, read error,
// 2 GiB or more, whose size does not fit the count); then `out` is not
// written and nothing stays allocated. An empty file also returns 0 but
// still hands over a block, which the caller frees.
std::int32_t LoadFile(std::uint8_t** out, const char* path);

namespace transfer {

// A file read whole: a block from malloc of at least one byte, and how many
// bytes of it the file filled.
struct LoadedFile {
    std::unique_ptr<std::uint8_t, files::FreeBlock> block;
    std::int32_t size = 0;
    std::int64_t modified = 0; // seconds since 1970, as the file system tells
};

// What LoadFile does, with the failure on path as files::ReadRegularFile
// gives it (EFBIG for 2 GiB and more).
base::Result<LoadedFile> ReadWholeFile(const std::string& path);

} // namespace transfer
