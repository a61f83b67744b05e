#include "ui_wx/demo/demo_dialog.h"

#include "res/main_dialog.h"
#include "res/resource_ids.h"
#include "ui/backend.h"
#include "ui/window_impl.h"

#include <array>
#include <string>
#include <string_view>

namespace demo {

namespace {

using namespace res;

constexpr unsigned kProgressTimer = 1;

struct SampleList {
    int id;
    std::array<std::string_view, 13> rows;
    int count;
    int selected;
};

constexpr std::array<SampleList, 6> kSampleLists = {{
    {IDC_ADDR_SIZE, {"0-byte", "1-byte", "2-byte", "3-byte", "4-byte", "5-byte", "6-byte", "7-byte", "8-byte"}, 9, 1},
    {IDC_PORT, {"com1", "com2", "com3"}, 3, 0},
    {IDC_BAUD,
     {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "57600", "115200", "128000"},
     13,
     11},
    {IDC_PARITY, {"None", "Odd", "Even", "Mark", "Space"}, 5, 0},
    {IDC_BYTE_SIZE, {"5", "6", "7", "8"}, 4, 3},
    {IDC_STOP_BITS, {"1", "1.5", "2"}, 3, 0},
}};

} // namespace

DemoDialog::DemoDialog() : MappedDialog(res::MainDialogTemplate())
{
}

const ui::MessageMap<DemoDialog>& DemoDialog::GetMessageMap()
{
    using D = DemoDialog;
    static const ui::MessageMap<D> map{
        ui::MapCommand<D>(IDC_SEND, ui::Notify::Clicked, &D::OnSend),
        ui::MapCommand<D>(IDC_CLEAR_RX, ui::Notify::Clicked, &D::OnClearRx),
        ui::MapCommand<D>(IDC_CLEAR_TX, ui::Notify::Clicked, &D::OnClearTx),
        ui::MapCommand<D>(IDC_CLEAR_COUNT, ui::Notify::Clicked, &D::OnClearCounters),
        ui::MapCommand<D>(IDC_OPEN, ui::Notify::Clicked, &D::OnOpen),
        ui::MapTimer<D>(&D::OnTimer),
        ui::MapSysCommand<D>(&D::OnSysCommand),
    };
    return map;
}

bool DemoDialog::OnInitDialog()
{
    MappedDialog::OnInitDialog();
    m_rx.Bind(*this, IDC_RX);
    m_tx.Bind(*this, IDC_TX);
    m_txCount.Bind(*this, IDC_TX_COUNT);
    m_rxCount.Bind(*this, IDC_RX_COUNT);
    m_progress.Bind(*this, IDC_PROGRESS);
    Window()->AppendSystemMenuEntry(IDM_ABOUTBOX, "&About Vantrel...");
    FillLists();
    Window()->SetCurSel(IDC_PROTOCOL, 2);
    Window()->SetText(IDC_TX_CYCLE, "1000");
    Window()->SetCheck(IDC_AUTO_CLEAR, 1);
    Window()->SetText(IDC_FILE_PATH, "/home/user/firmware.bin");
    m_tx.SetWindowText("01 48 65 6C 6C 6F");
    m_rx.SetWindowText("48 65 6C 6C 6F 2C 20 77 6F 72 6C 64 21 0D 0A ");
    // The widest texts the counters can show.
    m_txCount.SetWindowText("TX: 4294967295");
    m_rxCount.SetWindowText("RX: 4294967295");
    m_progress.SetRange(0, 100);
    SetTimer(kProgressTimer, 500);
    return true;
}

void DemoDialog::FillLists()
{
    for (const SampleList& list : kSampleLists) {
        for (int row = 0; row < list.count; ++row)
            Window()->AddString(list.id, list.rows[static_cast<std::size_t>(row)]);
        Window()->SetCurSel(list.id, list.selected);
    }
}

void DemoDialog::OnSend()
{
    const std::string text = m_tx.GetWindowText();
    m_rx.SetSel(static_cast<int>(m_rx.GetWindowText().size()), -1);
    m_rx.ReplaceSel(text + "\r\n");
    m_rx.ScrollCaret();
    m_sent += static_cast<unsigned>(text.size());
    m_txCount.SetWindowText("TX: " + std::to_string(m_sent));
}

void DemoDialog::OnClearRx()
{
    m_rx.SetSel(0, -1);
    m_rx.ReplaceSel("");
}

void DemoDialog::OnClearTx()
{
    m_tx.SetWindowText("");
}

void DemoDialog::OnClearCounters()
{
    m_sent = 0;
    m_txCount.SetWindowText("TX: 0 bytes");
    m_rxCount.SetWindowText("RX: 0 bytes");
}

void DemoDialog::OnOpen()
{
    ui::AfxMessageBox("Port 'com1' not open");
}

void DemoDialog::OnTimer(unsigned id)
{
    if (id != kProgressTimer)
        return;
    m_progressPos = (m_progressPos + 5) % 105;
    m_progress.SetPos(m_progressPos);
}

void DemoDialog::OnSysCommand(unsigned id, std::intptr_t param)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        ui::AfxMessageBox("Vantrel user-interface demo");
    else
        Dialog::OnSysCommand(id, param);
}

} // namespace demo
