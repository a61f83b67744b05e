#include "ui_wx/picture_decode.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace ui_wx {

namespace {

const char* LoaderName(ui::PictureFormat format)
{
    switch (format) {
    case ui::PictureFormat::Png:
        return "png";
    case ui::PictureFormat::Gif:
        return "gif";
    case ui::PictureFormat::Jpeg:
        return "jpeg";
    case ui::PictureFormat::Svg:
        return "svg";
    }
    return "png";
}

// What the loader's size-prepared handler decides with: the largest raster
// picture, or the size an SVG is rendered at.
struct SizeRule {
    bool svg = false;
    std::uint64_t largest = 0;
    ui::PixelSize svgSize;
};

// Called once the loader has read the picture's header. Setting the size
// to 0 x 0 makes the loader stop before it allocates any pixel.
void OnSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer data)
{
    const SizeRule& rule = *static_cast<const SizeRule*>(data);
    if (rule.svg)
        gdk_pixbuf_loader_set_size(loader, rule.svgSize.width, rule.svgSize.height);
    else if (width <= 0 || height <= 0 || std::uint64_t(width) * std::uint64_t(height) > rule.largest)
        gdk_pixbuf_loader_set_size(loader, 0, 0);
}

std::optional<DecodedPicture> AsStoredPng(GdkPixbuf* picture)
{
    gchar* png = nullptr;
    gsize length = 0;
    std::optional<DecodedPicture> out;
    if (gdk_pixbuf_save_to_buffer(picture, &png, &length, "png", nullptr, "compression", "0", nullptr))
        out = DecodedPicture{std::string(png, length), gdk_pixbuf_get_width(picture), gdk_pixbuf_get_height(picture)};
    g_free(png);
    return out;
}

// Whether a web SVG is being drawn, or was given up and is still drawing.
std::atomic<bool> g_webSvgDrawing{false};

// One SVG drawn on a thread of its own; shared with that thread, which may
// outlive the caller.
struct SvgDrawing {
    std::string bytes;
    ui::PictureHeader header;
    ui::PixelSize size;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;                     // under mutex
    std::optional<DecodedPicture> picture; // under mutex
};

} // namespace

std::optional<DecodedPicture> DecodePicture(std::string_view bytes, const ui::PictureHeader& header,
                                            std::uint64_t largest, ui::PixelSize svgSize)
{
    const bool svg = header.format == ui::PictureFormat::Svg;
    if (svg ? svgSize.width <= 0 || svgSize.height <= 0 || std::uint64_t(svgSize.width) * svgSize.height > largest
            : header.Pixels() > largest)
        return std::nullopt;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(LoaderName(header.format), nullptr);
    if (loader == nullptr)
        return std::nullopt;
    SizeRule rule{svg, largest, svgSize};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(OnSizePrepared), &rule);
    // A GIF's first frame, then its trailer: the view shows no animation.
    const std::string_view input = bytes.substr(0, header.firstFrameEnd);
    bool ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(input.data()), input.size(), nullptr);
    if (ok && header.format == ui::PictureFormat::Gif && input.size() < bytes.size()) {
        const guchar trailer = 0x3B;
        ok = gdk_pixbuf_loader_write(loader, &trailer, 1, nullptr);
    }
    ok = gdk_pixbuf_loader_close(loader, nullptr) && ok;
    std::optional<DecodedPicture> out;
    if (GdkPixbuf* picture = gdk_pixbuf_loader_get_pixbuf(loader); ok && picture != nullptr)
        out = AsStoredPng(picture);
    g_object_unref(loader);
    return out;
}

std::optional<DecodedPicture> DecodeWebPicture(std::string bytes, const ui::PictureHeader& header,
                                               std::uint64_t largest, ui::PixelSize svgSize,
                                               std::chrono::milliseconds within)
{
    if (header.format != ui::PictureFormat::Svg)
        return DecodePicture(bytes, header, largest, svgSize);
    if (g_webSvgDrawing.exchange(true))
        return std::nullopt;
    auto drawing = std::make_shared<SvgDrawing>();
    drawing->bytes = std::move(bytes);
    drawing->header = header;
    drawing->size = svgSize;
    std::thread([drawing, largest] {
        auto picture = DecodePicture(drawing->bytes, drawing->header, largest, drawing->size);
        {
            const std::lock_guard lock(drawing->mutex);
            drawing->picture = std::move(picture);
            drawing->done = true;
        }
        drawing->finished.notify_all();
        g_webSvgDrawing = false;
    }).detach();
    std::unique_lock lock(drawing->mutex);
    if (!drawing->finished.wait_for(lock, within, [&drawing] { return drawing->done; }))
        return std::nullopt;
    return std::move(drawing->picture);
}

} // namespace ui_wx
