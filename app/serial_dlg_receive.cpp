#include "app/serial_dlg.h"

#include "terminal/chunk_queue.h"
#include "res/resource_ids.h"
#include "terminal/receive_batch.h"
#include "ui/data_exchange.h"

#include <chrono>
#include <climits>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kChunkSize = terminal::ChunkQueue::kChunkSize;
// A read drains everything that has arrived. Should that hold the window
// longer than this (a line faster than the program), the rest waits in the
// port's buffer for the next arrival message or tick.
constexpr auto kTickBudget = std::chrono::milliseconds(10);

int Position(std::uint32_t chars)
{
    return chars > INT_MAX ? INT_MAX : static_cast<int>(chars);
}

} // namespace

void CSerialDlg::WatchPortArrivals()
{
    // Called on the port's reader thread: only a message is posted, and it
    // is dropped if the window has gone by the time it is served.
    if (!m_pPort)
        return;
    m_pPort->SetArrivalThreshold(m_send.m_nXState != XS_IDLE ? 1 : kReadOnArrivalBytes);
    // One message waits at a time: the reader posts again once the window
    // has begun to serve it.
    m_arrivalPosted = false;
    m_pPort->NotifyArrival([this] {
        if (!m_arrivalPosted.exchange(true))
            PostMessage(ui::Message{ui::Msg::App});
    });
}

void CSerialDlg::OnPortDataArrived()
{
    if (m_bArrivalsDeferred)
        return; // the arrivals timer reads next
    m_arrivalPosted = false;
    // A port closed since the message was posted has nothing to read.
    if (m_pPort && PollOnArrival() == Drain::CutShort)
        DeferArrivals();
}

// A line faster than the window (a text log at a pseudo-terminal's full
// speed) cuts reads short at their time budget. Were the reader to post
// again meanwhile, the event loop would serve those messages back to back,
// before it draws or takes input. So after a read cut short, posting stays
// off and a one-shot timer, which the event loop serves after what waits
// for it, goes on with the read.
void CSerialDlg::DeferArrivals()
{
    m_arrivalPosted = true;
    m_bArrivalsDeferred = true;
    SetTimer(TIMER_ARRIVALS, 1);
}

void CSerialDlg::OnArrivalsResumed()
{
    KillTimer(TIMER_ARRIVALS);
    m_bArrivalsDeferred = false;
    OnPortDataArrived();
}

// The port is read as bytes arrive (the port's arrival message), so its
// buffer never fills however fast the line, and a transfer's reply is acted
// on at once; the receive box and the counters follow only at the poll
// timer's tick (each change of them costs the window a layout). A read on
// arrival comes up to once per block the port's reader takes, so it must
// cost next to nothing: it refreshes only the fields it uses (the whole
// exchange would read the transmit box, which can hold megabytes).
void CSerialDlg::PollReceive()
{
    if (m_send.m_nXState != XS_IDLE)
        ExchangePollFields();
    else
        UpdateData(true);
    // While a read cut short goes on at the arrivals timer, the tick leaves
    // it to that timer and only shows.
    if (!m_bArrivalsDeferred && DrainPort() == Drain::CutShort)
        DeferArrivals();
    FlushDisplay();
    FlushCapture();
}

CSerialDlg::Drain CSerialDlg::PollOnArrival()
{
    ExchangePollFields();
    return DrainPort();
}

void CSerialDlg::ExchangePollFields()
{
    ui::DataExchange dx(*this, true);
    ui::DDX_Check(dx, res::IDC_AUTO_CLEAR, m_bAutoClear);
    ui::DDX_Check(dx, res::IDC_RX_ASCII, m_bRxAscii);
}

CSerialDlg::Drain CSerialDlg::DrainPort()
{
    // The port is read a block at a time and the block handed on chunk by
    // chunk, just as chunk-sized reads of the same bytes would have been.
    // A poll run meanwhile from a message box's loop takes the next chunks
    // of the same block first, so every chunk is handed on in order.
    const auto deadline = Clock::now() + kTickBudget;
    bool drained = false;
    for (;;) {
        if (m_rxChunks.Empty()) {
            if (drained || !m_pPort)
                return Drain::Done;
            // A log whose disk lags holds the port back (its driver then
            // holds the line) rather than the window.
            if (Clock::now() > deadline || (m_capture.file && m_capture.file->Behind()))
                return Drain::CutShort;
            const std::int32_t got =
                m_rxChunks.Fill([this](std::uint8_t* block, std::uint32_t size) { return m_pPort->Read(block, size); });
            if (got < 1)
                return Drain::Done;
            drained = static_cast<std::size_t>(got) < terminal::ChunkQueue::kCapacity;
        }
        std::uint8_t chunk[kChunkSize];
        const std::size_t n = m_rxChunks.TakeChunk(chunk);
        ReceiveChunk(chunk, static_cast<std::uint32_t>(n));
    }
}

void CSerialDlg::ReceiveChunk(const std::uint8_t* chunk, std::uint32_t n)
{
    // With address bytes shown, the chunk is the line's bytes marked; each
    // address byte is a piece of its own, and the bytes between them too.
    std::span<const std::uint8_t> line(chunk, n);
    if (m_pPort && m_pPort->m_dcb.fMarkNinthBit) {
        m_ninthBit.bytes.clear();
        m_ninthBit.addresses.clear();
        m_ninthBit.decoder.Decode(line, m_ninthBit.bytes, m_ninthBit.addresses);
        line = m_ninthBit.bytes;
        std::size_t from = 0;
        for (const std::size_t at : m_ninthBit.addresses) {
            ReceivePiece(line.subspan(from, at - from), false);
            ReceivePiece(line.subspan(at, 1), true);
            from = at + 1;
        }
        ReceivePiece(line.subspan(from), false);
    } else {
        ReceivePiece(line, false);
    }
    // The counters count the bytes as they went over the line.
    HandleXmodemReply(line.data(), static_cast<std::uint32_t>(line.size()));
    m_nRxCount += static_cast<std::uint32_t>(line.size());
    m_bRxCountChanged = true;
}

void CSerialDlg::ReceivePiece(std::span<const std::uint8_t> bytes, bool address)
{
    if (bytes.empty())
        return;
    if (address) {
        CaptureAddressByte(bytes[0]);
        if (!m_bPaused)
            ShowAddressByte(bytes[0]);
        return;
    }
    // Escape sequences go from received text before the box and the text
    // log see it; the counters, the file sender and the raw log take all.
    std::span<const std::uint8_t> shown = bytes;
    if (m_capture.hideEscapes && m_bRxAscii) {
        m_capture.filtered.clear();
        m_capture.escapes.Filter(shown, m_capture.filtered);
        shown = m_capture.filtered;
    }
    CaptureReceived(bytes.data(), static_cast<std::uint32_t>(bytes.size()), shown);
    if (m_bPaused || shown.empty())
        return;
    ShowReceived(shown);
}

void CSerialDlg::FlushDisplay()
{
    if (auto edit = m_rxBatch.Take()) {
        if (edit->emptyFirst)
            EmptyBox(m_edtRx);
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
    if (m_bTxCountChanged)
        ShowTxCount();
}

void CSerialDlg::OnClearRx()
{
    m_nRxShown = 0;
    m_capture.atLineStart = true;
    EmptyBox(m_edtRx);
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
    m_bTxCountChanged = false;
    m_bRxCountChanged = false;
    m_stcTxCount.SetWindowText("TX: 0 bytes");
    m_stcRxCount.SetWindowText("RX: 0 bytes");
}
