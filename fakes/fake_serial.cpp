#include "fakes/fake_serial.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <limits>
#include <optional>

namespace fakes {

struct FakeDeviceSystem::Port {
    std::string path;
    bool present = true;
    int removals = 0; // a device opened before a removal stays gone
    bool discoverable = true;
    bool open = false;
    bool writesFail = false;
    std::optional<std::size_t> outputRoom; // bytes still taken, when limited
    int openError = 0;
    serial::PortHardware hardware;
    std::function<bool(const DCB&)> rejectState;
    int lineError = 0;    // the errno modem lines and breaks fail with; 0: they work
    int refusalError = 0; // the errno a rejected record is refused with; 0: no reason
    bool lastRefused = false;
    DCB state{};
    std::deque<std::uint8_t> incoming;
    std::vector<std::uint8_t> written;
    std::function<void()> onArrival; // from the open device's reader
};

class FakeDeviceSystem::FakeDevice : public serial::Device {
public:
    FakeDevice(FakeDeviceSystem& system, Port& port) : m_system(system), m_port(port), m_removals(port.removals) {}

    ~FakeDevice() override
    {
        // A lost device's unread input goes with it, as a real one's buffer does.
        if (IsGone())
            m_port.incoming.clear();
        m_port.onArrival = nullptr;
        m_port.open = false;
        m_system.m_log.push_back({SerialEvent::Kind::Close, m_port.path, {}, {}, true});
    }

    bool SetState(const DCB& dcb) override
    {
        const bool accepted = !IsGone() && !(m_port.rejectState && m_port.rejectState(dcb));
        if (accepted)
            m_port.state = dcb;
        m_port.lastRefused = !accepted;
        m_system.m_log.push_back({SerialEvent::Kind::SetState, m_port.path, dcb, {}, accepted});
        return accepted;
    }

    bool GetState(DCB& dcb) override
    {
        if (IsGone())
            return false;
        dcb = m_port.state;
        return true;
    }

    bool Write(const std::uint8_t* data, std::size_t count) override
    {
        return Take(data, count, !m_port.writesFail && OutputRoom() > 0);
    }

    bool WriteFollowing(const std::uint8_t* data, std::size_t count) override
    {
        return Take(data, count, !IsGone() && !m_port.writesFail);
    }

    std::size_t OutputRoom() override
    {
        // A failing device is not a full one: the room stays what it was.
        if (IsGone())
            return 0;
        return m_port.outputRoom.value_or(std::numeric_limits<std::size_t>::max());
    }

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override
    {
        const std::size_t n = std::min(count, m_port.incoming.size());
        std::copy_n(m_port.incoming.begin(), n, buffer);
        m_port.incoming.erase(m_port.incoming.begin(), m_port.incoming.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }

    // Logged as the SetState of the restored record; the Close follows
    // when the device object is destroyed. What a stalled queue still holds
    // is discarded.
    void Release(const DCB& restore) override
    {
        if (m_released)
            return;
        m_released = true;
        m_discarded += m_held;
        m_held = 0;
        SetState(restore);
    }

    std::uint64_t DiscardedOutput() override { return m_discarded; }

    bool IsGone() override { return !m_port.present || m_port.removals != m_removals; }

    base::Status LastRefusal() override
    {
        return m_port.lastRefused && m_port.refusalError != 0 ? base::Status::FromErrno({}, m_port.refusalError)
                                                              : base::Status();
    }

    base::Status SetModemLine(serial::ModemLine line, bool raised) override
    {
        SerialEvent event{SerialEvent::Kind::Line, m_port.path, {}, {}, m_port.lineError == 0};
        event.line = line;
        event.raised = raised;
        m_system.m_log.push_back(event);
        return LineOutcome();
    }

    base::Status SetBreak(bool on) override
    {
        SerialEvent event{SerialEvent::Kind::Break, m_port.path, {}, {}, m_port.lineError == 0};
        event.raised = on;
        m_system.m_log.push_back(event);
        return LineOutcome();
    }

    void NotifyArrival(std::function<void()> onArrival) override { m_port.onArrival = std::move(onArrival); }

private:
    base::Status LineOutcome() const
    {
        return m_port.lineError == 0 ? base::Status::Ok() : base::Status::FromErrno({}, m_port.lineError);
    }

    // Logs the write; bytes taken while the queue is limited stay in it.
    bool Take(const std::uint8_t* data, std::size_t count, bool accepted)
    {
        std::vector<std::uint8_t> bytes(data, data + count);
        if (accepted) {
            m_port.written.insert(m_port.written.end(), bytes.begin(), bytes.end());
            if (m_port.outputRoom) {
                *m_port.outputRoom -= std::min(*m_port.outputRoom, count);
                m_held += count;
            }
        }
        m_system.m_log.push_back({SerialEvent::Kind::Write, m_port.path, {}, std::move(bytes), accepted});
        return accepted;
    }

    FakeDeviceSystem& m_system;
    Port& m_port;
    const int m_removals;
    bool m_released = false;
    std::uint64_t m_held = 0; // taken while the queue stalls: never sent
    std::uint64_t m_discarded = 0;
};

class FakeDeviceSystem::FakeWatch : public serial::HotplugWatch {
public:
    FakeWatch(FakeDeviceSystem& system, int id) : m_system(system), m_id(id) {}
    ~FakeWatch() override { m_system.m_watchers.erase(m_id); }

private:
    FakeDeviceSystem& m_system;
    int m_id;
};

FakeDeviceSystem::FakeDeviceSystem() = default;
FakeDeviceSystem::~FakeDeviceSystem() = default;

FakeDeviceSystem::Port* FakeDeviceSystem::Find(const std::string& path)
{
    for (auto& port : m_ports)
        if (port->path == path)
            return port.get();
    return nullptr;
}

const FakeDeviceSystem::Port* FakeDeviceSystem::Find(const std::string& path) const
{
    return const_cast<FakeDeviceSystem*>(this)->Find(path);
}

void FakeDeviceSystem::AddPort(const std::string& path)
{
    if (Port* port = Find(path)) {
        port->present = true;
        return;
    }
    auto port = std::make_unique<Port>();
    port->path = path;
    m_ports.push_back(std::move(port));
}

void FakeDeviceSystem::AddPseudoTerminal(const std::string& path)
{
    AddPort(path);
    Find(path)->discoverable = false;
}

void FakeDeviceSystem::RemovePort(const std::string& path)
{
    // The record stays while a device object may still refer to it.
    if (Port* port = Find(path)) {
        port->present = false;
        ++port->removals;
    }
}

void FakeDeviceSystem::FailOpen(const std::string& path, int errnoCode)
{
    AddPort(path);
    Find(path)->openError = errnoCode;
}

void FakeDeviceSystem::SetHardware(const std::string& path, serial::PortHardware hardware)
{
    AddPort(path);
    Find(path)->hardware = std::move(hardware);
}

void FakeDeviceSystem::RejectState(const std::string& path, std::function<bool(const DCB&)> reject)
{
    AddPort(path);
    Find(path)->rejectState = std::move(reject);
}

void FakeDeviceSystem::GiveRefusalReason(const std::string& path, int error)
{
    AddPort(path);
    Find(path)->refusalError = error;
}

void FakeDeviceSystem::FailLineSignals(const std::string& path, int error)
{
    AddPort(path);
    Find(path)->lineError = error;
}

void FakeDeviceSystem::FailWrites(const std::string& path, bool failed)
{
    AddPort(path);
    Find(path)->writesFail = failed;
}

void FakeDeviceSystem::LimitOutput(const std::string& path, std::size_t room)
{
    Find(path)->outputRoom = room;
}

void FakeDeviceSystem::Feed(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    AddPort(path);
    auto& incoming = Find(path)->incoming;
    incoming.insert(incoming.end(), bytes.begin(), bytes.end());
    if (auto& tell = Find(path)->onArrival; tell && !bytes.empty())
        tell();
}

const std::vector<SerialEvent>& FakeDeviceSystem::Log() const
{
    return m_log;
}

void FakeDeviceSystem::ClearLog()
{
    m_log.clear();
}

std::vector<std::uint8_t> FakeDeviceSystem::WrittenBytes(const std::string& path) const
{
    const Port* port = Find(path);
    return port ? port->written : std::vector<std::uint8_t>{};
}

bool FakeDeviceSystem::IsOpen(const std::string& path) const
{
    const Port* port = Find(path);
    return port && port->open;
}

DCB FakeDeviceSystem::State(const std::string& path) const
{
    const Port* port = Find(path);
    return port ? port->state : DCB{};
}

void FakeDeviceSystem::TriggerHotplug(std::uint32_t event)
{
    // Copied so a watcher may stop watching from inside its callback.
    const auto watchers = m_watchers;
    for (const auto& [id, onChange] : watchers)
        onChange(event);
}

base::Result<std::unique_ptr<serial::Device>> FakeDeviceSystem::Open(const std::string& path)
{
    Port* port = Find(path);
    int error = 0;
    if (!port || !port->present)
        error = ENOENT;
    else if (port->openError != 0)
        error = port->openError;
    else if (port->open)
        error = EBUSY;
    if (error != 0)
        return base::Status::FromErrno(path, error);
    port->open = true;
    m_log.push_back({SerialEvent::Kind::Open, path, {}, {}, true});
    return std::unique_ptr<serial::Device>(std::make_unique<FakeDevice>(*this, *port));
}

serial::PortHardware FakeDeviceSystem::DescribeHardware(const std::string& path)
{
    const Port* port = Find(path);
    return port && port->present ? port->hardware : serial::PortHardware{};
}

std::vector<std::string> FakeDeviceSystem::ListPorts(const std::vector<std::string>& extra)
{
    std::vector<std::string> list;
    for (const auto& port : m_ports)
        if (port->present && port->discoverable)
            list.push_back(port->path);
    for (const auto& path : extra) {
        const Port* port = Find(path);
        if (port && port->present && std::find(list.begin(), list.end(), path) == list.end())
            list.push_back(path);
    }
    return list;
}

std::unique_ptr<serial::HotplugWatch> FakeDeviceSystem::WatchHotplug(std::function<void(std::uint32_t)> onChange)
{
    const int id = m_nextWatcherId++;
    m_watchers.emplace(id, std::move(onChange));
    return std::make_unique<FakeWatch>(*this, id);
}

} // namespace fakes
