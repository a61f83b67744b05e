#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/web_address.h"

namespace ui {

// A file a web view serves from the program itself, for the addresses made
// with EmbeddedUrl.
struct EmbeddedResource {
    std::string_view mimeType;
    std::span<const unsigned char> bytes;
};

// The owner of a web view: it serves the embedded files and hears what the
// view reports. Called on the user-interface thread only, and never after
// the dialog that holds the view is gone.
class WebViewClient {
public:
    virtual ~WebViewClient() = default;

    // The embedded file of that name, or nothing.
    virtual std::optional<EmbeddedResource> FindEmbedded(std::string_view name) const = 0;
    // A document has finished loading, or failed to: its address and the
    // title the view reports for it (empty for a page that failed, whatever
    // the view then shows).
    virtual void DocumentComplete(std::string_view url, std::string_view title) = 0;
    // A page asked for a new window (a link with target="_blank", a script's
    // window.open). The view itself never opens one and stays where it is.
    virtual void NewWindowRequested(std::string_view url) = 0;
};

// The address of the embedded file `name` ("vantrel-res:///NAME"): relative
// addresses inside an embedded page find the files beside it.
std::string EmbeddedUrl(std::string_view name);

// The embedded file an address names; nothing for any other address.
std::optional<std::string> EmbeddedName(std::string_view url);

// An embedded page made self-contained: every src="NAME" that names an
// embedded file becomes a data: address holding that file, so a view can
// show the page from memory without any file or network access.
std::string InlineEmbeddedImages(std::string_view html, const WebViewClient& files);

} // namespace ui
