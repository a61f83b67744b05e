#include "ui_win32/xpm_image.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace ui_win32 {

namespace {

std::optional<std::uint32_t> ParseColour(const char* keys)
{
    // "<key> <colour>" pairs; the visual colour ("c") counts.
    const char* c = std::strstr(keys, " c ");
    if (c)
        c += 3;
    else if (std::strncmp(keys, "c ", 2) == 0)
        c = keys + 2;
    if (!c)
        return std::nullopt;
    while (*c == ' ')
        ++c;
    if (std::strncmp(c, "None", 4) == 0 || std::strncmp(c, "none", 4) == 0)
        return 0u;
    unsigned rgb = 0;
    if (*c == '#' && std::sscanf(c + 1, "%6x", &rgb) == 1)
        return 0xFF000000u | rgb;
    return std::nullopt;
}

// A 32-bit top-down DIB section holding the pixels as they are.
HBITMAP MakeDib(int width, int height, const std::uint32_t* pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return bitmap;
}

} // namespace

std::optional<Pixels> ReadXpm(std::span<const char* const> xpm)
{
    int width = 0;
    int height = 0;
    int colours = 0;
    int perPixel = 0;
    if (xpm.empty() || !xpm[0] || std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4)
        return std::nullopt;
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || colours <= 0 || perPixel <= 0 || perPixel > 4 ||
        xpm.size() < 1 + static_cast<std::size_t>(colours) + static_cast<std::size_t>(height))
        return std::nullopt;
    const auto cpp = static_cast<std::size_t>(perPixel);
    std::map<std::string, std::uint32_t> table;
    for (int i = 0; i < colours; ++i) {
        const char* line = xpm[1 + static_cast<std::size_t>(i)];
        if (!line || std::strlen(line) < cpp)
            return std::nullopt;
        const auto colour = ParseColour(line + cpp);
        if (!colour)
            return std::nullopt;
        table[std::string(line, cpp)] = *colour;
    }
    Pixels out{width, height, {}};
    out.argb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const char* row = xpm[1 + static_cast<std::size_t>(colours) + static_cast<std::size_t>(y)];
        if (!row || std::strlen(row) < cpp * static_cast<std::size_t>(width))
            return std::nullopt;
        for (int x = 0; x < width; ++x) {
            const auto it = table.find(std::string(row + cpp * static_cast<std::size_t>(x), cpp));
            out.argb.push_back(it == table.end() ? 0u : it->second);
        }
    }
    return out;
}

HBITMAP MakeFaceBitmap(std::span<const char* const> xpm, COLORREF background)
{
    auto pixels = ReadXpm(xpm);
    if (!pixels)
        return nullptr;
    const std::uint32_t face = 0xFF000000u | (GetRValue(background) << 16) | (GetGValue(background) << 8) |
                               static_cast<std::uint32_t>(GetBValue(background));
    for (std::uint32_t& p : pixels->argb)
        if ((p >> 24) == 0)
            p = face;
    return MakeDib(pixels->width, pixels->height, pixels->argb.data());
}

HICON MakeIcon(std::span<const char* const> xpm)
{
    const auto pixels = ReadXpm(xpm);
    if (!pixels)
        return nullptr;
    HBITMAP colour = MakeDib(pixels->width, pixels->height, pixels->argb.data());
    // The mask is unused where the colour bitmap has alpha, but required.
    HBITMAP mask = ::CreateBitmap(pixels->width, pixels->height, 1, 1, nullptr);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = colour && mask ? ::CreateIconIndirect(&info) : nullptr;
    if (colour)
        ::DeleteObject(colour);
    if (mask)
        ::DeleteObject(mask);
    return icon;
}

} // namespace ui_win32
