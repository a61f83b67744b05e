#pragma once

#include "ui/controls.h"
#include "ui/web_view.h"

#include <functional>
#include <string>
#include <string_view>

namespace ui {
class Dialog;
}

// The HTML pane of the main window: a browser view in the place and size of
// a static placeholder control. Whenever a document finishes loading whose
// title is not "advert", the pane shows the embedded advert page instead, so
// it ends on that page without a network. A page's request for a new window
// (a link with target="_blank") never opens in the pane: the address goes to
// the owner's handler, which may open it in the user's browser.
//
// When no browser view can be made, the placeholder stays as an empty
// static, CreateFromStatic answers false and navigation does nothing.
class CHTMLCtrl : public ui::Static, private ui::WebViewClient {
public:
    using NewWindowHandler = std::function<void(std::string_view url)>;

    // Puts the browser view in the place of the placeholder with this
    // identifier and binds the pane to it; false when it cannot.
    bool CreateFromStatic(int id, ui::Dialog& parent);
    // Starts loading an address; returns at once.
    void Navigate2(std::string_view url);
    // Shows a page the program carries inside itself ("ADVERT.HTML").
    void LoadFromResource(std::string_view name);
    // Who hears of new-window requests; without a handler they are dropped.
    void SetNewWindowHandler(NewWindowHandler handler) { newWindow_ = std::move(handler); }
    bool HasBrowser() const { return browser_; }

protected:
    // The fallback to the embedded advert page.
    virtual void OnDocumentComplete(std::string_view url, std::string_view title);

private:
    std::optional<ui::EmbeddedResource> FindEmbedded(std::string_view name) const override;
    void DocumentComplete(std::string_view url, std::string_view title) override;
    void NewWindowRequested(std::string_view url) override;

    bool browser_ = false;
    NewWindowHandler newWindow_;
};
