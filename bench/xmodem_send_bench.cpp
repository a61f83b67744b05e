// The window sending a file with XMODEM over a pseudo-terminal to a receiver
// that answers every packet at once (a thread playing the far end). The
// window runs on the headless back end, its user-interface thread served as
// an event loop would: posted messages as they come, the timers on time.
// Reports the transfer time per block, whether the receiver got the file
// whole, and the longest time one message held the user-interface thread.
// Goal: 64 KiB in 128-byte blocks in under 5 s (under 10 ms per block).
//
//   xmodem_send_bench [KiB]      (default 64)

#include "app/serial_dlg.h"
#include "bench/open_on_pty.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "transfer/block_check.h"
#include "transfer/xmodem_block.h"
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

struct Mode {
    const char* name;
    std::int32_t protocol;
    bool crc;
};

struct Result {
    bool whole = false;
    std::size_t blocks = 0;
    double seconds = 0;
    double longestMessageMs = 0;
};

// The far end: asks for the file, checks and acknowledges every packet at
// once, and collects the data fields.
std::vector<std::uint8_t> Receive(fakes::PtyPair& pty, const Mode& mode, std::size_t& blocks, bool& ok)
{
    std::vector<std::uint8_t> data;
    const std::uint8_t request = mode.crc ? transfer::kCrcRequest : transfer::kNak;
    std::vector<std::uint8_t> lead;
    for (int tries = 0; tries < 10 && lead.empty(); ++tries) {
        pty.SendFromFarEnd({request});
        lead = pty.ReceiveAtFarEnd(1, 1000ms);
    }
    std::uint8_t expected = 1;
    ok = true;
    while (!lead.empty()) {
        if (lead[0] == transfer::kEot) {
            pty.SendFromFarEnd({transfer::kAck});
            return data;
        }
        const std::size_t size = lead[0] == transfer::kStx ? 1024 : 128;
        const std::size_t rest = 2 + size + (mode.crc ? 2 : 1);
        const std::vector<std::uint8_t> body = pty.ReceiveAtFarEnd(rest, 5000ms);
        if (body.size() != rest || body[0] != expected || body[1] != 255 - expected) {
            ok = false;
            return data;
        }
        const std::uint8_t* field = body.data() + 2;
        const auto length = static_cast<std::int32_t>(size);
        const bool checked = mode.crc ? Crc16(field, length) == (body[2 + size] << 8 | body[3 + size])
                                      : Checksum8(field, length) == body[2 + size];
        if (!checked) {
            ok = false;
            return data;
        }
        data.insert(data.end(), field, field + size);
        ++expected;
        ++blocks;
        pty.SendFromFarEnd({transfer::kAck});
        lead = pty.ReceiveAtFarEnd(1, 5000ms);
    }
    ok = false;
    return data;
}

Result Run(const Mode& mode, std::size_t fileSize)
{
    bench::WindowOnPty run;
    auto& pty = run.pty;
    auto& dir = run.dir;
    auto& ui = run.ui;
    auto& dlg = run.dlg;
    auto& w = run.window();
    std::vector<std::uint8_t> file(fileSize);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    const std::string path = dir + "/image.bin";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

    w.Type(res::IDC_FILE_PATH, path);
    w.Choose(res::IDC_PROTOCOL, mode.protocol);

    Result result;
    bool ok = false;
    std::atomic<bool> done{false};
    std::vector<std::uint8_t> received;
    std::thread peer([&] {
        received = Receive(pty, mode, result.blocks, ok);
        done = true;
    });

    const auto start = Clock::now();
    w.Click(res::IDC_SEND_FILE);
    auto nextTick = start + std::chrono::milliseconds(kPollPeriodMs);
    const auto giveUp = start + 120s;
    auto busy = [&](auto&& work) {
        const auto t0 = Clock::now();
        work();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        result.longestMessageMs = std::max(result.longestMessageMs, ms);
    };
    while (!(done && dlg.m_send.m_nXState == XS_IDLE) && Clock::now() < giveUp) {
        const auto now = Clock::now();
        if (now >= nextTick) {
            busy([&] { ui.Advance(kPollPeriodMs); });
            nextTick += std::chrono::milliseconds(kPollPeriodMs);
            continue;
        }
        if (ui.WaitForPosted(std::chrono::duration_cast<std::chrono::microseconds>(nextTick - now)))
            busy([&] { ui.RunPosted(); });
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    peer.join();

    const std::size_t blockSize = mode.protocol == PROTO_XMODEM_1K ? 1024 : 128;
    std::vector<std::uint8_t> expected = file;
    expected.resize((fileSize + blockSize - 1) / blockSize * blockSize, transfer::kFillByte);
    result.whole = ok && received == expected && dlg.m_send.m_nXState == XS_IDLE && ui.Boxes().empty();
    w.PressEscape();
    std::filesystem::remove_all(dir);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t size = static_cast<std::size_t>(argc > 1 ? std::atoi(argv[1]) : 64) * 1024;
    const Mode modes[] = {
        {"Xmodem, CRC", PROTO_XMODEM, true},
        {"Xmodem, checksum", PROTO_XMODEM, false},
        {"1K Xmodem, CRC", PROTO_XMODEM_1K, true},
    };
    bool ok = true;
    for (const Mode& mode : modes) {
        const Result r = Run(mode, size);
        ok = ok && r.whole;
        const double perBlockMs = r.blocks ? r.seconds * 1000 / static_cast<double>(r.blocks) : 0;
        std::printf("%-17s %zu bytes  %5zu blocks  %.3f s  %.3f ms per block  %s  longest message %.2f ms\n", mode.name,
                    size, r.blocks, r.seconds, perBlockMs, r.whole ? "whole" : "FAILED", r.longestMessageMs);
    }
    return ok ? 0 : 1;
}
