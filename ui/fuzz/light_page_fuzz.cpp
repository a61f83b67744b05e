// libFuzzer target for what the pane does to a page from the web before the
// light view shows it: the first line is the page's address, the rest its
// HTML (and, read as a picture, its bytes). Every call must return; each
// picture source the page names must be found again as the tag's src when
// the page is rewritten; a page once bounded passes the bounds unchanged.

#include "ui/light_page.h"
#include "ui/web_address.h"
#include "ui/page_bounds.h"
#include "ui/picture_budget.h"
#include "ui/picture_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view base = input.substr(0, newline);
    const std::string_view html = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    for (const std::string& source : ui::PictureSources(html))
        (void)ui::ResolveAddress(base, source);
    (void)ui::ResolveAddress(base, html.substr(0, 256));
    (void)ui::PageCharset(base, html);
    const std::string rewritten = ui::PageForLightView(html, [](std::string_view tag) {
        return ui::TagAttribute(tag, "src").empty() ? std::string() : std::string("memory:x");
    });
    for (const std::string& source : ui::PictureSources(rewritten))
        if (source != "memory:x")
            std::abort(); // a picture kept a source of the page's own
    if (const auto bounded = ui::BoundedPage(rewritten))
        if (ui::BoundedPage(*bounded) != bounded)
            std::abort(); // bounding is not done in one pass
    if (const auto header = ui::ReadPictureHeader(input))
        if (header->firstFrameEnd > input.size())
            std::abort();
    const ui::PixelSize drawn = ui::SvgRenderSize(base.substr(0, 12), html.substr(0, 12), 1024 * 1024);
    if (drawn.width < 1 || drawn.height < 1 || std::uint64_t(drawn.width) * std::uint64_t(drawn.height) > 1024 * 1024)
        std::abort();
    return 0;
}
