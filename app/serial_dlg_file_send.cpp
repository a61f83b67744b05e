#include "app/serial_dlg.h"

// The file sender. Choosing, loading and sending files is not part of this
// build yet: the handlers stand in the message map and do nothing.

void CSerialDlg::OnBrowseFile()
{
}

void CSerialDlg::OnSendFile()
{
}

void CSerialDlg::HandleXmodemReply(const std::uint8_t*)
{
}

void CSerialDlg::ReportNoResponse()
{
}
