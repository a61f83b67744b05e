// Build tool: writes the application icon as a PNG file, for the desktop's
// icon theme, so the installed icon is the one the window shows.
//   vantrel_icon_png <output.png>
#include "res/icons.h"
#include "res/resource_ids.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const Bytes& data, std::size_t from)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(Bytes& png, const char* type, const Bytes& data)
{
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBig32(png, Crc32(png, start));
}

// A zlib stream of stored (uncompressed) blocks: an icon is small, and the
// tool needs no compression library.
Bytes ZlibStored(const Bytes& raw)
{
    Bytes out = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 0xFFFF);
        const bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n));
        out.push_back(static_cast<std::uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const auto xpm = res::LoadIcon(res::IDR_MAINFRAME);
    if (argc != 2 || xpm.empty()) {
        std::fprintf(stderr, "usage: %s output.png\n", argv[0]);
        return 2;
    }
    int width = 0, height = 0, colours = 0, perPixel = 0;
    std::istringstream(xpm[0]) >> width >> height >> colours >> perPixel;
    if (width <= 0 || height <= 0 || colours <= 0 || perPixel <= 0 ||
        xpm.size() != static_cast<std::size_t>(1 + colours + height)) {
        std::fprintf(stderr, "the icon is not an XPM image this tool reads\n");
        return 1;
    }
    // "<key> c #RRGGBB" or "<key> c None" (transparent).
    std::map<std::string, std::array<std::uint8_t, 4>> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string line = xpm[static_cast<std::size_t>(i)];
        const std::string value = line.substr(line.find(" c ") + 3);
        std::array<std::uint8_t, 4> rgba{};
        if (value.size() == 7 && value[0] == '#') {
            const unsigned long rgb = std::stoul(value.substr(1), nullptr, 16);
            rgba = {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                    static_cast<std::uint8_t>(rgb), 0xFF};
        }
        palette[line.substr(0, static_cast<std::size_t>(perPixel))] = rgba;
    }
    Bytes raw; // each row: filter type 0, then RGBA pixels
    for (int y = 0; y < height; ++y) {
        const std::string row = xpm[static_cast<std::size_t>(1 + colours + y)];
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const auto& rgba =
                palette[row.substr(static_cast<std::size_t>(x * perPixel), static_cast<std::size_t>(perPixel))];
            raw.insert(raw.end(), rgba.begin(), rgba.end());
        }
    }
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, not interlaced
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out.good() ? 0 : 1;
}
