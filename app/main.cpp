#include "app/serial_app.h"
#include "ui_wx/application.h"

namespace {
CSerialApp theApp;
}

int main(int argc, char** argv)
{
    return ui_wx::RunApplication(argc, argv, [] { theApp.InitInstance(); });
}
