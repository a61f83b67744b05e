#include "res/main_dialog.h"

#include "res/resource_ids.h"

#include <array>
#include <string_view>

namespace res {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::kNoId;
using ui::RectFromSize;

constexpr std::uint32_t kList = ui::kVScroll | ui::kTabStop;
constexpr std::uint32_t kButton = ui::kTabStop;
constexpr std::uint32_t kCheck = ui::kTabStop;
constexpr std::uint32_t kLabel = ui::kGroup;
constexpr std::uint32_t kLineEdit = ui::kBorder | ui::kAutoHScroll | ui::kTabStop;
constexpr std::uint32_t kBoxEdit = ui::kBorder | ui::kVScroll | ui::kWantReturn | ui::kTabStop;

constexpr std::array<std::string_view, 4> kProtocolItems = {"None", "Xmodem", "1K Xmodem", "Ymodem"};

const std::array<ControlTemplate, 44> kControls = {{
    {kNoId, ControlKind::GroupBox, "Communication Mode", RectFromSize(7, 7, 119, 31), 0},
    {kNoId, ControlKind::Label, "&Address Size:", RectFromSize(13, 20, 57, 12), kLabel},
    {IDC_ADDR_SIZE, ControlKind::DropDownList, "", RectFromSize(72, 19, 48, 73), kList},
    {kNoId, ControlKind::GroupBox, "Communication Port", RectFromSize(7, 43, 119, 114), 0},
    {kNoId, ControlKind::Label, "Serial &Port:", RectFromSize(13, 58, 57, 12), kLabel},
    {IDC_PORT, ControlKind::DropDownList, "", RectFromSize(72, 56, 48, 73), kList},
    {kNoId, ControlKind::Label, "Baud &Rate:", RectFromSize(13, 75, 57, 12), kLabel},
    {IDC_BAUD, ControlKind::DropDownList, "", RectFromSize(72, 72, 48, 72), kList},
    {kNoId, ControlKind::Label, "Parity S&cheme:", RectFromSize(13, 91, 57, 12), kLabel},
    {IDC_PARITY, ControlKind::DropDownList, "", RectFromSize(72, 89, 48, 77), kList},
    {kNoId, ControlKind::Label, "&Byte Size:", RectFromSize(13, 106, 57, 12), kLabel},
    {IDC_BYTE_SIZE, ControlKind::DropDownList, "", RectFromSize(72, 105, 48, 82), kList},
    {kNoId, ControlKind::Label, "&Stop Bits:", RectFromSize(13, 122, 57, 12), kLabel},
    {IDC_STOP_BITS, ControlKind::DropDownList, "", RectFromSize(72, 120, 48, 72), kList},
    {IDC_OPEN, ControlKind::PushButton, "Open", RectFromSize(23, 138, 39, 14), kButton},
    {IDC_CLOSE, ControlKind::PushButton, "Close", RectFromSize(70, 138, 39, 14), kButton},
    {kNoId, ControlKind::GroupBox, "Receiving", RectFromSize(7, 161, 119, 63), 0},
    {IDC_RX_ASCII, ControlKind::CheckBox, "ASCII Format", RectFromSize(13, 171, 75, 14), kCheck},
    {IDC_AUTO_CLEAR, ControlKind::CheckBox, "Automatic empty display", RectFromSize(13, 187, 107, 14), kCheck},
    {IDC_CLEAR_RX, ControlKind::PushButton, "Clear", RectFromSize(23, 204, 39, 14), kButton},
    {IDC_PAUSE, ControlKind::PushLikeCheckBox, "Pause", RectFromSize(70, 204, 39, 14), kCheck},
    {kNoId, ControlKind::GroupBox, "Transmitting", RectFromSize(7, 227, 119, 81), 0},
    {IDC_TX_ASCII, ControlKind::CheckBox, "ASCII Format", RectFromSize(13, 238, 75, 14), kCheck},
    {IDC_AUTO_SEND, ControlKind::CheckBox, "Automatic transmission", RectFromSize(13, 254, 107, 14), kCheck},
    {kNoId, ControlKind::Label, "TX Cycle(ms)", RectFromSize(13, 272, 57, 12), kLabel},
    {IDC_TX_CYCLE, ControlKind::Edit, "", RectFromSize(72, 272, 48, 12), kLineEdit},
    {IDC_CLEAR_TX, ControlKind::PushButton, "Clear", RectFromSize(23, 289, 39, 14), kButton},
    {IDC_SEND, ControlKind::PushButton, "Send", RectFromSize(70, 289, 39, 14), kButton},
    {kNoId, ControlKind::GroupBox, "Sending file", RectFromSize(7, 311, 119, 66), 0},
    {IDC_FILE_PATH, ControlKind::Edit, "", RectFromSize(13, 324, 92, 12), kLineEdit, {}, "File to send"},
    {IDC_BROWSE, ControlKind::PushButton, "...", RectFromSize(107, 323, 13, 14), kButton},
    {kNoId, ControlKind::Label, "Protocols:", RectFromSize(13, 342, 41, 12), kLabel},
    {IDC_PROTOCOL, ControlKind::DropDownList, "", RectFromSize(67, 340, 53, 72), kList, kProtocolItems},
    {IDC_SEND_FILE, ControlKind::PushButton, "Send", RectFromSize(81, 358, 39, 14), kButton},
    {kNoId, ControlKind::GroupBox, "Counters", RectFromSize(7, 380, 120, 48), 0},
    // The counters stand one above the other so that each has room for
    // "TX: 4294967295", its widest text; Clear stands beside them.
    {IDC_TX_COUNT, ControlKind::StaticText, "TX: 0 bytes", RectFromSize(13, 393, 73, 11), ui::kSunken},
    {IDC_RX_COUNT, ControlKind::StaticText, "RX: 0 bytes", RectFromSize(13, 408, 73, 11), ui::kSunken},
    {IDC_CLEAR_COUNT, ControlKind::PushButton, "Clear", RectFromSize(89, 399, 31, 14), kButton},
    {IDC_RX, ControlKind::MultiLineEdit, "", RectFromSize(134, 6, 437, 230), kBoxEdit, {}, "Received data"},
    {IDC_TX, ControlKind::MultiLineEdit, "", RectFromSize(134, 241, 437, 97), kBoxEdit, {}, "Data to transmit"},
    {IDC_PROGRESS, ControlKind::ProgressBar, "Progress1", RectFromSize(13, 359, 66, 11), ui::kBorder},
    {IDC_ADVERT, ControlKind::StaticText, "Static", RectFromSize(134, 343, 437, 105), 0},
    {IDC_HELP, ControlKind::BitmapButton, "Help", RectFromSize(7, 432, 19, 16), kButton},
    {IDC_HIDE, ControlKind::CheckBox, "Hide", RectFromSize(92, 434, 35, 14), kCheck},
}};

const ui::DialogTemplate kMainDialog = {
    IDD_MAIN, "Vantrel", 578, 455, /*resizable=*/true, kControls,
};

} // namespace

const ui::DialogTemplate& MainDialogTemplate()
{
    return kMainDialog;
}

} // namespace res
