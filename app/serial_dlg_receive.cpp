#include "app/serial_dlg.h"

#include "terminal/receive_batch.h"
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
    if (m_send.m_nXState != XS_IDLE)
        FlushReceiveDisplay();
    HandleXmodemReply(chunk);
    m_nRxCount += n;
    m_bRxCountChanged = true;
    if (m_bPaused)
        return;

    const terminal::RxDisplay display = terminal::MakeRxDisplay(chunk, n, m_bRxAscii != 0);
    m_rxBatch.Add(display, m_nRxShown, static_cast<std::uint32_t>(m_edtRx.GetLimitText()), m_bAutoClear != 0);
}

void CSerialDlg::FlushReceiveDisplay()
{
    if (auto edit = m_rxBatch.Take()) {
        if (edit->emptyFirst) {
            m_edtRx.SetSel(0, -1);
            m_edtRx.ScrollCaret();
            m_edtRx.ReplaceSel("");
        }
        m_edtRx.SetSel(Position(edit->start), -1);
        m_edtRx.ScrollCaret();
        m_edtRx.ReplaceSel(edit->text);
    }
    if (m_bRxCountChanged) {
        char label[32];
        std::snprintf(label, sizeof label, "RX: %u", m_nRxCount);
        m_stcRxCount.SetWindowText(label);
        m_bRxCountChanged = false;
    }
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
