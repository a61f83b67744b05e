#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What keeps a light HTML view (wx's, which lays a page out recursively and
// believes every number it reads) safe with a page from the web: limits on
// how deep and how large a page may be, and the numbers it lays out by held
// to ranges a real page uses. A page that passes a limit is not drawn at
// all: the caller treats it as a page that failed. Plain text work, in one
// pass, without recursion.
namespace ui {

struct PageLimits {
    std::size_t depth = 256;      // elements open inside one another
    std::size_t elements = 20000; // opening tags
    std::size_t links = 1000;     // <a href=...>
    std::size_t pictures = 256;   // <img>
};

// The page as the view may take it:
// - colspan, rowspan, width, height, border, cellpadding, cellspacing,
//   hspace, vspace, the body's margins and font and rule sizes held to
//   sane ranges (a negative number to the smallest, 100% for a percentage
//   above it); values already in range, and so a normal page, stay as
//   written, byte for byte;
// - a character reference to no character (&#0;, a surrogate, beyond
//   U+10FFFF) read as U+FFFD, the replacement character.
// Nothing when the page passes one of `limits`. Elements HTML closes by
// themselves (a <p> before the next <p> or a block, a <td> before the next
// <td> or <tr>, <li>, <dt>, <dd>, <option>) and elements without content
// (<br>, <img>, ...) do not deepen the page; any other element left open
// does.
std::optional<std::string> BoundedPage(std::string_view html, const PageLimits& limits = {});

} // namespace ui
