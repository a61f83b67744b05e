#pragma once

#include "ui/picture_budget.h"
#include "ui/picture_header.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace ui_wx {

// A picture decoded for the view: PNG bytes stored without compression, so
// the view reads them back at the speed of a copy, and its size.
struct DecodedPicture {
    std::string png;
    int width = 0;
    int height = 0;

    std::uint64_t Pixels() const { return std::uint64_t(width) * std::uint64_t(height); }
};

// Decodes a picture with the system's picture loaders (gdk-pixbuf; librsvg
// for SVG), on the calling thread, which may be any thread. The loader is
// the one `header` names, whatever a server called the bytes. A raster
// picture is decoded at the size it declares, and refused, before any pixel
// is decoded, when that exceeds `largest` pixels (the loader's own reading
// of the header is checked as well); an SVG is rendered at `svgSize`.
// Nothing when the bytes do not decode.
std::optional<DecodedPicture> DecodePicture(std::string_view bytes, const ui::PictureHeader& header,
                                            std::uint64_t largest, ui::PixelSize svgSize);

// The same, for pictures from the web: an SVG, which no loader can be told
// to stop drawing, is rendered on a thread of its own and given up when it
// is not done `within` that time; the thread is then left to finish alone,
// and until it has, no other web SVG is drawn (so at most one core and one
// picture's memory go to a picture given up). Raster pictures, bounded by
// their size, are decoded on the calling thread.
std::optional<DecodedPicture> DecodeWebPicture(std::string bytes, const ui::PictureHeader& header,
                                               std::uint64_t largest, ui::PixelSize svgSize,
                                               std::chrono::milliseconds within);

} // namespace ui_wx
