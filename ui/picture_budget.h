#pragma once

#include <cstdint>
#include <string_view>

// How many pixels a page's pictures may take once decoded. The view decodes
// a picture again for every <img> tag that shows it and keeps each as a
// bitmap, so every showing takes its pixels from the page's budget.
namespace ui {

struct PictureLimits {
    std::uint64_t picturePixels = 2048 * 2048;  // one picture as it declares itself
    std::uint64_t pagePixels = 2 * 2048 * 2048; // every showing on one page
    std::uint64_t svgPixels = 1024 * 1024;      // one SVG picture, rendered
};

class PixelBudget {
public:
    explicit PixelBudget(const PictureLimits& limits) : m_limits(limits), m_left(limits.pagePixels) {}

    const PictureLimits& limits() const { return m_limits; }

    // Takes one showing of a picture of that many pixels; false, taking
    // nothing, when it is larger than a picture may be or than what is left.
    bool Take(std::uint64_t pixels)
    {
        if (pixels > m_limits.picturePixels || pixels > m_left)
            return false;
        m_left -= pixels;
        return true;
    }

private:
    PictureLimits m_limits;
    std::uint64_t m_left;
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The size an SVG picture is rendered at for a tag that asks for `width`
// and `height` (its attributes as written): what it asks, 64 for a side it
// does not give as a number from 1 to 4096, then scaled down, keeping the
// ratio, to at most `largest` pixels. The view scales it to the tag's size.
PixelSize SvgRenderSize(std::string_view width, std::string_view height, std::uint64_t largest);

} // namespace ui
