#pragma once

#include <chrono>
#include <concepts>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "serial/device.h"

namespace fakes {

// One thing a fake device was asked to do, in the order it was asked.
struct SerialEvent {
    enum class Kind { Open, SetState, Write, Close, Line, Break };
    Kind kind;
    std::string path;
    DCB dcb{};                                       // SetState: the record applied (or refused)
    std::vector<std::uint8_t> bytes;                 // Write: the bytes handed over
    bool accepted = true;                            // SetState, Write, Line, Break: what the device answered
    serial::ModemLine line = serial::ModemLine::Dtr; // Line: which
    bool raised = false;                             // Line: raised; Break: on
    std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now();
};

// Serial devices in memory, recording every call of every device in one
// ordered log. Single-threaded: hot-plug watchers are called synchronously.
class FakeDeviceSystem : public serial::DeviceSystem {
public:
    FakeDeviceSystem();
    ~FakeDeviceSystem() override;

    // A port that discovery finds.
    void AddPort(const std::string& path);
    // A device that opens but that discovery does not find (a pseudo-terminal):
    // listed only when named among the extra paths.
    void AddPseudoTerminal(const std::string& path);
    // Removing an open port makes it fail like an unplugged adapter.
    void RemovePort(const std::string& path);
    void FailOpen(const std::string& path, int errnoCode);
    // What DescribeHardware reports for the port.
    void SetHardware(const std::string& path, serial::PortHardware hardware);
    void RejectState(const std::string& path, std::function<bool(const DCB&)> reject);
    // A record RejectState refuses comes with this errno as the driver's
    // reason (0: none, the default).
    void GiveRefusalReason(const std::string& path, int error);
    // Modem lines and breaks on the port's devices fail with this errno
    // (0: they work), as a pseudo-terminal's do with ENOTTY.
    void FailLineSignals(const std::string& path, int error);
    // Refuses every record, or none (exactly bool: a lambda would convert).
    template <std::same_as<bool> Bool>
    void RejectState(const std::string& path, Bool reject)
    {
        RejectState(path, reject ? std::function<bool(const DCB&)>([](const DCB&) { return true; }) : nullptr);
    }
    void FailWrites(const std::string& path, bool failed = true);
    // A queue that stalls: writes are taken until room bytes have been taken
    // (the last one whole, as a real queue takes it), then refused. What
    // it took is never sent: Release discards it and reports it.
    void LimitOutput(const std::string& path, std::size_t room);

    // Bytes arriving from the far end, returned by later Reads.
    void Feed(const std::string& path, const std::vector<std::uint8_t>& bytes);

    const std::vector<SerialEvent>& Log() const;
    void ClearLog();
    std::vector<std::uint8_t> WrittenBytes(const std::string& path) const;
    bool IsOpen(const std::string& path) const;
    // The record in force on the device (the last one it accepted).
    DCB State(const std::string& path) const;

    void TriggerHotplug(std::uint32_t event);

    base::Result<std::unique_ptr<serial::Device>> Open(const std::string& path) override;
    std::vector<std::string> ListPorts(const std::vector<std::string>& extra) override;
    serial::PortHardware DescribeHardware(const std::string& path) override;
    std::unique_ptr<serial::HotplugWatch> WatchHotplug(std::function<void(std::uint32_t)> onChange) override;

    struct Port;

private:
    class FakeDevice;
    class FakeWatch;

    Port* Find(const std::string& path);
    const Port* Find(const std::string& path) const;

    std::vector<std::unique_ptr<Port>> m_ports; // in the order they were added
    std::vector<SerialEvent> m_log;
    std::map<int, std::function<void(std::uint32_t)>> m_watchers;
    int m_nextWatcherId = 0;
};

} // namespace fakes
