#include "app/serial_app.h"
#include "serial/device.h"
#include "ui/backend.h"
#include "ui_wx/application.h"

namespace {
CSerialApp theApp;
}

int main(int argc, char** argv)
{
    // The executable file may be replaced while the program runs; the
    // caption of its message boxes keeps the name it started with.
    ui::InitApplicationTitle();
    return ui_wx::RunApplication(argc, argv, [] { theApp.InitInstance(serial::LinuxDeviceSystem()); });
}
