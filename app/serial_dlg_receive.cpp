#include "app/serial_dlg.h"

#include "terminal/rx_text.h"

#include <climits>
#include <cstdio>

namespace {

constexpr std::uint32_t kChunkSize = 128;
// One tick drains what has arrived, chunk by chunk, but at most this much,
// so the window stays responsive; the rest waits for the next tick. 512
// chunks are 64 KiB per 300 ms, more than a 921600 baud line carries.
constexpr int kMaxChunksPerTick = 512;

int Position(std::uint32_t chars)
{
    return chars > INT_MAX ? INT_MAX : static_cast<int>(chars);
}

} // namespace

void CSerialDlg::PollReceive()
{
    UpdateData(true);
    for (int i = 0; i < kMaxChunksPerTick && m_pPort; ++i) {
        std::uint8_t chunk[kChunkSize + 1];
        const std::int32_t n = m_pPort->Read(chunk, kChunkSize);
        if (n < 1)
            break;
        ReceiveChunk(chunk, static_cast<std::uint32_t>(n));
        if (static_cast<std::uint32_t>(n) < kChunkSize)
            break; // drained
    }
    FlushReceiveDisplay();
}

void CSerialDlg::ReceiveChunk(const std::uint8_t* chunk, std::uint32_t n)
{
    // The file sender may show a message box, in which further ticks are
    // served: what this tick has read so far goes to the box before that.
    if (m_nXState != XS_IDLE)
        FlushReceiveDisplay();
    HandleXmodemReply(chunk);
    m_nRxCount += n;
    m_rxPending.labelDirty = true;
    if (m_bPaused)
        return;

    const terminal::RxDisplay display = terminal::MakeRxDisplay(chunk, n, m_bRxAscii != 0);
    const auto limit = static_cast<std::uint32_t>(m_edtRx.GetLimitText());
    PendingReceive& p = m_rxPending;
    if (m_nRxShown + display.length > limit && m_bAutoClear) {
        m_nRxShown = 0;
        p.active = true;
        p.emptyFirst = true;
        p.start = 0;
        p.text.clear();
    }
    if (!p.active) {
        p.active = true;
        p.start = m_nRxShown;
    }
    // The box keeps at most `limit` characters; more text would be dropped.
    if (p.text.size() < 4 * static_cast<std::size_t>(limit) + 4)
        p.text += display.text;
    m_nRxShown += display.length;
}

void CSerialDlg::FlushReceiveDisplay()
{
    PendingReceive& p = m_rxPending;
    if (p.active) {
        if (p.emptyFirst) {
            m_edtRx.SetSel(0, -1);
            m_edtRx.ScrollCaret();
            m_edtRx.ReplaceSel("");
        }
        m_edtRx.SetSel(Position(p.start), -1);
        m_edtRx.ScrollCaret();
        m_edtRx.ReplaceSel(p.text);
    }
    if (p.labelDirty) {
        char label[32];
        std::snprintf(label, sizeof label, "RX: %u", m_nRxCount);
        m_stcRxCount.SetWindowText(label);
    }
    p = PendingReceive{};
}

void CSerialDlg::OnClearRx()
{
    m_nRxShown = 0;
    m_edtRx.SetSel(0, -1);
    m_edtRx.ScrollCaret();
    m_edtRx.ReplaceSel("");
}

void CSerialDlg::OnPause()
{
    m_bPaused = m_bPaused ? 0 : 1;
    m_btnPause.SetCheck(m_bPaused ? 1 : 0);
}

void CSerialDlg::OnClearCounters()
{
    m_nTxCount = 0;
    m_nRxCount = 0;
    m_stcTxCount.SetWindowText("TX: 0 bytes");
    m_stcRxCount.SetWindowText("RX: 0 bytes");
}
