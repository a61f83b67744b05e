#pragma once

class wxWindow;

namespace ui_wx {

// Adds the style sheet that makes dialog controls compact to the whole
// screen, at application priority (above the theme, below the user's own
// settings). Call once after the toolkit has started and before any window
// exists, so no window is ever drawn with the theme's tall minimums.
void InstallCompactStyle();

// Puts a top-level window under the compact rules. Other windows of the
// process (the file chooser, message boxes) keep the theme's looks.
void UseCompactStyle(wxWindow& topLevel);

// Gives a static text the sunken frame of a read-out.
void UseSunkenFrame(wxWindow& staticText);

// Trims the padding around the text of a drop-down list's rows.
void TightenListRows(wxWindow& dropDownList);

// Leaves only the image on a button that already shows one: the caption
// goes from the face (wx keeps it as the button's label), and GTK then
// frames the image tightly as an image button.
void ShowImageOnly(wxWindow& button);

// The height GTK would like a control to have, with the compact rules.
int NaturalHeight(wxWindow& control);

} // namespace ui_wx
