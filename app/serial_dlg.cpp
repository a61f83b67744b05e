#include "app/serial_dlg.h"

#include "res/icons.h"
#include "res/main_dialog.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "serial/baud_rates.h"
#include "serial/line_tables.h"
#include "settings/profile.h"
#include "transfer/file_sender.h"
#include "ui/open_address.h"
#include "ui/window_impl.h"
#include "web/about_dlg.h"
#include "web/advert.h"

#include <cstdio>
#include <cstdlib>

using namespace res;

CSerialDlg::CSerialDlg(serial::DeviceSystem& devices)
    : MappedDialog(MainDialogTemplate()), m_bAutoClear(1), m_bRxAscii(0), m_bTxAscii(0), m_bAutoSend(0),
      m_nBaudIndex(-1), m_nTxCycle(1000), m_nByteSizeIndex(-1), m_nParityIndex(-1), m_nPortIndex(-1),
      m_nStopBitsIndex(-1), m_nAddrSize(-1), m_nProtocol(-1), m_bHideAdvert(0), m_hIcon(IDR_MAINFRAME), m_nTxCount(0),
      m_nRxCount(0), m_bPaused(0), m_nRxShown(0), m_devices(devices)
{
    m_strIniPath = settings::SettingsPath(settings::ExecutablePath());
}

CSerialDlg::~CSerialDlg()
{
    m_hotplug.reset();
}

const ui::MessageMap<CSerialDlg>& CSerialDlg::GetMessageMap()
{
    using ui::MapCommand;
    using ui::Msg;
    using ui::Notify;
    using D = CSerialDlg;
    static const ui::MessageMap<CSerialDlg> map{
        ui::MapSysCommand(&D::OnSysCommand),
        ui::MapMessage(Msg::Destroy, &D::OnDestroy),
        ui::MapMessage(Msg::Size, &D::OnSize),
        ui::MapTimer(&D::OnTimer),
        ui::MapMessage(Msg::Close, &D::OnClose),
        ui::MapMessage(Msg::Help, &D::OnHelpInfo),
        ui::MapRaw(Msg::DeviceChange, &D::OnDeviceChange),
        ui::MapMessage(Msg::App, &D::OnPortDataArrived),
        MapCommand(IDC_OPEN, Notify::Clicked, &D::OnOpenPort),
        MapCommand(IDC_CLOSE, Notify::Clicked, &D::OnClosePort),
        MapCommand(IDC_PORT, Notify::SelChange, &D::OnSelChangePort),
        MapCommand(IDC_BAUD, Notify::SelChange, &D::OnSelChangeBaud),
        MapCommand(IDC_BYTE_SIZE, Notify::SelChange, &D::OnSelChangeByteSize),
        MapCommand(IDC_PARITY, Notify::SelChange, &D::OnSelChangeParity),
        MapCommand(IDC_STOP_BITS, Notify::SelChange, &D::OnSelChangeStopBits),
        MapCommand(IDC_ADDR_SIZE, Notify::SelChange, &D::OnSelChangeAddrSize),
        MapCommand(IDC_CLEAR_RX, Notify::Clicked, &D::OnClearRx),
        MapCommand(IDC_PAUSE, Notify::Clicked, &D::OnPause),
        MapCommand(IDC_CLEAR_COUNT, Notify::Clicked, &D::OnClearCounters),
        MapCommand(IDC_SEND, Notify::Clicked, &D::OnSend),
        MapCommand(IDC_CLEAR_TX, Notify::Clicked, &D::OnClearTx),
        MapCommand(IDC_AUTO_SEND, Notify::Clicked, &D::OnAutoSend),
        MapCommand(IDC_BROWSE, Notify::Clicked, &D::OnBrowseFile),
        MapCommand(IDC_SEND_FILE, Notify::Clicked, &D::OnSendFile),
        MapCommand(IDC_HELP, Notify::Clicked, &D::OpenHelpPage),
        MapCommand(IDC_HIDE, Notify::Clicked, &D::OnHideAdvert),
    };
    return map;
}

void CSerialDlg::DoDataExchange(ui::DataExchange& dx)
{
    using ui::DDX_Control;
    DDX_Control(dx, IDC_ADVERT, m_wndAdvert);
    DDX_Control(dx, IDC_PROGRESS, m_ctlProgress);
    DDX_Control(dx, IDC_AUTO_SEND, m_btnAutoSend);
    DDX_Control(dx, IDC_SEND_FILE, m_btnSendFile);
    DDX_Control(dx, IDC_SEND, m_btnSend);
    DDX_Control(dx, IDC_PROTOCOL, m_cboProtocol);
    DDX_Control(dx, IDC_CLEAR_COUNT, m_btnClearCount);
    DDX_Control(dx, IDC_PAUSE, m_btnPause);
    DDX_Control(dx, IDC_TX_COUNT, m_stcTxCount);
    DDX_Control(dx, IDC_RX_COUNT, m_stcRxCount);
    DDX_Control(dx, IDC_ADDR_SIZE, m_cboAddrSize);
    DDX_Control(dx, IDC_OPEN, m_btnOpen);
    DDX_Control(dx, IDC_STOP_BITS, m_cboStopBits);
    DDX_Control(dx, IDC_PORT, m_cboPort);
    DDX_Control(dx, IDC_PARITY, m_cboParity);
    DDX_Control(dx, IDC_TX, m_edtTx);
    DDX_Control(dx, IDC_RX, m_edtRx);
    DDX_Control(dx, IDC_BYTE_SIZE, m_cboByteSize);
    DDX_Control(dx, IDC_BAUD, m_cboBaud);

    ui::DDX_Check(dx, IDC_AUTO_CLEAR, m_bAutoClear);
    ui::DDX_Check(dx, IDC_RX_ASCII, m_bRxAscii);
    ui::DDX_Check(dx, IDC_TX_ASCII, m_bTxAscii);
    ui::DDX_Check(dx, IDC_AUTO_SEND, m_bAutoSend);
    ui::DDX_CBIndex(dx, IDC_BAUD, m_nBaudIndex);
    ui::DDX_Text(dx, IDC_TX_CYCLE, m_nTxCycle);
    ui::DDX_CBIndex(dx, IDC_BYTE_SIZE, m_nByteSizeIndex);
    ui::DDX_CBIndex(dx, IDC_PARITY, m_nParityIndex);
    ui::DDX_CBIndex(dx, IDC_PORT, m_nPortIndex);
    ui::DDX_CBIndex(dx, IDC_STOP_BITS, m_nStopBitsIndex);
    ui::DDX_Text(dx, IDC_TX, m_strTxData);
    ui::DDX_CBIndex(dx, IDC_ADDR_SIZE, m_nAddrSize);
    ui::DDX_Text(dx, IDC_FILE_PATH, m_strFilePath);
    ui::DDX_CBIndex(dx, IDC_PROTOCOL, m_nProtocol);
    ui::DDX_Check(dx, IDC_HIDE, m_bHideAdvert);
}

namespace {

template <typename Table>
void FillList(ui::ComboBox& list, const Table& table)
{
    for (const auto& row : table)
        list.AddString(row.text);
}

} // namespace

bool CSerialDlg::OnInitDialog()
{
    MappedDialog::OnInitDialog();

    if (std::string_view about = LoadString(IDS_ABOUTBOX); !about.empty())
        Window()->AppendSystemMenuEntry(IDM_ABOUTBOX, about);
    AddLineSignalMenu();
    AddCaptureMenu();
    AddNinthBitMenu();

    // The icon also stands for the minimised window: on Linux the window
    // manager draws a minimised window from the icon set here, so the
    // program paints nothing of its own while minimised.
    if (auto icon = LoadIcon(m_hIcon); !icon.empty())
        Window()->SetIcon(icon);

    FillPortList();
    LoadSettings();
    ShowPortDescription(); // the stored port may not be the first

    char text[16];
    for (int size = 0; size <= 8; ++size) {
        std::snprintf(text, sizeof text, "%d-byte", size);
        m_cboAddrSize.AddString(text);
    }
    m_cboAddrSize.SetCurSel(m_nAddrSize);
    ApplyNinthBit(); // offered as the stored Address Size says

    m_baudRates = serial::BaudRateRows(settings::GetProfileString("BAUD", "extra", "", 0, m_strIniPath));
    for (std::uint32_t rate : m_baudRates) {
        std::snprintf(text, sizeof text, "%u", rate);
        m_cboBaud.AddString(text);
    }
    m_cboBaud.SetCurSel(m_nBaudIndex);
    FillList(m_cboParity, kParityNames);
    m_cboParity.SetCurSel(m_nParityIndex);
    FillList(m_cboByteSize, kByteSizes);
    m_cboByteSize.SetCurSel(m_nByteSizeIndex);
    FillList(m_cboStopBits, kStopBitNames);
    m_cboStopBits.SetCurSel(m_nStopBitsIndex);
    m_cboProtocol.SetCurSel(m_nProtocol);

    m_ctlProgress.SetRange(0, 100);
    m_edtRx.LimitText(4096);

    // A page asking for a new window gets the user's browser; as with the
    // help page, a failed opening is not reported.
    m_wndAdvert.SetNewWindowHandler([](std::string_view url) { ui::OpenAddress(url); });
    if (m_wndAdvert.CreateFromStatic(IDC_ADVERT, *this)) {
        if (const auto start = web::AdvertStartUrl(ReadAdvertSetting()))
            m_wndAdvert.Navigate2(*start);
        else
            m_wndAdvert.LoadFromResource(web::kAdvertPage);
    }
    PlaceHelpButton();

    // Serial adapters come and go while the window is open: the system
    // reports them on a thread of its own, the list is refreshed on ours.
    // The device layer's codes are the window's device-change events.
    static_assert(serial::kDeviceArrived == ui::DBT_DEVICEARRIVAL);
    static_assert(serial::kDeviceRemoved == ui::DBT_DEVICEREMOVECOMPLETE);
    m_hotplug = m_devices.WatchHotplug([this](std::uint32_t event) {
        PostMessage(ui::Message{ui::Msg::DeviceChange, 0, ui::Notify::Clicked, event});
    });
    return true;
}

void CSerialDlg::OnOK()
{
    // Enter never closes the window.
}

void CSerialDlg::OnSysCommand(unsigned id, std::intptr_t param)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    if (OnLineSignalCommand(id & 0xFFF0) || OnCaptureCommand(id & 0xFFF0) || OnNinthBitCommand(id & 0xFFF0))
        return;
    MappedDialog::OnSysCommand(id, param);
}

void CSerialDlg::OnTimer(unsigned id)
{
    switch (id) {
    case TIMER_POLL:
        PollReceive();
        WatchDevice();
        break;
    case TIMER_AUTOSEND:
        SendTxData();
        break;
    case TIMER_XMODEM:
        transfer::HandleResponseTimeout(m_send, *this);
        break;
    case TIMER_RESET_PULSE:
        EndResetPulse();
        break;
    case TIMER_ARRIVALS:
        OnArrivalsResumed();
        break;
    case TIMER_BREAK:
        EndBreak();
        break;
    default:
        break;
    }
    MappedDialog::OnTimer(id);
}

void CSerialDlg::OnClose()
{
    SaveSettings();
    MappedDialog::OnClose();
}

void CSerialDlg::OnDestroy()
{
    StopCapture();
    MappedDialog::OnDestroy();
    m_hotplug.reset();
    if (m_pPort) {
        m_pPort->Close();
        m_pPort.reset();
    }
    transfer::FreeFileData(m_send);
}
