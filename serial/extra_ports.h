#pragma once
// What the user lists by hand in the settings file: device paths in
// [PORTS] extra=, and baud rates in [BAUD] extra=, each a ";"-separated list.

#include <string>
#include <string_view>
#include <vector>

namespace serial {

// Splits the "extra" value at ";" into device paths: the pseudo-terminals
// of emulators and tools, which no scan of the system's serial devices can
// find. Blanks and tabs around each path go; empty entries are skipped; the
// paths keep their order and their bytes otherwise.
std::vector<std::string> ParseExtraPorts(std::string_view value);

// The entries of such a list: split at ";", blanks and tabs around each
// removed, empty ones skipped, in their order.
std::vector<std::string_view> SplitExtraList(std::string_view value);

} // namespace serial
