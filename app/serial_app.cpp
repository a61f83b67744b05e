#include "app/serial_app.h"

#include "app/serial_dlg.h"
#include "serial/device.h"

bool CSerialApp::InitInstance()
{
    CSerialDlg dlg(serial::LinuxDeviceSystem());
    dlg.DoModal();
    return false;
}
