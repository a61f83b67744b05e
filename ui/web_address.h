#pragma once

#include <string>
#include <string_view>

// Web addresses as the pane and its pages use them: their scheme, which of
// them the pane may load or open, and references made whole against a
// page's address as a browser makes them. Plain text work: any input is
// safe.
namespace ui {

// The scheme of the program's own embedded files (see EmbeddedUrl).
inline constexpr std::string_view kEmbeddedScheme = "vantrel-res";

// The scheme of an address, in lower case; empty when it has none.
std::string SchemeOf(std::string_view url);

// Whether an address is a web one (http:// or https://, in any letter
// case): the only kind a pane loads from the network, and the only kind its
// pages may open in the user's browser.
bool IsWebAddress(std::string_view url);

// Whether a web view may go to an address at all: the web's own schemes and
// the embedded files. Everything else (local files, other programs' schemes)
// stays closed to pages, as a browser tab keeps it closed to web sites.
bool IsNavigationAllowed(std::string_view url);

// A reference found in a page (a link, a picture's source) made whole
// against the page's own address, as a browser does: "b.png", "../b.png",
// "/b.png", "//host/b.png", "?q" and "#f" are read relative to `base`; a
// reference with a scheme of its own stands as it is. Spaces around the
// reference, and tabs and line breaks in it, are dropped.
std::string ResolveAddress(std::string_view base, std::string_view reference);

// The address a picture's source names on a page at `pageAddress`: made
// whole, without a fragment (#...), which no server sees.
std::string PictureAddress(std::string_view pageAddress, std::string_view source);

} // namespace ui
