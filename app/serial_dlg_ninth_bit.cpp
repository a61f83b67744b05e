#include "app/serial_dlg.h"

#include "res/resource_ids.h"
#include "settings/profile.h"
#include "ui/window_impl.h"

#include <cstdio>

// Address bytes received: on a multi-drop bus an address byte carries the
// ninth bit (the parity bit after 8 data bits) set. With "Show address
// bytes (ninth bit)" chosen and an Address Size of 1 or more, the port
// reads at SPACE parity with parity errors marked, so each address byte
// comes marked; the receive box and the text log start a line with it,
// "[01] 48 65 6C". Frames still go out MARK then SPACE; while the address
// bytes of one go out, received bytes are read unmarked.

void CSerialDlg::AddNinthBitMenu()
{
    m_ninthBit.chosen = settings::GetProfileString("DISPLAY", "address_bytes", "0", 0, m_strIniPath) == "1";
    Window()->AppendSystemMenuEntry(res::IDM_ADDRESS_BYTES, "Show address bytes (&ninth bit)", true, true);
}

bool CSerialDlg::NinthBitShown() const
{
    return m_ninthBit.chosen && m_nAddrSize >= 1;
}

bool CSerialDlg::OnNinthBitCommand(unsigned id)
{
    if (id != res::IDM_ADDRESS_BYTES)
        return false;
    if (m_nAddrSize < 1)
        return true; // offered only with an Address Size of 1 or more
    m_ninthBit.chosen = !m_ninthBit.chosen;
    settings::WriteProfileString("DISPLAY", "address_bytes", m_ninthBit.chosen ? "1" : "0", m_strIniPath);
    ApplyNinthBit();
    return true;
}

void CSerialDlg::OnSelChangeAddrSize()
{
    m_nAddrSize = m_cboAddrSize.GetCurSel();
    ApplyNinthBit();
}

void CSerialDlg::ApplyNinthBit()
{
    Window()->SetSystemMenuEntryState(res::IDM_ADDRESS_BYTES, m_nAddrSize >= 1, m_ninthBit.chosen);
    const bool shown = NinthBitShown();
    if (!m_pPort || m_pPort->m_dcb.fMarkNinthBit == shown)
        return;
    FlushCapture(); // what came before reads as it was received
    m_ninthBit.decoder.Reset();
    m_pPort->m_dcb.fMarkNinthBit = shown;
    m_pPort->ApplySettings();
}

void CSerialDlg::CaptureAddressByte(std::uint8_t byte)
{
    if (!m_capture.file)
        return;
    if (m_capture.text)
        m_capture.textLog.ReceivedAddress(byte, terminal::WallClock::now(), m_bRxAscii == 0, m_capture.pending);
    else
        m_capture.pending += static_cast<char>(byte);
}

void CSerialDlg::ShowAddressByte(std::uint8_t byte)
{
    const auto limit = static_cast<std::uint32_t>(m_edtRx.GetLimitText());
    const auto now = terminal::WallClock::now();
    // A line of its own: after a break unless the box is empty or a text
    // line has just ended.
    std::string text = m_nRxShown > 0 && !(m_bRxAscii && m_capture.atLineStart) ? "\r\n" : "";
    if (m_capture.timestamps)
        text += terminal::ScreenStamp(now);
    char mark[8];
    std::snprintf(mark, sizeof mark, "[%02X] ", byte);
    text += mark;
    m_rxBatch.AddText(text, static_cast<std::uint32_t>(text.size()), m_nRxShown, limit, m_bAutoClear != 0);
    m_capture.atLineStart = false;
    m_capture.lastShown = now;
}
