#pragma once

#include <span>

namespace res {

// A bitmap resource as XPM rows (the header row, the colours, the pixels);
// empty when there is no such bitmap. Transparent pixels ("None") show the
// face of the control underneath, whatever the desktop's colours.
std::span<const char* const> LoadBitmap(int id);

} // namespace res
