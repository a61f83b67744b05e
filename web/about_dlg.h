#pragma once

#include "ui/dialog.h"

// The About box. For now an empty box with the program's name and an OK
// button; its web link comes with the link control.
class CAboutDlg : public ui::MappedDialog<CAboutDlg> {
public:
    CAboutDlg();
    static const ui::MessageMap<CAboutDlg>& GetMessageMap();
};
