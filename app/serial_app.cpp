#include "app/serial_app.h"

#include "app/serial_dlg.h"

bool CSerialApp::InitInstance(serial::DeviceSystem& devices)
{
    CSerialDlg dlg(devices);
    dlg.DoModal();
    return false;
}
