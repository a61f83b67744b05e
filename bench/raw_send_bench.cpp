// The window's raw file send (protocol "None") over a pseudo-terminal to a
// far end that reads at full speed (a thread on the master side). Reports
// the time from the click until the far end has every byte, and the peak
// resident memory over the resident memory before the click.
// Goal: the peak no more than 1.1 x the file size (one copy of the file).
//
//   raw_send_bench [MiB]      (default 256)

#include "app/serial_dlg.h"
#include "bench/open_on_pty.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "ui_headless/headless_backend.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A field of /proc/self/status in KiB (VmRSS, VmHWM).
long StatusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

// The peak resident memory starts again from the current one.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t size = static_cast<std::size_t>(argc > 1 ? std::atoi(argv[1]) : 256) << 20;
    bench::WindowOnPty run;
    auto& pty = run.pty;
    auto& dir = run.dir;
    auto& ui = run.ui;
    auto& w = run.window();
    const std::string path = dir + "/image.bin";
    {
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 7 + i / 251);
        std::ofstream out(path, std::ios::binary);
        for (std::size_t written = 0; written < size; written += block.size())
            out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - written)));
    }

    w.Type(res::IDC_FILE_PATH, path);
    w.Choose(res::IDC_PROTOCOL, PROTO_NONE);

    std::atomic<std::size_t> received{0};
    std::thread farEnd([&] {
        std::vector<char> buffer(1 << 16);
        const auto giveUp = Clock::now() + std::chrono::minutes(5);
        while (received < size && Clock::now() < giveUp) {
            pollfd fd{pty.MasterFd(), POLLIN, 0};
            if (::poll(&fd, 1, 100) > 0) {
                const ssize_t got = ::read(pty.MasterFd(), buffer.data(), buffer.size());
                if (got > 0)
                    received += static_cast<std::size_t>(got);
            }
        }
    });

    ResetPeak();
    const long idleKiB = StatusKiB("VmRSS");
    const auto start = Clock::now();
    w.Click(res::IDC_SEND_FILE);
    farEnd.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long peakKiB = StatusKiB("VmHWM");

    const bool whole = received == size && ui.Boxes().empty();
    const double fileMiB = static_cast<double>(size) / (1 << 20);
    const double overMiB = static_cast<double>(peakKiB - idleKiB) / 1024;
    std::printf("raw send %.0f MiB: %.2f s (%.0f MiB/s), peak over idle %.1f MiB = %.3f x the file  %s\n", fileMiB,
                seconds, fileMiB / seconds, overMiB, overMiB / fileMiB, whole ? "whole" : "FAILED");
    w.PressEscape();
    std::filesystem::remove_all(dir);
    return whole ? 0 : 1;
}
