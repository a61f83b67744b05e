#include "transfer/load_file.h"

#include <cstdint>

namespace transfer {

base::Result<LoadedFile> ReadWholeFile(const std::string& path)
{
    // The count is a signed 32-bit number: 2 GiB and more cannot be told.
    auto bytes = files::ReadRegularFile(path, INT32_MAX);
    if (!bytes)
        return bytes.status();
    return LoadedFile{std::move(bytes->block), static_cast<std::int32_t>(bytes->size), bytes->modified};
}

} // namespace transfer

std::int32_t LoadFile(std::uint8_t** out, const char* path)
{
    if (out == nullptr || path == nullptr)
        return 0;
    auto loaded = transfer::ReadWholeFile(path);
    if (!loaded)
        return 0;
    *out = loaded->block.release();
    return loaded->size;
}
