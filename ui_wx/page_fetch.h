#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui_wx {

// One file as the web server sent it.
struct FetchedFile {
    std::string address;     // where it came from, after any redirects
    std::string contentType; // the server's Content-Type, as sent
    std::string bytes;
};

// A web page and the pictures its <img> tags name, the pictures keyed by
// their sources made whole against the page's address (ui::ResolveAddress).
struct FetchedPage {
    FetchedFile page;
    std::vector<FetchedFile> pictures; // the address is the resolved source
};

// Fetches an http or https page, then its pictures, on a thread of its own,
// with libcurl (the system's certificate store, the proxy the environment
// names, up to 5 redirects, to http and https only). Construct and destroy
// fetches on one thread (the window's).
//
// The page counts as fetched when the server answers 2xx with an HTML page
// (or no type at all) of at most 1 MiB within the time limit; anything else
// (no connection, an error status, another type, a larger page, the limit
// passed) is a failure. Pictures are then fetched within what is left of
// the limit: at most 32, each of at most 2 MiB, from http or https
// addresses; those that fail are left out.
//
// `done` runs once, on the fetch's thread, with the page or nothing, unless
// the fetch is destroyed first.
class PageFetch {
public:
    using Done = std::function<void(std::optional<FetchedPage>)>;

    PageFetch(std::string address, std::chrono::milliseconds within, Done done);
    // Stops a fetch under way at once and waits for its thread, which then
    // no longer calls `done`.
    ~PageFetch();

    PageFetch(const PageFetch&) = delete;
    PageFetch& operator=(const PageFetch&) = delete;

private:
    struct Work;
    std::unique_ptr<Work> m_work;
};

} // namespace ui_wx
