#pragma once
// Reading a file to send, whole, in one block.

#include <cstdint>

// Reads the regular file at `path` byte for byte (no translation of any
// kind) into one block allocated with malloc, hands the block over through
// `out` and returns the number of bytes read. Returns 0 on every failure
// (missing, not a regular file, no access, not enough memory, read error,
// 2 GiB or more, whose size does not fit the count); then `out` is not
// written and nothing stays allocated. An empty file also returns 0 but
// still hands over a block, which the caller frees.
std::int32_t LoadFile(std::uint8_t** out, const char* path);
