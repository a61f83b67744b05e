#pragma once

#include "ui/controls.h"

#include <string_view>

namespace ui {
class Dialog;
}

// The HTML pane of the main window. It takes the place and size of a static
// placeholder control. Until the pane can show pages it keeps the
// placeholder's area and navigation does nothing.
class CHTMLCtrl : public ui::Static {
public:
    // Takes over the placeholder with this identifier; false when it cannot.
    bool CreateFromStatic(int id, ui::Dialog& parent);
    void Navigate2(std::string_view url);
};
