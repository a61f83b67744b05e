// The window's receive poll against a pseudo-terminal whose far end streams
// bytes (every byte value, zero bytes included).
//
// The window's thread runs as its event loop would: the port's arrival
// messages are served as they come and the poll timer ticks every 300 ms.
// First a fixed amount as fast as the pseudo-terminal takes it, in
// hexadecimal and in text display, each with automatic emptying on and off:
// "taken" is when the far end's last write returned (the program has read
// everything; what a peer terminal program is timed by), "counted" when the
// received counter reached the last byte (goal: 20 MB taken in about a
// second or less). Then a steady stream paced
// at 115200 and 921600 baud and at 2 MB/s for some seconds, with the longest
// time the far end waited for the line to take a block: a long wait means
// the program's buffer was full, where a line without flow control would
// have lost bytes.
//
// For every run: whether the counter equals the bytes sent, the longest time
// one round of the timers (the poll's tick, a read going on) or one read on
// arrival holds the user-interface thread (goal: under 20 ms),
// and the processor time per megabyte of the user-interface thread and of
// the whole program (that thread and the port's reader, without the far
// end's writer).
//
// Last, the capture: a fixed amount (100 MB) at full speed in hexadecimal
// display without a log, with the raw log and with the text log; the log
// is checked against what was sent (raw: byte for byte; text: the bytes its
// lines spell, in order) and its time taken given as a ratio to the run
// without (goal: at most 1.2), beside the longest hold. (The time counted
// moves in steps of the poll's tick: the last bytes wait for it.)
//
//   receive_poll_bench [megabytes] [seconds per paced run] [log megabytes]   (default 20, 5, 100)

#include "app/serial_dlg.h"
#include "bench/open_on_pty.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "settings/profile.h"
#include "settings/record.h"
#include "ui_headless/headless_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ThreadCpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

enum class Log { None, Raw, Text };

struct Stream {
    bool ascii = false;
    bool autoClear = true;
    std::uint64_t bytes = 0;          // a fixed amount, or 0 for a paced run
    unsigned bytesPerSecond = 0;      // 0: as fast as the line takes them
    std::chrono::seconds duration{0}; // of a paced run
    Log log = Log::None;
};

struct Result {
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
    double taken = 0;   // from the first byte sent until the far end's last write returned
    double seconds = 0; // from the first byte sent to the last one counted
    double longestTickMs = 0;
    double longestArrivalMs = 0; // the longest read on an arrival message
    int arrivals = 0;
    double uiCpu = 0;
    double programCpu = 0;
    int ticks = 0;
    double longestSendMs = 0; // the far end's longest wait for the line to take a block
    bool logExact = true;     // the log holds what was sent
};

// The far end's bytes: byte i of the stream is i * 31.
bool LogHoldsTheStream(const std::string& path, Log log, std::uint64_t count)
{
    std::ifstream file(path, std::ios::binary);
    std::uint64_t position = 0;
    if (log == Log::Raw) {
        std::vector<char> block(1 << 16);
        while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0) {
            for (std::streamsize i = 0; i < file.gcount(); ++i)
                if (static_cast<std::uint8_t>(block[static_cast<std::size_t>(i)]) !=
                    static_cast<std::uint8_t>(position++ * 31))
                    return false;
        }
        return position == count;
    }
    // "2026-12-09 15:04:05.123 RX 01 1F ..." lines: their hexadecimal pairs in order.
    std::string line;
    while (std::getline(file, line)) {
        if (line.size() < 27 || line.compare(23, 4, " RX ") != 0)
            return false;
        for (std::size_t i = 27; i + 1 < line.size() + 1; i += 3)
            if (static_cast<std::uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)) !=
                static_cast<std::uint8_t>(position++ * 31))
                return false;
    }
    return position == count;
}

std::string RxOptions(const Stream& s)
{
    const auto record = settings::Record<2>::From({s.ascii ? 1u : 0u, s.autoClear ? 1u : 0u});
    return settings::FormatStruct(record.bytes.data(), record.bytes.size());
}

Result Run(const Stream& s)
{
    bench::WindowOnPty run("[RX]\nopt=" + RxOptions(s) + "\n");
    auto& pty = run.pty;
    auto& dir = run.dir;
    auto& ui = run.ui;
    auto& dlg = run.dlg;
    auto& w = run.window();
    const std::string logPath = dir + "/capture.log";
    if (s.log != Log::None) {
        if (s.log == Log::Text)
            w.ChooseSystemMenu(res::IDM_LOG_AS_TEXT);
        ui.QueueFileChoice(logPath);
        w.ChooseSystemMenu(res::IDM_LOG_TO_FILE);
    }

    Result result;
    std::atomic<bool> done{false};
    std::atomic<double> peerCpu{0};
    std::atomic<Clock::time_point> takenAt{};
    const double uiCpu0 = ThreadCpuSeconds();
    const double processCpu0 = ProcessCpuSeconds();
    const auto start = Clock::now();
    std::thread peer([&] {
        const double cpu0 = ThreadCpuSeconds();
        std::vector<std::uint8_t> block(s.bytesPerSecond ? std::max(1u, s.bytesPerSecond / 100) : 4096);
        std::uint64_t position = 0;
        while (s.bytes ? result.sent < s.bytes : Clock::now() - start < s.duration) {
            if (s.bytes)
                block.resize(static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), s.bytes - result.sent)));
            for (auto& b : block)
                b = static_cast<std::uint8_t>(position++ * 31);
            const auto t0 = Clock::now();
            pty.SendFromFarEnd(block);
            result.longestSendMs =
                std::max(result.longestSendMs, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            result.sent += block.size();
            if (s.bytesPerSecond) // one block every 10 ms
                std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * (result.sent / block.size())));
        }
        peerCpu = ThreadCpuSeconds() - cpu0;
        takenAt = Clock::now();
        done = true;
    });

    // The window's thread as its event loop runs it: the port's arrival
    // messages are served as they come, the timers (the poll every 300 ms,
    // the going on of a read cut short) as real time reaches them; a timer
    // that fell due while the thread was busy fires once.
    auto settle = Clock::time_point::max();
    const std::uint64_t clockAtStart = ui.Now();
    auto holdMs = [](Clock::time_point from) {
        return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
    };
    while (true) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        const std::uint64_t now = clockAtStart + static_cast<std::uint64_t>(elapsed.count());
        const std::optional<std::uint64_t> due = ui.NextTimerDue();
        if (due && *due <= now) {
            const auto t0 = Clock::now();
            ui.CatchUp(static_cast<unsigned>(now - ui.Now()));
            result.longestTickMs = std::max(result.longestTickMs, holdMs(t0));
            result.ticks++;
        } else if (ui.WaitForPosted(std::chrono::milliseconds(due ? *due - now : 10))) {
            const auto t0 = Clock::now();
            ui.RunPosted();
            result.longestArrivalMs = std::max(result.longestArrivalMs, holdMs(t0));
            result.arrivals++;
        }
        if (done && result.taken == 0)
            result.taken = std::chrono::duration<double>(takenAt.load() - start).count();
        if (done && settle == Clock::time_point::max())
            settle = Clock::now() + 10s;
        if (done && dlg.m_nRxCount == result.sent && result.seconds == 0)
            result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        // Counted is not yet shown: the label follows at the next tick.
        if (result.seconds > 0 && dlg.m_stcRxCount.GetWindowText() == "RX: " + std::to_string(result.sent))
            break;
        if (done && Clock::now() > settle)
            break;
    }
    peer.join();
    result.uiCpu = ThreadCpuSeconds() - uiCpu0;
    result.programCpu = ProcessCpuSeconds() - processCpu0 - peerCpu;
    result.received = dlg.m_nRxCount;
    if (s.log != Log::None) {
        w.ChooseSystemMenu(res::IDM_LOG_TO_FILE);
        result.logExact = LogHoldsTheStream(logPath, s.log, result.sent);
    }
    w.PressEscape();
    std::filesystem::remove_all(dir);
    return result;
}

bool Report(const char* name, const Stream& s, const Result& r)
{
    const bool equal = r.sent == r.received;
    const double mb = static_cast<double>(r.sent) / 1e6;
    std::printf("%-12s %-5s autoclear %-3s  sent %9llu  %s", name, s.ascii ? "text" : "hex", s.autoClear ? "on" : "off",
                static_cast<unsigned long long>(r.sent), equal ? "equal" : "LOST ");
    if (s.bytes)
        std::printf("  taken %5.2f s  counted %5.2f s  %6.2f MB/s", r.taken, r.seconds,
                    equal && r.seconds > 0 ? mb / r.seconds : 0.0);
    else
        std::printf("  far end waited %6.2f ms at most", r.longestSendMs);
    std::printf("  ticks %4d  longest tick %6.2f ms  arrivals %6d  longest %6.2f ms  cpu/MB: ui %6.2f ms, program "
                "%6.2f ms\n",
                r.ticks, r.longestTickMs, r.arrivals, r.longestArrivalMs, 1000 * r.uiCpu / mb,
                1000 * r.programCpu / mb);
    std::fflush(stdout);
    return equal && r.logExact && r.longestTickMs < 20 && r.longestArrivalMs < 20;
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20;
    const std::chrono::seconds paced(argc > 2 ? std::atoi(argv[2]) : 5);
    bool ok = true;
    for (const bool ascii : {false, true})
        for (const bool autoClear : {true, false}) {
            const Stream s{ascii, autoClear, megabytes * 1000 * 1000, 0, {}};
            ok = Report("full speed", s, Run(s)) && ok;
        }
    struct Paced {
        const char* name;
        unsigned bytesPerSecond;
    };
    for (const Paced& p : {Paced{"115200 baud", 11520}, Paced{"921600 baud", 92160}, Paced{"2 MB/s", 2000000}})
        for (const bool ascii : {false, true}) {
            const Stream s{ascii, true, 0, p.bytesPerSecond, paced};
            ok = Report(p.name, s, Run(s)) && ok;
        }
    const std::uint64_t logMegabytes = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 100;
    double without = 0;
    for (const Log log : {Log::None, Log::Raw, Log::Text}) {
        Stream s{false, true, logMegabytes * 1000 * 1000, 0, {}};
        s.log = log;
        const Result r = Run(s);
        const char* name = log == Log::None ? "no log" : log == Log::Raw ? "raw log" : "text log";
        ok = Report(name, s, r) && ok;
        if (log == Log::None)
            without = r.taken;
        else
            std::printf("  %s: %s, %.2f x the time without a log\n", name, r.logExact ? "exact" : "NOT EXACT",
                        without > 0 ? r.taken / without : 0.0);
    }
    return ok ? 0 : 1;
}
