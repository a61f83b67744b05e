// The port object against lines that misbehave, over real pseudo-terminals:
//  - Close while the far end never reads (time, settings restored);
//  - open/close cycles while the far end streams every byte value into a
//    terminal left in the kernel's cooked mode;
//  - the spacing of address and data bytes of addressed frames, on the
//    recording fake and on a pseudo-terminal;
//  - writes of a 1000-byte frame every 10 ms into a far end that never reads
//    (time of one Write, memory, and what arrives once it reads).
//
//   port_line_bench [open/close cycles]      (default 1000)

#include <algorithm>
#include <array>
#include <asm/termbits.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "fakes/fake_serial.h"
#include "fakes/pty_pair.h"
#include "serial/com_port.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Us(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Spread {
    double median = 0, worst = 0;
};

Spread SpreadOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

// The slave's settings as the far end sees them.
termios2 FarEndTermios(const fakes::PtyPair& pty)
{
    termios2 tio{};
    ::ioctl(pty.MasterFd(), TCGETS2, &tio);
    return tio;
}

bool CloseWithAStalledReader(int rounds)
{
    std::vector<double> times;
    int restored = 0;
    for (int round = 0; round < rounds; ++round) {
        fakes::PtyPair pty;
        CComPort port(serial::LinuxDeviceSystem());
        port.m_strPort = pty.SlavePath();
        if (!port.Open(9600))
            return false;
        port.m_dcb.StopBits = TWOSTOPBITS;
        port.SetBaudRate(19200);
        const Bytes stuck(40000, 0x55);
        port.Write(stuck.data(), static_cast<std::uint32_t>(stuck.size()));
        port.m_dcb.Parity = MARKPARITY;
        port.ApplySettings();
        const auto start = Clock::now();
        port.Close();
        times.push_back(Ms(Clock::now() - start));
        const termios2 after = FarEndTermios(pty);
        restored += after.c_ospeed == 9600 && !(after.c_cflag & (CSTOPB | PARENB)) ? 1 : 0;
    }
    const Spread s = SpreadOf(times);
    std::printf("Close, far end never reads:   median %.1f ms, worst %.1f ms over %d (goal < 500 ms)\n", s.median,
                s.worst, rounds);
    std::printf("  saved settings afterwards:  %d of %d\n", restored, rounds);
    return s.worst < 500 && restored == rounds;
}

// The far end streams 0x00..0xFF over and over and reads back the echo the
// cooked mode produces; before each opening the terminal is made cooked.
bool OpenWhileStreaming(int cycles)
{
    fakes::PtyPair pty;
    ::fcntl(pty.MasterFd(), F_SETFL, O_NONBLOCK);
    std::atomic<bool> stop{false};
    std::thread peer([&] {
        std::array<std::uint8_t, 256> all{};
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<std::uint8_t>(i);
        std::array<std::uint8_t, 512> echoed{};
        std::size_t at = 0;
        while (!stop) {
            pollfd fd{pty.MasterFd(), POLLOUT | POLLIN, 0};
            if (::poll(&fd, 1, 5) <= 0)
                continue;
            if (fd.revents & POLLIN) [[maybe_unused]]
                const auto ignored = ::read(pty.MasterFd(), echoed.data(), echoed.size());
            if (fd.revents & POLLOUT) {
                const ssize_t put = ::write(pty.MasterFd(), all.data() + at, all.size() - at);
                if (put > 0)
                    at = (at + static_cast<std::size_t>(put)) % all.size();
            }
        }
    });

    int opened = 0, unaltered = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        termios2 tio = FarEndTermios(pty);
        tio.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
        tio.c_iflag |= ICRNL;
        ::ioctl(pty.MasterFd(), TCSETS2, &tio);

        CComPort port(serial::LinuxDeviceSystem());
        port.m_strPort = pty.SlavePath();
        if (port.Open(115200) != 1)
            continue;
        ++opened;
        Bytes got;
        std::uint8_t buffer[128];
        const auto deadline = Clock::now() + 2s;
        while (got.size() < 512 && Clock::now() < deadline) {
            const std::int32_t n = port.Read(buffer, sizeof buffer);
            got.insert(got.end(), buffer, buffer + std::max(n, 0));
            if (n == 0)
                std::this_thread::sleep_for(1ms);
        }
        bool whole = got.size() >= 512 && !port.IsDeviceGone();
        for (std::size_t i = 1; whole && i < got.size(); ++i)
            whole = got[i] == static_cast<std::uint8_t>(got[i - 1] + 1);
        unaltered += whole ? 1 : 0;
        port.Close();
    }
    stop = true;
    peer.join();
    std::printf("open/close, far end streaming: %d of %d opened, %d read the stream unaltered\n", opened, cycles,
                unaltered);
    return opened == cycles && unaltered == cycles;
}

// One addressed frame the way the transmit path sends it.
void SendAddressed(CComPort& port, const Bytes& frame, std::size_t addressBytes)
{
    port.m_dcb.Parity = MARKPARITY;
    port.ApplySettings();
    port.Write(frame.data(), static_cast<std::uint32_t>(addressBytes));
    port.m_dcb.Parity = SPACEPARITY;
    port.ApplySettings();
    port.Write(frame.data() + addressBytes, static_cast<std::uint32_t>(frame.size() - addressBytes));
}

void AddressDataGapOnTheFake(int frames)
{
    fakes::FakeDeviceSystem devices;
    devices.AddPort("/dev/ttyS0");
    CComPort port(devices);
    port.m_strPort = "/dev/ttyS0";
    port.Open(9600);
    const Bytes frame{0x01, 0x48, 0x65};
    std::vector<double> gaps;
    for (int i = 0; i < frames; ++i) {
        devices.ClearLog();
        SendAddressed(port, frame, 1);
        const auto& log = devices.Log(); // SetState, Write, SetState, Write
        gaps.push_back(Us(log[3].at - log[1].at));
    }
    const Spread s = SpreadOf(gaps);
    std::printf("address/data gap, fake:        median %.1f us, worst %.1f us over %d frames\n", s.median, s.worst,
                frames);
}

// The far end timestamps every byte as it arrives; the gap is the time from
// the address byte to the first data byte.
void AddressDataGapOnAPty(int frames)
{
    fakes::PtyPair pty;
    CComPort port(serial::LinuxDeviceSystem());
    port.m_strPort = pty.SlavePath();
    port.Open(115200);
    const Bytes frame{0xA1, 0x10, 0x20, 0x30};
    std::vector<double> gaps;
    for (int i = 0; i < frames; ++i) {
        SendAddressed(port, frame, 1);
        Clock::time_point addressAt{}, dataAt{};
        std::size_t got = 0;
        const auto deadline = Clock::now() + 1s;
        while (got < frame.size() && Clock::now() < deadline) {
            pollfd fd{pty.MasterFd(), POLLIN, 0};
            if (::poll(&fd, 1, 100) <= 0)
                continue;
            std::uint8_t byte = 0;
            if (::read(pty.MasterFd(), &byte, 1) != 1)
                continue;
            const auto now = Clock::now();
            if (got == 0)
                addressAt = now;
            if (got == 1)
                dataAt = now;
            ++got;
        }
        if (got == frame.size())
            gaps.push_back(Us(dataAt - addressAt));
        std::this_thread::sleep_for(1ms);
    }
    const Spread s = SpreadOf(gaps);
    std::printf("address/data gap, pty:         median %.1f us, worst %.1f us over %zu frames\n", s.median, s.worst,
                gaps.size());
    std::printf("  (on a real line: one character time more, 1146 us at 9600 baud with parity)\n");
}

long PeakKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool WritesIntoAFarEndThatNeverReads(int seconds)
{
    fakes::PtyPair pty;
    CComPort port(serial::LinuxDeviceSystem());
    port.m_strPort = pty.SlavePath();
    port.Open(9600);
    const long before = PeakKilobytes();
    Bytes accepted;
    int refused = 0, writes = 0;
    std::vector<double> times;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    for (auto next = Clock::now(); next < end; next += 10ms) {
        std::this_thread::sleep_until(next);
        Bytes frame(1000);
        for (std::size_t i = 0; i < frame.size(); ++i)
            frame[i] = static_cast<std::uint8_t>(writes + i);
        const auto start = Clock::now();
        const int taken = port.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
        times.push_back(Us(Clock::now() - start));
        ++writes;
        if (taken)
            accepted.insert(accepted.end(), frame.begin(), frame.end());
        else
            ++refused;
    }
    const long grown = PeakKilobytes() - before;
    const Bytes arrived = pty.ReceiveAtFarEnd(accepted.size() + 1, 3s);
    port.Close();
    const Spread s = SpreadOf(times);
    std::printf("Write, far end never reads:    median %.1f us, worst %.1f us over %d writes (goal < 100 ms)\n",
                s.median, s.worst, writes);
    std::printf("  taken / refused:            %zu bytes in %d writes / %d writes\n", accepted.size(), writes - refused,
                refused);
    std::printf("  peak memory growth:         %ld KiB\n", grown);
    std::printf("  once the far end reads:     %zu bytes arrive, %s\n", arrived.size(),
                arrived == accepted ? "exactly those taken" : "NOT THOSE TAKEN");
    return arrived == accepted && s.worst < 100'000;
}

} // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    bool ok = CloseWithAStalledReader(20);
    ok = OpenWhileStreaming(cycles) && ok;
    AddressDataGapOnTheFake(1000);
    AddressDataGapOnAPty(500);
    ok = WritesIntoAFarEndThatNeverReads(3) && ok;
    std::printf("result:                        %s\n", ok ? "all goals met" : "GOALS MISSED");
    return ok ? 0 : 2;
}
