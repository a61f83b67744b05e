#pragma once

#include "ui_wx/page_fetch.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <wx/string.h>

namespace ui_wx {

// A picture ready for wx's memory file system.
struct PreparedPicture {
    std::string name;
    std::string png;
};

// A web page made ready for the light view, so the window's thread only
// stores its pictures and lays it out.
struct PreparedPage {
    std::string address;
    wxString html;
    std::vector<PreparedPicture> pictures;
};

// Prepares a fetched page on the calling thread (the fetch's): its HTML
// rewritten for the light view (ui::PageForLightView) and bounded
// (ui::BoundedPage), read in its character set; each picture decoded once
// (picture_decode.h) and stored under `namePrefix` plus a number, within
// the pixel budget of ui::PictureLimits for every showing. A picture that
// cannot be read, or that the budget has no room for, is left out; web SVG
// pictures are given up at `deadline`, and after at most 1.5 s each.
// Nothing when the page cannot be drawn safely: the caller treats it as a
// page that failed.
std::optional<PreparedPage> PreparePage(const FetchedPage& page, const std::string& namePrefix,
                                        std::chrono::steady_clock::time_point deadline);

// A page's bytes as text, in the character set it names (UTF-8 when it
// names none); bytes that do not read so are taken as Latin-1, so no page
// comes out empty.
wxString DecodedPage(const std::string& bytes, const std::string& charset);

} // namespace ui_wx
