#include "res/bitmaps.h"

#include "res/resource_ids.h"

namespace res {
namespace {

// Bitmap 131, the Help button's face: a white question mark on a blue disc,
// 18 x 18 pixels.
const char* const kHelpBitmap[] = {
    "18 18 4 1",          ". c None",           "d c #1B4A8F",        "b c #2F74D0",        "w c #FFFFFF",
    "........dd........", ".....dddbbddd.....", "...ddbbbbbbbbdd...", "..ddbbwwwwwwbbdd..", "..dbbwwbbbbwwbbd..",
    ".dbbbwwbbbbwwbbbd.", ".dbbbbbbbbbwwbbbd.", ".dbbbbbbbbwwbbbbd.", "dbbbbbbbbwwbbbbbbd", "dbbbbbbbwwbbbbbbbd",
    ".dbbbbbbwwbbbbbbd.", ".dbbbbbbbbbbbbbbd.", ".dbbbbbbwwbbbbbbd.", "..dbbbbbwwbbbbbd..", "..ddbbbbbbbbbbdd..",
    "...ddbbbbbbbbdd...", ".....dddbbddd.....", "........dd........",
};

} // namespace

std::span<const char* const> LoadBitmap(int id)
{
    if (id == IDB_HELP)
        return kHelpBitmap;
    return {};
}

} // namespace res
