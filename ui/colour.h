#pragma once

#include <cstdint>

namespace ui {

// A colour as the platform stores it: 0x00BBGGRR, the low byte is red.
using COLORREF = std::uint32_t;

constexpr COLORREF Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 | static_cast<COLORREF>(blue) << 16;
}

constexpr std::uint8_t RedOf(COLORREF c)
{
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(COLORREF c)
{
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(COLORREF c)
{
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

} // namespace ui
