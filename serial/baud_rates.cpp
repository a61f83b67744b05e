#include "serial/baud_rates.h"

#include "serial/extra_ports.h"

#include <algorithm>
#include <charconv>

namespace serial {

std::vector<std::uint32_t> BaudRateRows(std::string_view extra)
{
    std::vector<std::uint32_t> rows(kBaudRates.begin(), kBaudRates.end());
    rows.insert(rows.end(), kMoreBaudRates.begin(), kMoreBaudRates.end());
    for (const std::string_view entry : SplitExtraList(extra)) {
        std::uint32_t rate = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), rate);
        if (error == std::errc() && end == entry.data() + entry.size() && rate > 0 &&
            std::ranges::find(rows, rate) == rows.end())
            rows.push_back(rate);
    }
    return rows;
}

std::uint32_t BaudRateAt(const std::vector<std::uint32_t>& rows, int index)
{
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < rows.size();
    return inside ? rows[static_cast<std::size_t>(index)] : kBaudRates[kDefaultBaudRow];
}

} // namespace serial
