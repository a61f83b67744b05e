#include "app/serial_dlg.h"

#include "ui/backend.h"
#include "ui/open_address.h"
#include "web/help_page.h"

// The help page and the HTML pane's Hide box.

void CSerialDlg::OpenHelpPage()
{
    // A browser cannot read a page inside the executable: the page is
    // written to a private folder first and opened from there. A folder
    // that is not safe to write to is named in one box; a page that cannot
    // be opened is not reported, and the window goes on as before.
    const web::HelpPageResult page = web::WriteHelpPage();
    if (!page.refusal.ok())
        ui::AfxMessageBox(web::HelpRefusalText(page));
    if (page.address)
        ui::OpenAddress(*page.address);
}

void CSerialDlg::OnHideAdvert()
{
    UpdateData(true);
    // The pane only disappears: the layout goes on placing it and nothing
    // takes its place.
    m_wndAdvert.ShowWindow(m_bHideAdvert == 0);
}

void CSerialDlg::OnHelpInfo()
{
    // F1 anywhere in the window, whatever the request is about.
    OpenHelpPage();
}
