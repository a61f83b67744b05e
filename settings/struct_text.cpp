#include "settings/struct_text.h"

#include "settings/profile.h"

#include <cstring>
#include <vector>

namespace settings {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void AppendHexByte(std::string& text, unsigned char byte)
{
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0x0F];
}

} // namespace

std::string FormatStruct(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    text.reserve(2 * size + 2);
    unsigned char checksum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        AppendHexByte(text, bytes[i]);
        checksum = static_cast<unsigned char>(checksum + bytes[i]);
    }
    AppendHexByte(text, checksum);
    return text;
}

bool ParseStructText(std::string_view text, void* data, std::size_t size)
{
    if (size > (text.size() / 2) || text.size() != 2 * size + 2)
        return false;
    if (data == nullptr && size > 0)
        return false;
    std::vector<unsigned char> bytes(size + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = static_cast<unsigned char>(high * 16 + low);
    }
    unsigned char checksum = 0;
    for (std::size_t i = 0; i < size; ++i)
        checksum = static_cast<unsigned char>(checksum + bytes[i]);
    if (checksum != bytes[size])
        return false;
    if (size > 0)
        std::memcpy(data, bytes.data(), size);
    return true;
}

} // namespace settings
