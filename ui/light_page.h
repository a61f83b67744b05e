#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What a light HTML view (one that runs no scripts and reads no style
// sheets) needs done to a page before it shows it. Plain text work: any input is
// safe, however broken or large, and nothing here recurses on it.
namespace ui {

// The value of attribute `name` (ASCII letters, compared ignoring case) in
// one HTML tag such as `<img src="a.png" width=10>`: quoted with " or ', or
// bare; "&amp;" in it read as "&". Empty when the tag has no such attribute.
std::string TagAttribute(std::string_view tag, std::string_view name);

// Answers the new source for one <img> tag (the whole tag, for its other
// attributes); empty keeps the tag's own.
using PictureSource = std::function<std::string(std::string_view imgTag)>;

// The page as a light view takes it: its <style> and <script> elements
// removed (the view would show their text), and the source of each <img>
// tag replaced by what `picture` answers.
std::string PageForLightView(std::string_view html, const PictureSource& picture);

// The sources of the page's <img> tags as written, each once, in order.
std::vector<std::string> PictureSources(std::string_view html);

// The character set a page names for itself: the charset parameter of its
// Content-Type header, else that of a <meta> tag near its start; in lower
// case, empty when it names none.
std::string PageCharset(std::string_view contentType, std::string_view html);

} // namespace ui
