#include "ui_wx/application.h"
#include "ui_wx/demo/demo_dialog.h"

int main(int argc, char** argv)
{
    return ui_wx::RunApplication(argc, argv, [] {
        demo::DemoDialog dialog;
        dialog.DoModal();
    });
}
