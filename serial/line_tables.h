#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serial/dcb.h"

// The line settings the window's lists offer, in list order. The settings
// file stores row indexes into these tables.

namespace serial {
struct LineSettingRow {
    std::string_view text;
    std::uint8_t value;
};
} // namespace serial

inline constexpr std::array<std::uint32_t, 13> kBaudRates{
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200,
};

inline constexpr std::array<serial::LineSettingRow, 5> kParityNames{{
    {"None", NOPARITY},
    {"Odd", ODDPARITY},
    {"Even", EVENPARITY},
    {"Mark", MARKPARITY},
    {"Space", SPACEPARITY},
}};

inline constexpr std::array<serial::LineSettingRow, 4> kByteSizes{{
    {"5", 5},
    {"6", 6},
    {"7", 7},
    {"8", 8},
}};

inline constexpr std::array<serial::LineSettingRow, 3> kStopBitNames{{
    {"1", ONESTOPBIT},
    {"1.5", ONE5STOPBITS},
    {"2", TWOSTOPBITS},
}};

namespace serial {

// The rows the settings file selects by default: 9600 baud, no parity,
// 8 data bits, one stop bit.
inline constexpr std::size_t kDefaultBaudRow = 6;
inline constexpr std::size_t kDefaultParityRow = 0;
inline constexpr std::size_t kDefaultByteSizeRow = 3;
inline constexpr std::size_t kDefaultStopBitsRow = 0;

// A row's value, or the default row's value when index lies outside the
// table (a list without selection, or a settings file from elsewhere).
template <typename Row, std::size_t N>
constexpr Row RowOrDefault(const std::array<Row, N>& table, int index, std::size_t defaultRow)
{
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < N;
    return table[inside ? static_cast<std::size_t>(index) : defaultRow];
}

constexpr std::uint32_t BaudRateAt(int index)
{
    return RowOrDefault(kBaudRates, index, kDefaultBaudRow);
}
constexpr std::uint8_t ParityAt(int index)
{
    return RowOrDefault(kParityNames, index, kDefaultParityRow).value;
}
constexpr std::uint8_t ByteSizeAt(int index)
{
    return RowOrDefault(kByteSizes, index, kDefaultByteSizeRow).value;
}
constexpr std::uint8_t StopBitsAt(int index)
{
    return RowOrDefault(kStopBitNames, index, kDefaultStopBitsRow).value;
}

} // namespace serial
