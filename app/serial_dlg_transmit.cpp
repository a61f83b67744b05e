#include "app/serial_dlg.h"

#include "terminal/frame_plan.h"
#include "terminal/hex_parse.h"
#include "terminal/tx_text.h"
#include "transfer/send_messages.h"
#include "ui/backend.h"

#include <cstdio>
#include <vector>

void CSerialDlg::SendTxData()
{
    SendTxFrame();
}

// A frame goes to the port whole, or not at all when its queue still holds
// about two seconds of earlier sending; addressed frames go out by the
// port's own rule (address bytes MARK, data SPACE, never one without the
// other). Only what the port took is counted.
CSerialDlg::FrameOutcome CSerialDlg::SendTxFrame()
{
    UpdateData(true);
    if (m_strTxData.empty())
        return FrameOutcome::Nothing;
    const std::vector<std::uint8_t> frame =
        m_bTxAscii ? terminal::TxTextBytes(m_strTxData) : terminal::ParseHexBytes(m_strTxData);
    // A message box of another handler can be open while a tick arrives;
    // the port may have been closed under it.
    if (frame.empty() || !m_pPort)
        return FrameOutcome::Nothing;
    const terminal::FramePlan plan = terminal::PlanFrame(frame.size(), m_nAddrSize);
    if (!plan.send)
        return FrameOutcome::Nothing;

    const auto n = static_cast<std::uint32_t>(frame.size());
    const auto a = static_cast<std::uint32_t>(plan.addressBytes);
    const bool sent = a == 0 ? m_pPort->Write(frame.data(), n) != 0 : m_pPort->WriteFrame(frame.data(), n, a) != 0;
    if (!sent)
        return m_pPort->IsOutputFull() ? FrameOutcome::PortStillSending : FrameOutcome::Nothing;
    m_nTxCount += n;
    ShowTxCount();
    CaptureSentFrame(frame.data(), n, a);
    return FrameOutcome::Sent;
}

void CSerialDlg::ShowTxCount()
{
    char label[32];
    std::snprintf(label, sizeof label, "TX: %u", m_nTxCount);
    m_stcTxCount.SetWindowText(label);
    m_bTxCountChanged = false;
}

void CSerialDlg::OnSend()
{
    if (!m_pPort) {
        ShowPortNotOpen();
        return;
    }
    m_btnAutoSend.EnableWindow(false);
    m_btnSendFile.EnableWindow(false);
    const FrameOutcome outcome = SendTxFrame();
    m_btnAutoSend.EnableWindow(true);
    m_btnSendFile.EnableWindow(true);
    // Automatic transmission skips a refused tick silently; a click is told.
    if (outcome == FrameOutcome::PortStillSending)
        ui::AfxMessageBox(transfer::kPortStillSending);
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
    EmptyBox(m_edtTx);
}

void CSerialDlg::EmptyBox(ui::Edit& box)
{
    box.SetSel(0, -1);
    box.ScrollCaret();
    box.ReplaceSel("");
}
