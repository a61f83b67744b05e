#include "ui_wx/prepared_page.h"

#include "ui/light_page.h"
#include "ui/web_address.h"
#include "ui/page_bounds.h"
#include "ui/picture_budget.h"
#include "ui/picture_header.h"
#include "ui_wx/picture_decode.h"
#include "ui_wx/wx_text.h"

#include <algorithm>

#include <wx/log.h>
#include <wx/strconv.h>

namespace ui_wx {

namespace {

constexpr std::chrono::milliseconds kLongestSvgDrawing{1500};

// The page's pictures, each decoded at its first showing.
class PagePictures {
public:
    PagePictures(const FetchedPage& page, std::string namePrefix, std::chrono::steady_clock::time_point deadline)
        : m_page(page), m_prefix(std::move(namePrefix)), m_deadline(deadline), m_budget(ui::PictureLimits{}),
          m_pictures(page.pictures.size())
    {
    }

    // The memory address for one <img> tag; empty when its picture did not
    // come, cannot be read, or the page's budget has no room for it. A
    // picture is decoded at its first showing that the budget has room for.
    std::string SourceFor(std::string_view tag)
    {
        const std::string address = ui::PictureAddress(m_page.page.address, ui::TagAttribute(tag, "src"));
        const auto found = std::ranges::find(m_page.pictures, address, &FetchedFile::address);
        if (found == m_page.pictures.end())
            return {};
        Picture& picture = m_pictures[static_cast<std::size_t>(found - m_page.pictures.begin())];
        if (!picture.header) {
            picture.header = ui::ReadPictureHeader(found->bytes);
            if (picture.header && picture.header->format == ui::PictureFormat::Svg)
                picture.svgSize = ui::SvgRenderSize(ui::TagAttribute(tag, "width"), ui::TagAttribute(tag, "height"),
                                                    m_budget.limits().svgPixels);
        }
        if (!picture.header || picture.failed || !m_budget.Take(picture.Pixels()))
            return {};
        const std::string name = m_prefix + std::to_string(found - m_page.pictures.begin());
        if (!picture.stored) {
            auto decoded = Decode(*found, picture);
            picture.failed = !decoded;
            if (picture.failed)
                return {};
            m_stored.push_back({name, std::move(decoded->png)});
            picture.stored = true;
        }
        return "memory:" + name;
    }

    std::vector<PreparedPicture> Stored() && { return std::move(m_stored); }

private:
    struct Picture {
        std::optional<ui::PictureHeader> header; // read at its first showing
        ui::PixelSize svgSize;                   // an SVG's, from the tag of its first showing
        bool stored = false;
        bool failed = false;

        std::uint64_t Pixels() const
        {
            return header->format == ui::PictureFormat::Svg ? std::uint64_t(svgSize.width) * svgSize.height
                                                            : header->Pixels();
        }
    };

    std::optional<DecodedPicture> Decode(const FetchedFile& file, const Picture& picture) const
    {
        const ui::PictureLimits& limits = m_budget.limits();
        const bool svg = picture.header->format == ui::PictureFormat::Svg;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
        if (svg && left.count() <= 0)
            return std::nullopt;
        return DecodeWebPicture(file.bytes, *picture.header, svg ? limits.svgPixels : limits.picturePixels,
                                picture.svgSize, std::min(left, kLongestSvgDrawing));
    }

    const FetchedPage& m_page;
    std::string m_prefix;
    std::chrono::steady_clock::time_point m_deadline;
    ui::PixelBudget m_budget;
    std::vector<Picture> m_pictures; // one per fetched picture
    std::vector<PreparedPicture> m_stored;
};

} // namespace

std::optional<PreparedPage> PreparePage(const FetchedPage& page, const std::string& namePrefix,
                                        std::chrono::steady_clock::time_point deadline)
{
    PagePictures pictures(page, namePrefix, deadline);
    const std::string rewritten =
        ui::PageForLightView(page.page.bytes, [&pictures](std::string_view tag) { return pictures.SourceFor(tag); });
    const std::optional<std::string> bounded = ui::BoundedPage(rewritten);
    if (!bounded)
        return std::nullopt;
    return PreparedPage{page.page.address,
                        DecodedPage(*bounded, ui::PageCharset(page.page.contentType, page.page.bytes)),
                        std::move(pictures).Stored()};
}

wxString DecodedPage(const std::string& bytes, const std::string& charset)
{
    const wxLogNull quiet; // an unknown character set is no news for the user
    wxString text;
    if (charset.empty() || charset == "utf-8" || charset == "utf8")
        text = wxString::FromUTF8(bytes.data(), bytes.size());
    else if (const wxCSConv conversion(ToWx(charset)); conversion.IsOk())
        text = wxString(bytes.data(), conversion, bytes.size());
    if (text.empty() && !bytes.empty())
        text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    return text;
}

} // namespace ui_wx
