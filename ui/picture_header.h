#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// What a picture's own bytes say it is, read before anything decodes it, so
// that a picture too large to decode is refused for the price of its first
// bytes. The format comes from the bytes, never from what a server calls
// them. Any input is safe; nothing is decoded.
namespace ui {

enum class PictureFormat { Png, Gif, Jpeg, Svg };

struct PictureHeader {
    PictureFormat format = PictureFormat::Png;
    // The size it declares, in pixels. For a GIF, the area its first frame
    // is drawn on (the logical screen, or the frame where it reaches past
    // it); for an SVG, its width and height, else its viewBox's, else 0.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // For a GIF, where its first frame's data end: the view shows no
    // animation, so a decoder needs only the bytes before this (and the
    // trailer byte). The whole length otherwise.
    std::size_t firstFrameEnd = 0;

    std::uint64_t Pixels() const { return std::uint64_t{width} * height; }
};

// The header of a PNG (its IHDR), GIF (its screen and first frame), JPEG
// (its first frame header, SOFn) or SVG (its <svg> tag); nothing for other
// bytes, a header cut short, or a raster picture that declares no pixels.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes);

} // namespace ui
