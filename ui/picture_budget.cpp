#include "ui/picture_budget.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ui {

namespace {

int SideAskedFor(std::string_view attribute)
{
    int value = 0;
    const auto [end, error] = std::from_chars(attribute.data(), attribute.data() + attribute.size(), value);
    return error == std::errc() && end != attribute.data() && value >= 1 && value <= 4096 ? value : 64;
}

} // namespace

PixelSize SvgRenderSize(std::string_view width, std::string_view height, std::uint64_t largest)
{
    PixelSize size{SideAskedFor(width), SideAskedFor(height)};
    const double pixels = double(size.width) * size.height;
    if (pixels > double(largest)) {
        const double scale = std::sqrt(double(largest) / pixels);
        size.width = std::max(1, static_cast<int>(size.width * scale));
        size.height = std::max(1, static_cast<int>(size.height * scale));
    }
    return size;
}

} // namespace ui
