#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace web {

// The embedded advert page, shown whenever the pane's own page is not it.
inline constexpr std::string_view kAdvertPage = "ADVERT.HTML";

// The title that marks a page as the advert: the embedded one, or the copy
// on the web site.
inline constexpr std::string_view kAdvertTitle = "advert";

// Whether a page with this title must give way to the embedded advert page:
// every title except "advert" in any mix of letter case. A title that only
// begins with "advert" is another page.
bool NeedsEmbeddedAdvert(std::string_view title);

// Where the pane goes at start-up, from the settings file's advert address
// (key kAdvertUrlKey in section kAdvertSection): absent, the web site's
// advert page (res::kAdvertUrl); an http or https address, that address as
// it stands; empty (or anything else), nowhere: the pane shows the embedded
// page at once, without any network access.
inline constexpr std::string_view kAdvertSection = "ADVERT";
inline constexpr std::string_view kAdvertUrlKey = "url";
std::optional<std::string> AdvertStartUrl(const std::optional<std::string>& setting);

} // namespace web
