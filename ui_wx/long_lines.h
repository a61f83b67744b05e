#pragma once

#include <optional>
#include <string>

class wxTextCtrl;

namespace ui_wx {

// GTK lays out each paragraph of a text view whole, in a time that grows
// faster than its length: a pasted line of 200 000 characters without a
// space held the window for many seconds. A multi-line box therefore never
// shows a paragraph longer than kLongestShownParagraph characters: a longer
// line is shown broken into pieces by soft breaks (U+2029 PARAGRAPH
// SEPARATOR, marked as soft), after a space near the limit where there is
// one, so words stay whole. Soft breaks are the box's own: the text read
// back leaves them out. Lines broken this way show as if wrapped early.
inline constexpr int kLongestShownParagraph = 4096;

// From now on, text inserted into the box (typed, pasted or set by the
// program) gets soft breaks where a paragraph grows too long.
void KeepParagraphsShort(wxTextCtrl& box);

// The box's text without its soft breaks (UTF-8), or nothing when it holds
// none, so the caller reads it the usual way.
std::optional<std::string> TextWithoutSoftBreaks(const wxTextCtrl& box);

} // namespace ui_wx
