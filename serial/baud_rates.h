#pragma once
// The rows of the window's baud rate list: the 13 of kBaudRates first, in
// their order, so the row indexes stored in settings files keep their
// meaning; then the rates today's boards and adapters run at; then those
// the user adds in the settings file ([BAUD] extra=250000;1843200).

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "serial/line_tables.h"

namespace serial {

inline constexpr std::array<std::uint32_t, 13> kMoreBaudRates{
    230400, 460800, 500000, 576000, 921600, 1000000, 1152000, 1500000, 2000000, 2500000, 3000000, 3500000, 4000000,
};

// kBaudRates, kMoreBaudRates and the rates of an [BAUD] extra value, in
// that order. A user's entry that is no whole number from 1 to 4294967295,
// or a rate already in the list, is skipped.
std::vector<std::uint32_t> BaudRateRows(std::string_view extra);

// A row's rate, or the default row's (9600) when index lies outside the
// rows, as for a row of kBaudRates.
std::uint32_t BaudRateAt(const std::vector<std::uint32_t>& rows, int index);

} // namespace serial
