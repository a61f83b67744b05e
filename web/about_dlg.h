#pragma once

#include "ui/dialog.h"
#include "ui/link_static.h"

#include <string_view>

namespace web {

// The maker's web site: the About box's link opens it; the link shows it
// without its scheme.
inline constexpr std::string_view kMakerAddress = "https://www.vantrel.org/";
inline constexpr std::string_view kMakerAddressShown = kMakerAddress.substr(kMakerAddress.find("//") + 2);

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_WEB_LINK = 1033;

} // namespace web

// The About box: the program's icon, name and version, its maker, and a
// link to the maker's web site. Build a new one for every showing, so the
// link starts out not yet followed. OK, Escape and the close box end it.
class CAboutDlg : public ui::MappedDialog<CAboutDlg> {
public:
    CAboutDlg();
    static const ui::MessageMap<CAboutDlg>& GetMessageMap();

    CLinkStatic m_wndLink;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
};
