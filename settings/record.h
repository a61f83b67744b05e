#pragma once
// A settings-file record of N 32-bit values, stored as one struct value.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/profile.h"

namespace settings {

// The values are laid out little-endian, as the file stores them whatever
// the machine's own byte order, so a record reads back the same anywhere.
template <std::size_t N>
struct Record {
    std::array<std::uint8_t, N * 4> bytes{};

    static Record From(const std::array<std::uint32_t, N>& values)
    {
        Record r;
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t b = 0; b < 4; ++b)
                r.bytes[i * 4 + b] = static_cast<std::uint8_t>(values[i] >> (8 * b));
        return r;
    }

    std::uint32_t At(std::size_t i) const
    {
        std::uint32_t v = 0;
        for (std::size_t b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(bytes[i * 4 + b]) << (8 * b);
        return v;
    }

    // False, leaving the bytes alone, when the value is missing or damaged.
    bool Read(const char* section, const char* key, const std::string& path)
    {
        return GetProfileStruct(section, key, bytes.data(), bytes.size(), path);
    }

    // Fails when the file cannot be written (see WriteProfileString).
    base::Status Write(const char* section, const char* key, const std::string& path) const
    {
        return WriteProfileStruct(section, key, bytes.data(), bytes.size(), path);
    }
};

} // namespace settings
