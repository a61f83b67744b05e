#include "app/serial_dlg.h"

#include "serial/baud_rates.h"
#include "serial/extra_ports.h"
#include "serial/line_tables.h"
#include "serial/port_names.h"
#include "settings/profile.h"
#include "transfer/file_sender.h"
#include "ui/backend.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Follows the port's name in the title bar while its device is away.
constexpr std::string_view kDeviceGoneNote = "(device gone, waiting for it to return)";

} // namespace

void CSerialDlg::OnOpenPort()
{
    if (m_pPort)
        return;
    m_pPort = std::make_unique<CComPort>(m_devices);
    const int portRow = m_cboPort.GetCurSel();
    m_pPort->m_strPort = portRow >= 0 ? m_cboPort.GetLBText(portRow) : std::string();

    // The list itself is read, not the member: a rate chosen while closed
    // counts. A list without a selection opens at the table's default row.
    if (const CComPort::OpenResult result = m_pPort->Open(serial::BaudRateAt(m_baudRates, m_cboBaud.GetCurSel()));
        !result.opened) {
        m_pPort.reset();
        if (!result.failure.empty())
            ui::AfxMessageBox(result.failure);
        return;
    }
    m_btnOpen.EnableWindow(false);
    UpdateData(true);
    m_pPort->m_dcb.ByteSize = serial::ByteSizeAt(m_nByteSizeIndex);
    m_pPort->m_dcb.StopBits = serial::StopBitsAt(m_nStopBitsIndex);
    m_pPort->m_dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    m_pPort->m_dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    m_pPort->m_dcb.fMarkNinthBit = NinthBitShown();
    m_ninthBit.decoder.Reset();
    m_pPort->ApplySettings();
    SetTimer(TIMER_POLL, kPollPeriodMs);
    WatchPortArrivals();
    ResetLineSignals();
}

void CSerialDlg::OnClosePort()
{
    if (!m_pPort)
        return;
    KillTimer(TIMER_POLL);
    KillTimer(TIMER_AUTOSEND);
    KillTimer(TIMER_XMODEM);
    KillTimer(TIMER_ARRIVALS);
    m_bArrivalsDeferred = false;
    EndBreak();     // a break under way ends with the port
    FlushDisplay(); // no poll comes after this one to show what is pending
    FlushCapture();
    // The sent counter grew when data was handed to the port; what the port
    // discarded unsent is taken back, so the counter ends at what left.
    if (const std::uint64_t discarded = m_pPort->Close(); discarded > 0) {
        m_nTxCount -= static_cast<std::uint32_t>(discarded);
        ShowTxCount();
    }
    m_pPort.reset();
    if (m_bDeviceGone) {
        m_bDeviceGone = false;
        ShowDeviceState();
    }
    m_btnOpen.EnableWindow(true);
    transfer::AbandonTransfer(m_send, *this);
    ResetLineSignals();
}

void CSerialDlg::ShowPortNotOpen()
{
    const int row = m_cboPort.GetCurSel();
    const std::string name = row >= 0 ? m_cboPort.GetLBText(row) : std::string();
    ui::AfxMessageBox("Port '" + name + "' not open");
}

// A changed line setting reaches an open port at once. A closed port gets
// baud rate, byte size and stop bits at the next opening; the parity only
// through this list while the port is open.

template <typename T>
int CSerialDlg::SetLineSetting(T DCB::*field, T value)
{
    if (!m_pPort)
        return 1;
    m_pPort->m_dcb.*field = value;
    return m_pPort->ApplySettings();
}

void CSerialDlg::OnSelChangeBaud()
{
    UpdateData(true);
    // A rate the driver refuses with a reason is said, as at opening.
    if (!SetLineSetting(&DCB::BaudRate, serial::BaudRateAt(m_baudRates, m_nBaudIndex)) && m_pPort)
        if (const std::string refusal = m_pPort->RefusalText(); !refusal.empty())
            ui::AfxMessageBox(refusal);
}

void CSerialDlg::OnSelChangeByteSize()
{
    UpdateData(true);
    SetLineSetting(&DCB::ByteSize, serial::ByteSizeAt(m_nByteSizeIndex));
}

void CSerialDlg::OnSelChangeParity()
{
    UpdateData(true);
    SetLineSetting(&DCB::Parity, serial::ParityAt(m_nParityIndex));
}

void CSerialDlg::OnSelChangeStopBits()
{
    UpdateData(true);
    SetLineSetting(&DCB::StopBits, serial::StopBitsAt(m_nStopBitsIndex));
}

void CSerialDlg::FillPortList()
{
    m_cboPort.ResetContent();
    // Paths listed by hand in the settings file join the ports found.
    const std::vector<std::string> extra =
        serial::ParseExtraPorts(settings::GetProfileString("PORTS", "extra", "", 0, m_strIniPath));
    for (const std::string& name : m_devices.ListPorts(extra))
        m_cboPort.AddString(serial::PortDisplayName(name));
    if (m_cboPort.GetCount() > 0)
        m_cboPort.SetCurSel(0);
    ShowPortDescription();
}

void CSerialDlg::OnSelChangePort()
{
    ShowPortDescription();
}

// With two adapters plugged in, their names alone do not tell which is
// which; the rows stay names, since the settings file stores a row.
void CSerialDlg::ShowPortDescription()
{
    const int row = m_cboPort.GetCurSel();
    const std::string path = row >= 0 ? serial::PortDevicePath(m_cboPort.GetLBText(row)) : std::string();
    m_cboPort.SetToolTip(path.empty() ? std::string() : serial::PortDescription(m_devices.DescribeHardware(path)));
}

std::intptr_t CSerialDlg::OnDeviceChange(std::uintptr_t event, std::intptr_t)
{
    if (event == ui::DBT_DEVICEARRIVAL || event == ui::DBT_DEVICEREMOVECOMPLETE) {
        // A lost port that has just come back opens before the list is
        // made, so the list finds it held open.
        WatchDevice();
        FillPortList();
        return 1;
    }
    return 0;
}

// The device of an open port can go away (an adapter pulled, a board that
// re-enumerates after a reset, a bridge that ended). The port stays open:
// writes are refused and not counted meanwhile, and the title bar says what
// happened instead of a message box, which would pile up on every tick.
// Called on every receive poll and on device-change messages, so a device
// that comes back under the same path is in use again within one poll.
void CSerialDlg::WatchDevice()
{
    if (!m_pPort)
        return;
    if (!m_bDeviceGone && !m_pPort->IsDeviceGone())
        return;
    // Reopening gives the device the line settings in force before the loss.
    const bool gone = m_pPort->Reopen() == 0;
    if (gone != m_bDeviceGone) {
        m_bDeviceGone = gone;
        ShowDeviceState();
    }
}

void CSerialDlg::ShowDeviceState()
{
    std::string title(Template().caption);
    if (m_bDeviceGone && m_pPort)
        title += " - " + m_pPort->m_strPort + " " + std::string(kDeviceGoneNote);
    if (m_capture.file)
        title += " - logging to " + m_capture.file->path();
    SetWindowText(title);
}
