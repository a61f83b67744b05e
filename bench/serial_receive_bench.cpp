// Receives through the port object from a pseudo-terminal whose far end
// writes as fast as it can, polling the way the window's receive timer does
// but every few milliseconds. Reports whether every byte arrived, in order,
// and how long the user-interface thread spends in one Read.
//
//   serial_receive_bench [seconds]      (default 10)

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <vector>

#include "fakes/pty_pair.h"
#include "serial/com_port.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The byte at a position of the stream, a sequence that is not periodic in
// any chunk size the layers use, so a lost or repeated chunk shows.
std::uint8_t StreamByte(std::uint64_t position)
{
    return static_cast<std::uint8_t>(position ^ (position >> 8) ^ (position >> 16));
}

double Microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;

    fakes::PtyPair pty;
    CComPort port(serial::LinuxDeviceSystem());
    port.m_strPort = pty.SlavePath();
    if (!port.Open(115200))
        return 1;

    std::atomic<std::uint64_t> sent{0};
    std::atomic<bool> writing{true};
    std::thread farEnd([&] {
        std::vector<std::uint8_t> chunk(4096);
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        std::uint64_t position = 0;
        while (Clock::now() < end) {
            for (auto& byte : chunk)
                byte = StreamByte(position++);
            pty.SendFromFarEnd(chunk);
            sent += chunk.size();
        }
        writing = false;
    });

    std::uint64_t received = 0, misplaced = 0, reads = 0, emptyReads = 0;
    auto longestEmpty = Clock::duration::zero(), longestAny = Clock::duration::zero();
    std::uint8_t buffer[128];
    auto lastArrival = Clock::now();
    // Poll every couple of ms while the far end writes; afterwards drain what
    // is buffered, and stop once nothing has come for a second.
    while (writing || Clock::now() - lastArrival < 1s) {
        const auto start = Clock::now();
        const std::int32_t n = port.Read(buffer, sizeof buffer);
        const auto spent = Clock::now() - start;
        ++reads;
        longestAny = std::max(longestAny, spent);
        if (n <= 0) {
            ++emptyReads;
            longestEmpty = std::max(longestEmpty, spent);
            std::this_thread::sleep_for(2ms);
            continue;
        }
        lastArrival = Clock::now();
        for (std::int32_t i = 0; i < n; ++i)
            misplaced += buffer[i] != StreamByte(received + static_cast<std::uint64_t>(i));
        received += static_cast<std::uint64_t>(n);
        if (writing)
            std::this_thread::sleep_for(2ms);
    }
    farEnd.join();
    port.Close();

    std::printf("seconds of sending:         %d\n", seconds);
    std::printf("bytes sent:                 %llu\n", static_cast<unsigned long long>(sent.load()));
    std::printf("bytes received:             %llu\n", static_cast<unsigned long long>(received));
    std::printf("bytes out of order:         %llu\n", static_cast<unsigned long long>(misplaced));
    std::printf("reads (empty):              %llu (%llu)\n", static_cast<unsigned long long>(reads),
                static_cast<unsigned long long>(emptyReads));
    std::printf("longest empty Read:         %.1f us (goal < 1000 us)\n", Microseconds(longestEmpty));
    std::printf("longest Read of any kind:   %.1f us\n", Microseconds(longestAny));
    const bool whole = sent.load() == received && misplaced == 0;
    std::printf("result:                     %s\n", whole ? "every byte arrived in order" : "BYTES LOST OR DISORDERED");
    return whole ? 0 : 2;
}
