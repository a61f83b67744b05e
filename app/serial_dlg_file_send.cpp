#include "app/serial_dlg.h"

#include "transfer/file_sender.h"
#include "transfer/send_messages.h"
#include "ui/backend.h"

#include <climits>
#include <cstdio>

// Choosing and sending a file. The sender itself is transfer::'s logic over
// m_send; the window hands it the user's actions, the replies read by the
// receive poll and the response timer's expiry, and carries out what it
// asks for through the SenderHost members below.

void CSerialDlg::OnBrowseFile()
{
    // Several files chosen give their folder, which cannot be sent.
    const std::optional<std::string> chosen = ui::CurrentBackend().ChooseFileToOpen("");
    if (!chosen)
        return;
    UpdateData(true);
    m_strFilePath = *chosen;
    if (!m_strFilePath.empty())
        UpdateData(false);
}

void CSerialDlg::OnSendFile()
{
    UpdateData(true);
    if (m_strFilePath.empty()) {
        ui::AfxMessageBox(transfer::kNoFileSpecified);
        return;
    }
    if (!m_pPort) {
        ShowPortNotOpen();
        return;
    }
    // The button is disabled while a send runs; the buffer of a running
    // transfer is never replaced.
    if (m_send.m_nXState != XS_IDLE)
        return;
    // The path goes to the system byte for byte, as the field holds it.
    if (!transfer::LoadFileToSend(m_send, m_strFilePath.c_str())) {
        ui::AfxMessageBox(transfer::kFileLoadingFailed);
        return;
    }
    CaptureSentFile(m_strFilePath, m_send.m_nFileSize, m_cboProtocol.GetLBText(m_nProtocol));
    transfer::StartSend(m_send, *this, m_nProtocol);
}

void CSerialDlg::HandleXmodemReply(const std::uint8_t* reply, std::uint32_t count)
{
    transfer::HandleReplies(m_send, *this, reply, count);
}

bool CSerialDlg::WritePort(const std::uint8_t* data, std::uint32_t length)
{
    return m_pPort && m_pPort->Write(data, length) != 0;
}

bool CSerialDlg::WritePortShared(std::shared_ptr<const std::uint8_t[]> block, std::uint32_t length)
{
    return m_pPort && m_pPort->WriteShared(std::move(block), length) != 0;
}

bool CSerialDlg::PortStillSending()
{
    return m_pPort && m_pPort->IsOutputFull();
}

// While the sender waits for a reply, its first byte is read at once.
void CSerialDlg::StartResponseTimer()
{
    SetTimer(TIMER_XMODEM, transfer::kResponseTimeoutMs);
    if (m_pPort)
        m_pPort->SetArrivalThreshold(1);
}

void CSerialDlg::StopResponseTimer()
{
    KillTimer(TIMER_XMODEM);
    if (m_pPort)
        m_pPort->SetArrivalThreshold(kReadOnArrivalBytes);
}

// Each change of the bar or a label costs the window a layout at its next
// frame; a transfer makes one per packet. So the bar is touched only when
// its position changes, and during a transfer the counter's label follows
// at the display's pace (the poll timer) rather than at every packet.
void CSerialDlg::SetProgress(std::uint32_t position)
{
    const int pos = position > INT_MAX ? INT_MAX : static_cast<int>(position);
    if (pos != m_ctlProgress.GetPos())
        m_ctlProgress.SetPos(pos);
}

void CSerialDlg::AddToSentCount(std::uint32_t bytes)
{
    m_nTxCount += bytes;
    if (m_send.m_nXState != XS_IDLE)
        m_bTxCountChanged = true;
    else
        ShowTxCount();
}

void CSerialDlg::SetSendControlsEnabled(bool enabled)
{
    m_btnAutoSend.EnableWindow(enabled);
    m_btnSend.EnableWindow(enabled);
    m_btnSendFile.EnableWindow(enabled);
}

// Further polls are served while the box is open: what has been read so far
// is shown before it, and their chunks after that.
void CSerialDlg::ShowMessage(const char* text)
{
    FlushDisplay();
    ui::AfxMessageBox(text);
}

void CSerialDlg::Pause(std::uint32_t ms)
{
    ui::CurrentBackend().Sleep(ms);
}
