#include "res/icons.h"

#include "res/resource_ids.h"

namespace res {
namespace {

// Icon 128, the application icon: a serial connector above a square wave.
const char* const kAppIcon[] = {
    "32 32 5 1",
    ". c None",
    "b c #1F4E79",
    "w c #F2F2F2",
    "k c #202020",
    "g c #7CFC00",
    ".....bbbbbbbbbbbbbbbbbbbbbb.....",
    "..bbbbbbbbbbbbbbbbbbbbbbbbbbbb..",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbwwwwwwwwwwwwwwwwwwwwwwwwbbbb",
    "bbbbwwwwwwwwwwwwwwwwwwwwwwwwbbbb",
    "bbbbbwwwwwwwwwwwwwwwwwwwwwwbbbbb",
    "bbbbbwwkkwwkkwwkkwwkkwwkkwwbbbbb",
    "bbbbbwwkkwwkkwwkkwwkkwwkkwwbbbbb",
    "bbbbbwwwwwwwwwwwwwwwwwwwwwwbbbbb",
    "bbbbbbwwwwwwwwwwwwwwwwwwwwbbbbbb",
    "bbbbbbwwwkkwwkkwwkkwwkkwwwbbbbbb",
    "bbbbbbwwwkkwwkkwwkkwwkkwwwbbbbbb",
    "bbbbbbwwwwwwwwwwwwwwwwwwwwbbbbbb",
    "bbbbbbbwwwwwwwwwwwwwwwwwwbbbbbbb",
    "bbbbbbbwwwwwwwwwwwwwwwwwwbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbggggbbgggbgggggbbgggbbbbb",
    "bbbbbbbgbbgbbgbgbgbbbgbbgbgbbbbb",
    "bbbbbbbgbbgbbgbgbgbbbgbbgbgbbbbb",
    "bbbbbgggbbggggbgggbbbggggbgbbbbb",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    ".bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.",
    "..bbbbbbbbbbbbbbbbbbbbbbbbbbbb..",
    ".....bbbbbbbbbbbbbbbbbbbbbb.....",
};

} // namespace

std::span<const char* const> LoadIcon(int id)
{
    if (id == IDR_MAINFRAME)
        return kAppIcon;
    return {};
}

} // namespace res
