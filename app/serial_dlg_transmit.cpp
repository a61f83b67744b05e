#include "app/serial_dlg.h"

#include "terminal/frame_plan.h"
#include "terminal/hex_parse.h"
#include "terminal/tx_text.h"

#include <cstdio>
#include <vector>

void CSerialDlg::SendTxData()
{
    UpdateData(true);
    if (m_strTxData.empty())
        return;
    const std::vector<std::uint8_t> frame =
        m_bTxAscii ? terminal::TxTextBytes(m_strTxData) : terminal::ParseHexBytes(m_strTxData);
    // A message box of another handler can be open while a tick arrives;
    // the port may have been closed under it.
    if (frame.empty() || !m_pPort)
        return;
    const terminal::FramePlan plan = terminal::PlanFrame(frame.size(), m_nAddrSize);
    if (!plan.send)
        return;

    const auto n = static_cast<std::uint32_t>(frame.size());
    const bool sent =
        plan.addressBytes == 0 ? m_pPort->Write(frame.data(), n) != 0 : SendAddressedFrame(frame, plan.addressBytes);
    if (sent) {
        m_nTxCount += n;
        char label[32];
        std::snprintf(label, sizeof label, "TX: %u", m_nTxCount);
        m_stcTxCount.SetWindowText(label);
    }
}

// The port drains the address bytes before the new parity applies, so each
// byte leaves the line with the parity it was written with. The port's
// queue refuses writes while the far end does not take them; a frame goes
// out only when the queue has room for all of it, so no address goes out
// without its data, nor data without its address. A write refused anyway
// (the device went away meanwhile) ends the frame: it is not counted.
bool CSerialDlg::SendAddressedFrame(const std::vector<std::uint8_t>& frame, std::size_t addressBytes)
{
    const auto n = static_cast<std::uint32_t>(frame.size());
    const auto a = static_cast<std::uint32_t>(addressBytes);
    if (!m_pPort->HasRoomFor(n))
        return false;
    m_pPort->m_dcb.Parity = MARKPARITY;
    m_pPort->ApplySettings();
    if (!m_pPort->Write(frame.data(), a))
        return false;
    m_pPort->m_dcb.Parity = SPACEPARITY;
    m_pPort->ApplySettings();
    return m_pPort->Write(frame.data() + a, n - a) != 0;
}

void CSerialDlg::OnSend()
{
    if (!m_pPort) {
        ShowPortNotOpen();
        return;
    }
    m_btnAutoSend.EnableWindow(false);
    m_btnSendFile.EnableWindow(false);
    SendTxData();
    m_btnAutoSend.EnableWindow(true);
    m_btnSendFile.EnableWindow(true);
}

void CSerialDlg::OnAutoSend()
{
    UpdateData(true);
    if (m_bAutoSend) {
        if (m_pPort) {
            SetTimer(TIMER_AUTOSEND, m_nTxCycle);
            m_btnSend.EnableWindow(false);
            m_btnSendFile.EnableWindow(false);
        } else {
            ShowPortNotOpen();
            m_bAutoSend = 0;
            UpdateData(false);
        }
    } else {
        KillTimer(TIMER_AUTOSEND);
        m_btnSend.EnableWindow(true);
        m_btnSendFile.EnableWindow(true);
    }
}

void CSerialDlg::OnClearTx()
{
    m_edtTx.SetSel(0, -1);
    m_edtTx.ScrollCaret();
    m_edtTx.ReplaceSel("");
}
