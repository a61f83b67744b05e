#pragma once
// The device paths listed by hand in the settings file, [PORTS] extra=.

#include <string>
#include <string_view>
#include <vector>

namespace serial {

// Splits the "extra" value at ";" into device paths: the pseudo-terminals
// of emulators and tools, which no scan of the system's serial devices can
// find. Blanks and tabs around each path go; empty entries are skipped; the
// paths keep their order and their bytes otherwise.
std::vector<std::string> ParseExtraPorts(std::string_view value);

} // namespace serial
