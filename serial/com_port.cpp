#include "serial/com_port.h"

#include "serial/absent_device.h"
#include "serial/port_names.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kQueueSize = 128;
constexpr std::uint32_t kOpenReadTimeoutMs = 10;

std::string FormatOpenFailure(const std::string& port, const std::string& reason)
{
    const char* format = "Open '%s': Failed.\n%s";
    const int length = std::snprintf(nullptr, 0, format, port.c_str(), reason.c_str());
    std::vector<char> text(static_cast<std::size_t>(std::max(length, 0)) + 1);
    std::snprintf(text.data(), text.size(), format, port.c_str(), reason.c_str());
    return text.data();
}

// A port the user may not open: which group to join, and that the joining
// takes effect only in a new login session.
std::string AccessHint(const std::string& group)
{
    return "Members of the group '" + group + "' may use it: add yourself with 'sudo usermod -aG " + group +
           " $USER', then log out and in again.";
}

} // namespace

CComPort::CComPort(serial::DeviceSystem& system) : m_system(system)
{
}

CComPort::~CComPort()
{
    if (m_hComm)
        Close();
}

CComPort::OpenResult CComPort::Open(std::uint32_t baud)
{
    const std::string path = serial::PortDevicePath(m_strPort);
    auto device = m_system.Open(path);
    if (!device) {
        const base::Status status = device.status();
        std::string failure = FormatOpenFailure(m_strPort, status.words());
        if (status.code() == EACCES)
            if (const std::string group = m_system.AccessGroup(path); !group.empty())
                failure += "\n" + AccessHint(group);
        return {false, failure};
    }
    m_hComm = std::move(*device);
    const bool configured = SetupComm(kQueueSize, kQueueSize) && SetBaudRate(baud) && SetTimeouts(kOpenReadTimeoutMs);
    if (!configured) {
        // A driver that names its reason (a rate it cannot do) is heard.
        const std::string failure = RefusalText();
        m_hComm.reset();
        return {false, failure};
    }
    m_hComm->GetState(m_dcbSaved);
    return {true, {}};
}

std::uint64_t CComPort::Close()
{
    if (!m_hComm)
        return 0;
    m_hComm->NotifyArrival(nullptr);
    m_hComm->Release(m_dcbSaved);
    const std::uint64_t discarded = m_lostOutput + m_hComm->DiscardedOutput();
    m_hComm.reset();
    m_onArrival = nullptr;
    m_arrivalThreshold = 1;
    m_lostInput.clear();
    m_lostInputRead = 0;
    m_lostOutput = 0;
    return discarded;
}

bool CComPort::IsDeviceGone()
{
    return m_hComm && m_hComm->IsGone();
}

int CComPort::Reopen()
{
    if (!m_hComm)
        return 0;
    if (!m_hComm->IsGone())
        return 1;
    // What the lost device received is kept for Read; then the device goes,
    // so its lock does not stand in the way when the same node is still there.
    KeepLostInput();
    m_lostOutput += m_hComm->DiscardedOutput();
    m_hComm.reset();
    if (auto device = m_system.Open(serial::PortDevicePath(m_strPort)); device && (*device)->SetState(m_dcb)) {
        m_hComm = std::move(*device);
        m_hComm->SetArrivalThreshold(m_arrivalThreshold);
        m_hComm->NotifyArrival(m_onArrival);
        return 1;
    }
    m_hComm = std::make_unique<serial::AbsentDevice>();
    return 0;
}

void CComPort::NotifyArrival(std::function<void()> onArrival)
{
    m_onArrival = std::move(onArrival);
    if (m_hComm)
        m_hComm->NotifyArrival(m_onArrival);
}

void CComPort::SetArrivalThreshold(std::size_t bytes)
{
    m_arrivalThreshold = bytes;
    if (m_hComm)
        m_hComm->SetArrivalThreshold(bytes);
}

int CComPort::SetupComm(std::uint32_t, std::uint32_t)
{
    return 1;
}

int CComPort::SetTimeouts(std::uint32_t)
{
    return 1;
}

int CComPort::SetBaudRate(std::uint32_t baud)
{
    m_dcb.BaudRate = baud;
    return ApplySettings();
}

base::Status CComPort::SetModemLine(serial::ModemLine line, bool raised)
{
    if (!m_hComm || IsDeviceGone())
        return base::Status::FromErrno(m_strPort, ENODEV);
    return m_hComm->SetModemLine(line, raised).On(m_strPort);
}

base::Status CComPort::SetBreak(bool on)
{
    if (!m_hComm || IsDeviceGone())
        return base::Status::FromErrno(m_strPort, ENODEV);
    return m_hComm->SetBreak(on).On(m_strPort);
}

std::string CComPort::RefusalText()
{
    const base::Status refusal = m_hComm ? m_hComm->LastRefusal() : base::Status();
    return refusal.ok() || refusal.words().empty() ? std::string() : FormatOpenFailure(m_strPort, refusal.words());
}

int CComPort::ApplySettings()
{
    return m_hComm && m_hComm->SetState(m_dcb) ? 1 : 0;
}

int CComPort::Write(const std::uint8_t* data, std::uint32_t count)
{
    if (!m_hComm || count == 0 || m_hComm->IsGone())
        return 0;
    return m_hComm->Write(data, count) ? 1 : 0;
}

int CComPort::WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::uint32_t count)
{
    if (!m_hComm || count == 0 || !block || m_hComm->IsGone())
        return 0;
    return m_hComm->WriteShared(std::move(block), count) ? 1 : 0;
}

// The device applies each record only after the bytes before it have left
// the line, so every byte goes out with the parity it was written with.
int CComPort::WriteFrame(const std::uint8_t* frame, std::uint32_t count, std::uint32_t addressBytes)
{
    // A frame that cannot go leaves the settings alone.
    if (addressBytes == 0 || addressBytes >= count || !m_hComm || m_hComm->IsGone() || IsOutputFull())
        return 0;
    m_dcb.Parity = MARKPARITY;
    ApplySettings();
    if (!Write(frame, addressBytes))
        return 0;
    m_dcb.Parity = SPACEPARITY;
    ApplySettings();
    return m_hComm->WriteFollowing(frame + addressBytes, count - addressBytes) ? 1 : 0;
}

bool CComPort::IsOutputFull()
{
    return m_hComm && !m_hComm->IsGone() && m_hComm->OutputRoom() == 0;
}

std::int32_t CComPort::Read(std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_hComm)
        return -1;
    const std::uint32_t limit = std::min<std::uint32_t>(count, std::numeric_limits<std::int32_t>::max());
    if (m_lostInputRead < m_lostInput.size()) {
        const std::size_t n = std::min<std::size_t>(limit, m_lostInput.size() - m_lostInputRead);
        std::copy_n(m_lostInput.begin() + static_cast<std::ptrdiff_t>(m_lostInputRead), n, buffer);
        m_lostInputRead += n;
        if (m_lostInputRead == m_lostInput.size()) {
            m_lostInput.clear();
            m_lostInputRead = 0;
        }
        return static_cast<std::int32_t>(n);
    }
    return static_cast<std::int32_t>(m_hComm->Read(buffer, limit));
}

void CComPort::KeepLostInput()
{
    std::uint8_t block[4096];
    while (const std::size_t n = m_hComm->Read(block, sizeof block))
        m_lostInput.insert(m_lostInput.end(), block, block + n);
}
