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
    rx_.Bind(*this, IDC_RX);
    tx_.Bind(*this, IDC_TX);
    txCount_.Bind(*this, IDC_TX_COUNT);
    rxCount_.Bind(*this, IDC_RX_COUNT);
    progress_.Bind(*this, IDC_PROGRESS);
    Window()->AppendSystemMenuEntry(IDM_ABOUTBOX, "&About Vantrel...");
    FillLists();
    Window()->SetCurSel(IDC_PROTOCOL, 2);
    Window()->SetText(IDC_TX_CYCLE, "1000");
    Window()->SetCheck(IDC_AUTO_CLEAR, 1);
    Window()->SetText(IDC_FILE_PATH, "/home/user/firmware.bin");
    tx_.SetWindowText("01 48 65 6C 6C 6F");
    rx_.SetWindowText("48 65 6C 6C 6F 2C 20 77 6F 72 6C 64 21 0D 0A ");
    // The widest texts the counters can show.
    txCount_.SetWindowText("TX: 4294967295");
    rxCount_.SetWindowText("RX: 4294967295");
    progress_.SetRange(0, 100);
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
    const std::string text = tx_.GetWindowText();
    rx_.SetSel(static_cast<int>(rx_.GetWindowText().size()), -1);
    rx_.ReplaceSel(text + "\r\n");
    rx_.ScrollCaret();
    sent_ += static_cast<unsigned>(text.size());
    txCount_.SetWindowText("TX: " + std::to_string(sent_));
}

void DemoDialog::OnClearRx()
{
    rx_.SetSel(0, -1);
    rx_.ReplaceSel("");
}

void DemoDialog::OnClearTx()
{
    tx_.SetWindowText("");
}

void DemoDialog::OnClearCounters()
{
    sent_ = 0;
    txCount_.SetWindowText("TX: 0 bytes");
    rxCount_.SetWindowText("RX: 0 bytes");
}

void DemoDialog::OnOpen()
{
    ui::AfxMessageBox("Port 'com1' not open");
}

void DemoDialog::OnTimer(unsigned id)
{
    if (id != kProgressTimer)
        return;
    progressPos_ = (progressPos_ + 5) % 105;
    progress_.SetPos(progressPos_);
}

void DemoDialog::OnSysCommand(unsigned id, std::intptr_t param)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        ui::AfxMessageBox("Vantrel user-interface demo");
    else
        Dialog::OnSysCommand(id, param);
}

} // namespace demo
