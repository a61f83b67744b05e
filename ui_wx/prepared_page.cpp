#include "ui_wx/prepared_page.h"

#include "ui/light_page.h"
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
          m_decoded(page.pictures.size())
    {
    }

    // The memory address for one <img> tag; empty when its picture did not
    // come, cannot be read, or the page's budget has no room for it.
    std::string SourceFor(std::string_view tag)
    {
        const std::string address = ui::PictureAddress(m_page.page.address, ui::TagAttribute(tag, "src"));
        const auto found = std::ranges::find(m_page.pictures, address, &FetchedFile::address);
        if (found == m_page.pictures.end())
            return {};
        const auto i = static_cast<std::size_t>(found - m_page.pictures.begin());
        if (!m_decoded[i].tried) {
            m_decoded[i].tried = true;
            m_decoded[i].picture = Decode(*found, tag);
            if (m_decoded[i].picture)
                m_stored.push_back({m_prefix + std::to_string(i), std::move(m_decoded[i].picture->png)});
            m_decoded[i].name = m_prefix + std::to_string(i);
        }
        const Decoded& decoded = m_decoded[i];
        if (!decoded.picture || !m_budget.Take(decoded.picture->Pixels()))
            return {};
        return "memory:" + decoded.name;
    }

    std::vector<PreparedPicture> Stored() && { return std::move(m_stored); }

private:
    struct Decoded {
        bool tried = false;
        std::optional<DecodedPicture> picture; // its bytes move to m_stored
        std::string name;
    };

    std::optional<DecodedPicture> Decode(const FetchedFile& file, std::string_view tag) const
    {
        const auto header = ui::ReadPictureHeader(file.bytes);
        if (!header)
            return std::nullopt;
        const ui::PictureLimits& limits = m_budget.limits();
        const bool svg = header->format == ui::PictureFormat::Svg;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
        if (svg && left.count() <= 0)
            return std::nullopt;
        return DecodeWebPicture(
            file.bytes, *header, svg ? limits.svgPixels : limits.picturePixels,
            ui::SvgRenderSize(ui::TagAttribute(tag, "width"), ui::TagAttribute(tag, "height"), limits.svgPixels),
            std::min(left, kLongestSvgDrawing));
    }

    const FetchedPage& m_page;
    std::string m_prefix;
    std::chrono::steady_clock::time_point m_deadline;
    ui::PixelBudget m_budget;
    std::vector<Decoded> m_decoded; // one per fetched picture
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
