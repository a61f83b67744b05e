#include "res/strings.h"

#include "res/resource_ids.h"

#include <array>
#include <utility>

namespace res {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 1> kStrings = {{
    {IDS_ABOUTBOX, "&About Vantrel..."},
}};

} // namespace

std::string_view LoadString(int id)
{
    for (const auto& [key, text] : kStrings)
        if (key == id)
            return text;
    return {};
}

} // namespace res
