#pragma once

#include <span>

namespace res {

// An icon resource as XPM rows (the header row, the colours, the pixels);
// empty when there is no such icon.
std::span<const char* const> LoadIcon(int id);

} // namespace res
