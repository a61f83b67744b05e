// Drives a COM port through the Windows device layer for a test on the far
// end (wine_com_port_test.py). Each step applies line settings, then sends
// a marker the far end sees only once the settings are in force, and waits
// for the far end's answer.
//   com_port_probe COM5
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "windows/windows_device_system.h"

namespace {

using namespace std::chrono_literals;

// The bytes that arrive within the time, until `want` of them are in.
std::string Receive(serial::Device& device, std::size_t want, std::chrono::milliseconds within = 5000ms)
{
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
        std::uint8_t buffer[4096];
        const std::size_t n = device.Read(buffer, std::min(sizeof buffer, want - got.size()));
        got.append(reinterpret_cast<const char*>(buffer), n);
        if (n == 0)
            std::this_thread::sleep_for(5ms);
    }
    return got;
}

bool Step(serial::Device& device, const DCB& dcb, const std::string& marker, const std::string& answer)
{
    if (!device.SetState(dcb)) {
        std::printf("SetState refused before %s\n", marker.c_str());
        return false;
    }
    device.Write(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size());
    const std::string got = Receive(device, answer.size());
    if (got != answer) {
        std::printf("after %s: expected %zu bytes from the far end, got %zu\n", marker.c_str(), answer.size(),
                    got.size());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string port = argc > 1 ? argv[1] : "COM5";
    win32_com::WindowsDevices devices;
    std::printf("ports:");
    for (const std::string& name : devices.ListPorts({port}))
        std::printf(" %s", name.c_str());
    std::printf("\n");

    auto opened = devices.Open(port);
    if (!opened) {
        std::printf("open %s failed: %s\n", port.c_str(), opened.status().words().c_str());
        return 1;
    }
    std::unique_ptr<serial::Device> device = std::move(*opened);
    DCB original;
    device->GetState(original);
    DCB dcb;
    dcb.BaudRate = 115200;
    const std::string ping("ping\0\xff\r\n", 8);
    bool ok = Step(*device, dcb, "S1:115200", ping);
    // Rates beyond the classic list go to the driver as numbers; the marker
    // tells the far end whether Wine took them.
    for (const std::uint32_t rate : {1500000u, 250000u}) {
        dcb.BaudRate = rate;
        const bool taken = device->SetState(dcb);
        const std::string marker = "R:" + std::to_string(rate) + (taken ? ":taken" : ":refused") + ";";
        device->Write(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size());
        ok = ok && Receive(*device, 1) == "k";
    }
    dcb.BaudRate = 9600;
    ok = ok && Step(*device, dcb, "S2:9600", "k");
    dcb.fParity = true;
    dcb.Parity = MARKPARITY;
    ok = ok && Step(*device, dcb, "S3:mark", "k");
    dcb.Parity = SPACEPARITY;
    ok = ok && Step(*device, dcb, "S4:space", "k");

    // 2 MiB from the far end at full speed, every byte in order.
    constexpr std::size_t kBulk = 2u << 20;
    std::string bulk(kBulk, '\0');
    for (std::size_t i = 0; i < kBulk; ++i)
        bulk[i] = static_cast<char>(i % 251);
    const auto start = std::chrono::steady_clock::now();
    if (ok) {
        device->Write(reinterpret_cast<const std::uint8_t*>("S5:bulk"), 7);
        const std::string got = Receive(*device, kBulk, 60000ms);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ok = got == bulk;
        std::printf("received %zu of %zu bytes%s in %.2f s\n", got.size(), kBulk, ok ? ", all in order," : "", seconds);
    }
    device->Release(original);
    device.reset();
    if (!ok)
        return 1;

    // Released: the port opens again at once.
    auto again = devices.Open(port);
    if (!again) {
        std::printf("reopen %s failed: %s\n", port.c_str(), again.status().words().c_str());
        return 1;
    }
    (*again)->Release(original);
    std::printf("released and reopened\n");
    const auto missing = devices.Open("COM255");
    std::printf("no such port: %s\n", missing ? "opened?" : missing.status().words().c_str());
    return 0;
}
