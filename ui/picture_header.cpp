#include "ui/picture_header.h"

#include "ui/html_tag.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace ui {

namespace {

std::uint32_t BigEndian(std::string_view b, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned char>(b[at + i]);
    return value;
}

std::uint32_t LittleEndian16(std::string_view b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]) | (std::uint32_t{static_cast<unsigned char>(b[at + 1])} << 8);
}

std::optional<PictureHeader> PngHeader(std::string_view b)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    if (b.size() < 24 || b.substr(12, 4) != "IHDR")
        return std::nullopt;
    return PictureHeader{PictureFormat::Png, BigEndian(b, 16, 4), BigEndian(b, 20, 4), b.size()};
}

// One past the data sub-blocks starting at `at` (each a length byte and
// that many bytes, ended by a zero length); npos when they run past the end.
std::size_t SkipSubBlocks(std::string_view b, std::size_t at)
{
    while (at < b.size()) {
        const std::size_t length = static_cast<unsigned char>(b[at]);
        ++at;
        if (length == 0)
            return at;
        at += length;
    }
    return std::string_view::npos;
}

std::size_t ColourTableSize(unsigned char packed)
{
    return (packed & 0x80) ? 3U << ((packed & 0x07) + 1) : 0;
}

std::optional<PictureHeader> GifHeader(std::string_view b)
{
    if (b.size() < 13)
        return std::nullopt;
    PictureHeader header{PictureFormat::Gif, LittleEndian16(b, 6), LittleEndian16(b, 8), b.size()};
    std::size_t at = 13 + ColourTableSize(static_cast<unsigned char>(b[10]));
    while (at < b.size()) {
        const unsigned char kind = static_cast<unsigned char>(b[at]);
        if (kind == 0x21 && at + 2 <= b.size()) { // an extension: label, sub-blocks
            at = SkipSubBlocks(b, at + 2);
        } else if (kind == 0x2C && at + 10 <= b.size()) { // the first image
            header.width = std::max(header.width, LittleEndian16(b, at + 1) + LittleEndian16(b, at + 5));
            header.height = std::max(header.height, LittleEndian16(b, at + 3) + LittleEndian16(b, at + 7));
            at += 10 + ColourTableSize(static_cast<unsigned char>(b[at + 9]));
            // The LZW code size, then the data.
            const std::size_t end = at < b.size() ? SkipSubBlocks(b, at + 1) : std::string_view::npos;
            header.firstFrameEnd = std::min(end, b.size());
            break;
        } else {
            break; // the trailer, or bytes that are no block
        }
    }
    return header;
}

std::optional<PictureHeader> JpegHeader(std::string_view b)
{
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF)
            return std::nullopt;
        const unsigned char marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // scan data or the end, before any frame
            return std::nullopt;
        const std::size_t length = BigEndian(b, at + 2, 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size())
                return std::nullopt;
            return PictureHeader{PictureFormat::Jpeg, BigEndian(b, at + 7, 2), BigEndian(b, at + 5, 2), b.size()};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

// A length in an SVG's attribute: a number in pixels (with "px" or without
// a unit); 0 for a percentage, another unit or no number.
double SvgLength(std::string_view value)
{
    const std::string text(value);
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const std::string_view unit(end, static_cast<std::size_t>(text.c_str() + text.size() - end));
    if (end == text.c_str() || !std::isfinite(number) || number <= 0 || !(unit.empty() || unit == "px"))
        return 0;
    return number;
}

std::uint32_t Pixels(double length)
{
    return static_cast<std::uint32_t>(std::min(std::ceil(length), 4e9));
}

std::optional<PictureHeader> SvgHeader(std::string_view b)
{
    // The <svg> tag, after an XML declaration, comments and a doctype.
    const std::size_t at = html::FindIgnoringCase(b.substr(0, 4096), "<svg", 0);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view tag = b.substr(at, html::TagEnd(b, at) - at);
    const auto value = [tag](std::string_view name) {
        const html::ValuePlace place = html::FindValue(tag, name);
        return place.found() ? tag.substr(place.begin, place.end - place.begin) : std::string_view();
    };
    PictureHeader header{PictureFormat::Svg, Pixels(SvgLength(value("width"))), Pixels(SvgLength(value("height"))),
                         b.size()};
    if (header.width == 0 || header.height == 0) {
        // viewBox="min-x min-y width height", separated by blanks or commas.
        std::string box(value("viewBox"));
        std::ranges::replace(box, ',', ' ');
        double minX = 0, minY = 0, width = 0, height = 0;
        char* p = box.data();
        for (double* field : {&minX, &minY, &width, &height})
            *field = std::strtod(p, &p);
        if (std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0) {
            header.width = Pixels(width);
            header.height = Pixels(height);
        } else {
            header.width = header.height = 0;
        }
    }
    return header;
}

bool LooksLikeXml(std::string_view b)
{
    if (b.starts_with("\xEF\xBB\xBF"))
        b.remove_prefix(3);
    while (!b.empty() && html::IsSpace(b.front()))
        b.remove_prefix(1);
    return b.starts_with('<');
}

} // namespace

std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes)
{
    std::optional<PictureHeader> header;
    if (bytes.starts_with("\x89PNG\r\n\x1A\n"))
        header = PngHeader(bytes);
    else if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        header = GifHeader(bytes);
    else if (bytes.starts_with("\xFF\xD8"))
        header = JpegHeader(bytes);
    else if (LooksLikeXml(bytes))
        return SvgHeader(bytes);
    if (header && header->Pixels() == 0)
        return std::nullopt;
    return header;
}

} // namespace ui
