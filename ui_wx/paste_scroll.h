#pragma once

class wxTextCtrl;

namespace ui_wx {

// After a paste from the keyboard or the context menu, GTK's text view
// scrolls to the caret at once, and to do so lays out every line above it
// in one go: a paste of 20 000 short lines held the window for most of a
// second. The box instead scrolls to the caret when the view has laid out
// its lines in the background, between the user's clicks and keys, and
// then shows the caret at the end of the pasted text as before.
void ScrollAfterPasteWhenLaidOut(wxTextCtrl& box);

} // namespace ui_wx
