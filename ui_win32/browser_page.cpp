#include "ui_win32/browser_page.h"

#include <algorithm>
#include <cctype>

namespace ui_win32 {

namespace {

constexpr std::string_view kNewestMode = "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">";

// Where the request for a document mode may stand: right after <head ...>,
// before anything the engine would already draw by; at the very start when
// the page has no head.
std::size_t ModeRequestPlace(std::string_view html)
{
    std::string lower(html);
    std::ranges::transform(lower, lower.begin(),
                           [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    for (std::size_t at = lower.find("<head"); at != std::string::npos; at = lower.find("<head", at + 1)) {
        const char next = at + 5 < lower.size() ? lower[at + 5] : '\0';
        if (next != '>' && !std::isspace(static_cast<unsigned char>(next)))
            continue; // <header> and the like
        const std::size_t close = lower.find('>', at);
        return close == std::string::npos ? 0 : close + 1;
    }
    return 0;
}

} // namespace

std::string PageForBrowserControl(std::string_view html, const ui::WebViewClient& files)
{
    std::string page = ui::InlineEmbeddedImages(html, files);
    page.insert(ModeRequestPlace(page), kNewestMode);
    return page;
}

PaneNavigation DecideNavigation(std::string_view url, bool showingEmbedded, bool programsOwn)
{
    if (programsOwn)
        return ui::IsNavigationAllowed(url) ? PaneNavigation::Go : PaneNavigation::Refuse;
    if (!ui::IsWebAddress(url))
        return PaneNavigation::Refuse;
    return showingEmbedded ? PaneNavigation::OpenOutside : PaneNavigation::Go;
}

} // namespace ui_win32
