// The program on Windows: the Win32 window and the system's COM ports.
#include "app/serial_app.h"
#include "serial/device.h"
#include "ui_win32/application.h"

namespace {
CSerialApp theApp;
}

int main()
{
    return ui_win32::RunApplication([] { theApp.InitInstance(serial::WindowsDeviceSystem()); });
}
