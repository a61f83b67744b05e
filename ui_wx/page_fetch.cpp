#include "ui_wx/page_fetch.h"

#include "ui/light_page.h"
#include "ui/web_address.h"
#include "ui/web_view.h"
#include "ui_wx/curl_library.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <deque>
#include <thread>
#include <utility>

namespace ui_wx {

namespace {

constexpr std::size_t kLargestPage = std::size_t{1} << 20;
constexpr std::size_t kLargestPicture = std::size_t{2} << 20;
constexpr std::size_t kMostPictures = 32;
constexpr long kMostRedirects = 5;
constexpr std::chrono::milliseconds kLongestWait{30000}; // when the caller names no limit
constexpr std::chrono::milliseconds kLongestPoll{1000};

using Clock = std::chrono::steady_clock;

// One file on its way.
struct Transfer {
    std::string address;
    std::size_t largest = 0;
    CURL* easy = nullptr;
    bool ok = false;
    FetchedFile file;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* transfer)
{
    auto& t = *static_cast<Transfer*>(transfer);
    const std::size_t length = size * count;
    if (length > t.largest - t.file.bytes.size())
        return 0; // too large: the transfer fails
    t.file.bytes.append(data, length);
    return length;
}

bool IsHtml(const std::string& contentType)
{
    std::string type = contentType.substr(0, contentType.find(';'));
    std::ranges::transform(type, type.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    type.erase(std::remove(type.begin(), type.end(), ' '), type.end());
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

} // namespace

struct PageFetch::Work {
    const CurlLibrary* curl = nullptr; // null: libcurl cannot be had, and every fetch fails
    std::string address;
    Clock::time_point deadline;
    Done done;
    CURLM* multi = nullptr;
    std::atomic<bool> stop{false};
    std::thread thread;

    void Run();
    void FetchAll(std::deque<Transfer>& transfers);
    bool Begin(Transfer& transfer);
    void Finish(Transfer& transfer) const;
};

bool PageFetch::Work::Begin(Transfer& t)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    t.easy = curl->easy_init();
    if (!t.easy || left.count() <= 0)
        return false;
    curl->easy_setopt(t.easy, CURLOPT_URL, t.address.c_str());
    curl->easy_setopt(t.easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl->easy_setopt(t.easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl->easy_setopt(t.easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl->easy_setopt(t.easy, CURLOPT_MAXREDIRS, kMostRedirects);
    curl->easy_setopt(t.easy, CURLOPT_NOSIGNAL, 1L);
    // Ending the fetch does not wait for a name lookup still under way.
    curl->easy_setopt(t.easy, CURLOPT_QUICK_EXIT, 1L);
    curl->easy_setopt(t.easy, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    curl->easy_setopt(t.easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.largest));
    curl->easy_setopt(t.easy, CURLOPT_ACCEPT_ENCODING, ""); // what libcurl can decode; the limit counts decoded bytes
    curl->easy_setopt(t.easy, CURLOPT_USERAGENT, "Vantrel");
    curl->easy_setopt(t.easy, CURLOPT_WRITEFUNCTION, Receive);
    curl->easy_setopt(t.easy, CURLOPT_WRITEDATA, &t);
    curl->easy_setopt(t.easy, CURLOPT_PRIVATE, &t);
    return curl->multi_add_handle(multi, t.easy) == CURLM_OK;
}

void PageFetch::Work::Finish(Transfer& t) const
{
    long status = 0;
    char* type = nullptr;
    char* effective = nullptr;
    curl->easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
    curl->easy_getinfo(t.easy, CURLINFO_CONTENT_TYPE, &type);
    curl->easy_getinfo(t.easy, CURLINFO_EFFECTIVE_URL, &effective);
    t.ok = t.ok && status >= 200 && status <= 299;
    t.file.contentType = type ? type : "";
    t.file.address = effective ? effective : t.address;
}

void PageFetch::Work::FetchAll(std::deque<Transfer>& transfers)
{
    for (Transfer& t : transfers)
        if (!Begin(t) && t.easy) {
            curl->easy_cleanup(t.easy);
            t.easy = nullptr;
        }
    int running = 0;
    do {
        curl->multi_perform(multi, &running);
        int queued = 0;
        while (CURLMsg* message = curl->multi_info_read(multi, &queued)) {
            Transfer* t = nullptr;
            curl->easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &t);
            if (message->msg == CURLMSG_DONE && t) {
                t->ok = message->data.result == CURLE_OK;
                Finish(*t);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (!running || stop || left.count() <= 0)
            break;
        curl->multi_poll(multi, nullptr, 0, static_cast<int>(std::min(left, kLongestPoll).count()), nullptr);
    } while (!stop);
    for (Transfer& t : transfers) {
        if (!t.easy)
            continue;
        curl->multi_remove_handle(multi, t.easy);
        curl->easy_cleanup(t.easy);
        t.easy = nullptr;
    }
}

void PageFetch::Work::Run()
{
    std::deque<Transfer> page(1);
    page.front().address = address;
    page.front().largest = kLargestPage;
    if (multi)
        FetchAll(page);
    if (stop)
        return;
    if (!page.front().ok || !IsHtml(page.front().file.contentType)) {
        done(std::nullopt);
        return;
    }
    FetchedPage result{std::move(page.front().file), {}};

    std::deque<Transfer> pictures;
    for (const std::string& source : ui::PictureSources(result.page.bytes)) {
        std::string resolved = ui::PictureAddress(result.page.address, source);
        if (pictures.size() == kMostPictures)
            break;
        if (ui::IsWebAddress(resolved) &&
            std::ranges::none_of(pictures, [&](const Transfer& t) { return t.address == resolved; })) {
            Transfer& picture = pictures.emplace_back();
            picture.address = std::move(resolved);
            picture.largest = kLargestPicture;
        }
    }
    FetchAll(pictures);
    if (stop)
        return;
    for (Transfer& t : pictures)
        if (t.ok)
            result.pictures.push_back(FetchedFile{t.address, std::move(t.file.contentType), std::move(t.file.bytes)});
    done(std::move(result));
}

PageFetch::PageFetch(std::string address, std::chrono::milliseconds within, Done done) : m_work(new Work)
{
    m_work->curl = OpenCurl();
    m_work->address = std::move(address);
    m_work->deadline = Clock::now() + (within.count() > 0 ? within : kLongestWait);
    m_work->done = std::move(done);
    if (m_work->curl)
        m_work->multi = m_work->curl->multi_init();
    m_work->thread = std::thread([work = m_work.get()] { work->Run(); });
}

PageFetch::~PageFetch()
{
    m_work->stop = true;
    if (m_work->multi)
        m_work->curl->multi_wakeup(m_work->multi);
    m_work->thread.join();
    if (m_work->multi)
        m_work->curl->multi_cleanup(m_work->multi);
}

} // namespace ui_wx
