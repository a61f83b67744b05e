#include "web/about_dlg.h"

#include "res/icons.h"
#include "res/resource_ids.h"

#include <array>

namespace {

using ui::ControlKind;
using ui::RectFromSize;

const ui::DialogTemplate& AboutTemplate()
{
    static const std::array<ui::ControlTemplate, 5> controls = {{
        {ui::kNoId,
         ControlKind::Icon,
         "",
         RectFromSize(11, 17, 20, 20),
         ui::kStyleNone,
         {},
         {},
         res::LoadIcon(res::IDR_MAINFRAME)},
        {ui::kNoId, ControlKind::StaticText, "Vantrel Version 1.0", RectFromSize(40, 10, 119, 8), ui::kStyleNone},
        {ui::kNoId, ControlKind::StaticText, "Made by the Vantrel developers", RectFromSize(40, 25, 151, 8),
         ui::kStyleNone},
        {ui::IDOK, ControlKind::PushButton, "OK", RectFromSize(178, 7, 50, 14), ui::kTabStop | ui::kGroup},
        {web::IDC_WEB_LINK, ControlKind::StaticText, web::kMakerAddressShown, RectFromSize(40, 40, 151, 8),
         ui::kStyleNone},
    }};
    static const ui::DialogTemplate dialog = {
        web::IDD_ABOUTBOX, "About Vantrel", 235, 59, /*resizable=*/false, controls,
    };
    return dialog;
}

} // namespace

CAboutDlg::CAboutDlg() : MappedDialog(AboutTemplate())
{
}

const ui::MessageMap<CAboutDlg>& CAboutDlg::GetMessageMap()
{
    static const ui::MessageMap<CAboutDlg> map{};
    return map;
}

void CAboutDlg::DoDataExchange(ui::DataExchange& dx)
{
    MappedDialog::DoDataExchange(dx);
    ui::DDX_Control(dx, web::IDC_WEB_LINK, m_wndLink);
}

bool CAboutDlg::OnInitDialog()
{
    MappedDialog::OnInitDialog();
    m_wndLink.SetLink(web::kMakerAddress);
    return true;
}
