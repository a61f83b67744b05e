#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui_wx {

// The server a web address names: its host (an IPv6 address without its
// brackets) and port (80 for http, 443 for https, unless the address gives
// one). Nothing for an address that is not http or https or has no host.
struct ServerAddress {
    std::string host;
    std::string port;
};
std::optional<ServerAddress> ServerOf(std::string_view url);

// Asks, off the window thread, whether the server of a web address takes a
// TCP connection: its name resolves and one of its addresses accepts a
// connection within the time given. This costs a thread and a socket, far
// less than starting a browser engine for a page that cannot load.
//
// With a proxy named in the environment (http_proxy and its kin) the answer
// is yes at once: the proxy, not the server, is what the engine would reach.
class ServerProbe {
public:
    using Answer = std::function<void(bool reachable)>;

    ServerProbe();
    ~ServerProbe();
    ServerProbe(const ServerProbe&) = delete;
    ServerProbe& operator=(const ServerProbe&) = delete;

    // Starts a probe; `answer` runs later on the window thread, with false
    // when no connection was made within `within`. A probe started while
    // another waits replaces it: the older answer never comes.
    void Start(std::string_view url, std::chrono::milliseconds within, Answer answer);
    // Drops the waiting probe, if any: its answer never comes.
    void Cancel();

private:
    class Poller;
    std::unique_ptr<Poller> m_poller;
};

} // namespace ui_wx
