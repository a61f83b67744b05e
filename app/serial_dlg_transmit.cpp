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
    int sent;
    if (plan.addressBytes == 0) {
        sent = m_pPort->Write(frame.data(), n);
    } else {
        const auto a = static_cast<std::uint32_t>(plan.addressBytes);
        // The port drains the address bytes before the new parity applies,
        // so each byte leaves the line with the parity it was written with.
        m_pPort->m_dcb.Parity = MARKPARITY;
        m_pPort->ApplySettings();
        m_pPort->Write(frame.data(), a);
        m_pPort->m_dcb.Parity = SPACEPARITY;
        m_pPort->ApplySettings();
        sent = m_pPort->Write(frame.data() + a, n - a);
    }
    if (sent) {
        m_nTxCount += n;
        char label[32];
        std::snprintf(label, sizeof label, "TX: %u", m_nTxCount);
        m_stcTxCount.SetWindowText(label);
    }
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
