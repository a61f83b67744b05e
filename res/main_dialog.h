#pragma once

#include "ui/dialog_template.h"

namespace res {

// Template 102: the main window, its 44 controls in tab order.
const ui::DialogTemplate& MainDialogTemplate();

} // namespace res
