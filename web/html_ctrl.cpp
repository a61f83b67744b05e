#include "web/html_ctrl.h"

#include "ui/dialog.h"

bool CHTMLCtrl::CreateFromStatic(int id, ui::Dialog& parent)
{
    if (!parent.Window())
        return false;
    Bind(parent, id);
    return true;
}

void CHTMLCtrl::Navigate2(std::string_view)
{
}
