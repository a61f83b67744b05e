#pragma once

#include "ui/controls.h"
#include "ui/web_view.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace ui {
class Dialog;
}

// The HTML pane of the main window: a browser view in the place and size of
// a static placeholder control. Whenever a web page (http or https) finishes
// loading whose title is not "advert", or fails to load, or gives no answer
// within the wait given at construction, the pane shows the embedded advert
// page instead, so it ends on that page without a network. Completions of
// anything else (the view's blank start page, the embedded page itself)
// decide nothing. A page's request for a new window (a link with
// target="_blank", window.open) never opens in the pane: a web address goes
// to the owner's handler, which may open it in the user's browser; any other
// is dropped.
//
// When no browser view can be made, the placeholder stays as an empty
// static, CreateFromStatic answers false and navigation does nothing.
class CHTMLCtrl : public ui::Static, private ui::WebViewClient {
public:
    using NewWindowHandler = std::function<void(std::string_view url)>;

    // How long a web page may take to load before the embedded page replaces it.
    static constexpr std::chrono::milliseconds kDefaultAnswerWait{10000};

    explicit CHTMLCtrl(std::chrono::milliseconds answerWait = kDefaultAnswerWait) : m_answerWait(answerWait) {}

    // Puts the browser view in the place of the placeholder with this
    // identifier and binds the pane to it; false when it cannot.
    bool CreateFromStatic(int id, ui::Dialog& parent);
    // Starts loading an address; returns at once.
    void Navigate2(std::string_view url);
    // Shows a page the program carries inside itself ("ADVERT.HTML").
    void LoadFromResource(std::string_view name);
    // Who hears of new-window requests; without a handler they are dropped.
    void SetNewWindowHandler(NewWindowHandler handler) { m_newWindow = std::move(handler); }
    bool HasBrowser() const { return m_browser; }

protected:
    // The fallback to the embedded advert page.
    virtual void OnDocumentComplete(std::string_view url, std::string_view title);

private:
    std::optional<ui::EmbeddedResource> FindEmbedded(std::string_view name) const override;
    void DocumentComplete(std::string_view url, std::string_view title) override;
    void NewWindowRequested(std::string_view url) override;

    std::chrono::milliseconds m_answerWait;
    bool m_browser = false;
    NewWindowHandler m_newWindow;
};
