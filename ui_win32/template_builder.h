#pragma once

#include "ui/dialog_template.h"

#include <cstdint>
#include <vector>

namespace ui_win32 {

// The dialog template as the system's dialog manager reads it: an extended
// template (DLGTEMPLATEEX) in memory, in dialog units, with "MS Sans Serif"
// at 8 points, so a dialog unit is what the template table means by it.
// Each control gets the system's class and styles for its kind; controls
// without an identifier get -1. The words are aligned as the format asks
// when the vector's storage is (the allocator aligns it for any type).
std::vector<std::uint16_t> BuildDialogTemplate(const ui::DialogTemplate& tmpl);

// The face and size of the dialog font.
inline constexpr wchar_t kDialogFontFace[] = L"MS Sans Serif";
inline constexpr std::uint16_t kDialogFontPoints = 8;

} // namespace ui_win32
