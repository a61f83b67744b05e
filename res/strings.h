#pragma once

#include <string_view>

namespace res {

// The string table: the text of a string resource, empty when there is none.
std::string_view LoadString(int id);

// The address the HTML pane is sent to at start-up.
inline constexpr std::string_view kAdvertUrl = "https://www.vantrel.org/adv/advert.html";

} // namespace res
