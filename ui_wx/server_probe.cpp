#include "ui_wx/server_probe.h"

#include "ui/web_view.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <wx/timer.h>

namespace ui_wx {

namespace {

using Clock = std::chrono::steady_clock;

// How often the window thread looks whether the probe has its answer.
constexpr int kPollMs = 20;

bool ProxyConfigured()
{
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

// Whether one address takes a TCP connection before `deadline`.
bool Connects(const addrinfo& address, Clock::time_point deadline)
{
    const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0)
        return false;
    bool connected = connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left > 0 && poll(&waiting, 1, static_cast<int>(std::min<long long>(left, 60000))) == 1) {
            int error = 0;
            socklen_t length = sizeof error;
            connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
    }
    close(fd);
    return connected;
}

// Blocks while the name resolves (the resolver's own time limits apply)
// and while each of its addresses is tried, until one connects or the
// deadline passes.
bool AcceptsConnections(const ServerAddress& server, Clock::time_point deadline)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(server.host.c_str(), server.port.c_str(), &hints, &found) != 0)
        return false;
    bool reachable = false;
    for (const addrinfo* address = found; address && !reachable && Clock::now() < deadline; address = address->ai_next)
        reachable = Connects(*address, deadline);
    freeaddrinfo(found);
    return reachable;
}

} // namespace

std::optional<ServerAddress> ServerOf(std::string_view url)
{
    const std::string scheme = ui::SchemeOf(url);
    const bool https = scheme == "https";
    if (!https && scheme != "http")
        return std::nullopt;
    std::string_view authority = url.substr(scheme.size() + 1);
    if (!authority.starts_with("//"))
        return std::nullopt;
    authority.remove_prefix(2);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    ServerAddress server;
    std::string_view port;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        server.host = authority.substr(1, close - 1);
        const std::string_view rest = authority.substr(close + 1);
        if (rest.starts_with(':'))
            port = rest.substr(1);
        else if (!rest.empty())
            return std::nullopt;
    } else {
        const auto portColon = authority.rfind(':');
        server.host = authority.substr(0, portColon);
        if (portColon != std::string_view::npos)
            port = authority.substr(portColon + 1);
    }
    if (server.host.empty() || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    server.port = port.empty() ? (https ? "443" : "80") : std::string(port);
    return server;
}

// Watches, on the window thread, for the answer of the probe under way.
class ServerProbe::Poller final : public wxTimer {
public:
    // -1 while the probe's thread works, then 1 (reachable) or 0. Shared
    // with that thread, which may outlive the poller.
    using Outcome = std::shared_ptr<std::atomic<int>>;

    void Begin(Outcome outcome, Clock::time_point deadline, Answer answer)
    {
        m_outcome = std::move(outcome);
        m_deadline = deadline;
        m_answer = std::move(answer);
        Start(kPollMs);
    }

    void End()
    {
        Stop();
        m_outcome.reset();
        m_answer = nullptr;
    }

private:
    void Notify() override
    {
        const int outcome = m_outcome ? m_outcome->load() : 0;
        if (outcome < 0 && Clock::now() < m_deadline)
            return;
        Answer answer = std::move(m_answer);
        End();
        if (answer)
            answer(outcome > 0);
    }

    Outcome m_outcome;
    Clock::time_point m_deadline;
    Answer m_answer;
};

ServerProbe::ServerProbe() : m_poller(std::make_unique<Poller>())
{
}

ServerProbe::~ServerProbe()
{
    Cancel();
}

void ServerProbe::Start(std::string_view url, std::chrono::milliseconds within, Answer answer)
{
    Cancel();
    const Clock::time_point deadline = Clock::now() + within;
    auto outcome = std::make_shared<std::atomic<int>>(-1);
    const std::optional<ServerAddress> server = ServerOf(url);
    if (!server) {
        outcome->store(0);
    } else if (ProxyConfigured()) {
        outcome->store(1);
    } else {
        try {
            std::thread([outcome, server = *server, deadline] {
                outcome->store(AcceptsConnections(server, deadline) ? 1 : 0);
            }).detach();
        } catch (const std::system_error&) {
            outcome->store(1); // no thread to spare: the engine finds out itself
        }
    }
    m_poller->Begin(std::move(outcome), deadline, std::move(answer));
}

void ServerProbe::Cancel()
{
    m_poller->End();
}

} // namespace ui_wx
