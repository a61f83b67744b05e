// The window's receive poll against a pseudo-terminal whose far end streams
// bytes: first as fast as it can, then paced at 115200 and 921600 baud.
// Reports whether the received counter equals the bytes sent, and the
// longest time one tick of the poll holds the user-interface thread
// (the goal is under 20 ms).
//
//   receive_poll_bench [seconds per phase]      (default 10)

#include "app/serial_dlg.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "serial/port_names.h"
#include "ui_headless/headless_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Result {
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
    double longestTickMs = 0;
    int ticks = 0;
};

// Streams for `duration`; bytesPerSecond 0 means as fast as the line takes.
Result RunPhase(unsigned bytesPerSecond, std::chrono::seconds duration)
{
    fakes::PtyPair pty;
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::ofstream(dir + "/vantrel.ini") << "[PORTS]\nextra=" << pty.SlavePath() << "\n";

    ui::headless::HeadlessBackend ui;
    CSerialDlg dlg(serial::LinuxDeviceSystem());
    dlg.m_strIniPath = dir + "/vantrel.ini";
    ui.RunModal(dlg);
    auto& w = ui.WindowOf(dlg);
    const auto items = w.Items(res::IDC_PORT);
    w.Choose(res::IDC_PORT,
             static_cast<int>(std::find(items.begin(), items.end(), serial::PortDisplayName(pty.SlavePath())) -
                              items.begin()));
    w.Click(res::IDC_OPEN);
    if (!dlg.m_pPort) {
        std::fprintf(stderr, "could not open %s\n", pty.SlavePath().c_str());
        std::exit(1);
    }

    Result result;
    std::atomic<bool> done{false};
    std::thread peer([&] {
        const auto start = Clock::now();
        std::vector<std::uint8_t> block(bytesPerSecond ? std::max(1u, bytesPerSecond / 100) : 4096);
        std::uint64_t position = 0;
        while (Clock::now() - start < duration) {
            for (auto& b : block)
                b = static_cast<std::uint8_t>(position++ * 31);
            pty.SendFromFarEnd(block);
            result.sent += block.size();
            if (bytesPerSecond) // one block every 10 ms
                std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * (result.sent / block.size())));
        }
        done = true;
    });

    auto settle = Clock::time_point::max();
    while (true) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollPeriodMs));
        const auto t0 = Clock::now();
        ui.Advance(kPollPeriodMs);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        result.longestTickMs = std::max(result.longestTickMs, ms);
        result.ticks++;
        if (done && settle == Clock::time_point::max())
            settle = Clock::now() + 10s;
        if (done && (dlg.m_nRxCount == result.sent || Clock::now() > settle))
            break;
    }
    peer.join();
    result.received = dlg.m_nRxCount;
    w.PressEscape();
    std::filesystem::remove_all(dir);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const std::chrono::seconds duration(argc > 1 ? std::atoi(argv[1]) : 10);
    struct Phase {
        const char* name;
        unsigned bytesPerSecond;
    };
    const Phase phases[] = {{"full speed", 0}, {"115200 baud", 11520}, {"921600 baud", 92160}};
    bool ok = true;
    for (const Phase& p : phases) {
        const Result r = RunPhase(p.bytesPerSecond, duration);
        const bool equal = r.sent == r.received;
        ok = ok && equal;
        std::printf("%-12s sent %10llu  received %10llu  %s  ticks %4d  longest tick %.2f ms\n", p.name,
                    static_cast<unsigned long long>(r.sent), static_cast<unsigned long long>(r.received),
                    equal ? "equal" : "LOST", r.ticks, r.longestTickMs);
    }
    return ok ? 0 : 1;
}
