#include "app/serial_dlg.h"

// The help page and the HTML pane's Hide box are not part of this build yet:
// the handlers stand in the message map and do nothing.

void CSerialDlg::OpenHelpPage()
{
}

void CSerialDlg::OnHideAdvert()
{
}

void CSerialDlg::OnHelpInfo()
{
}
