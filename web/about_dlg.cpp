#include "web/about_dlg.h"

#include <array>

namespace {

constexpr int IDD_ABOUTBOX = 100;

const std::array<ui::ControlTemplate, 2> kAboutControls = {{
    {ui::kNoId, ui::ControlKind::Label, "Vantrel", ui::RectFromSize(40, 10, 119, 8), ui::kGroup},
    {ui::IDOK, ui::ControlKind::PushButton, "OK", ui::RectFromSize(178, 7, 50, 14), ui::kTabStop},
}};

const ui::DialogTemplate kAboutTemplate = {
    IDD_ABOUTBOX, "About Vantrel", 235, 55, /*resizable=*/false, kAboutControls,
};

} // namespace

CAboutDlg::CAboutDlg() : MappedDialog(kAboutTemplate)
{
}

const ui::MessageMap<CAboutDlg>& CAboutDlg::GetMessageMap()
{
    static const ui::MessageMap<CAboutDlg> map{};
    return map;
}
