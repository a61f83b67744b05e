#pragma once
// YMODEM's block 0: what it tells the receiver of the file that follows,
// and the empty block 0 that ends a batch.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

// The data field of the block 0 that names a file: its base name (the
// UTF-8 bytes after the last '/' or '\'), a NUL, its size in decimal, a
// space and its modification time in octal (seconds since 1970; left out
// when unknown, 0 or less). The field is 128 bytes when that holds it, else
// 1024; only a name too long even for that is shortened, keeping its
// extension (and never cutting a UTF-8 character). The rest of the field is
// NUL. A path that names no file ("dir/") sends the name "file".
struct YmodemHeader {
    std::vector<std::uint8_t> data; // without the padding
    std::uint32_t blockSize = 128;
};
YmodemHeader MakeYmodemHeader(std::string_view path, std::uint64_t size, std::int64_t modified);

// The base name of a path, as MakeYmodemHeader takes it.
std::string_view BaseName(std::string_view path);

} // namespace transfer
