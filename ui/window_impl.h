#pragma once

#include "ui/colour.h"
#include "ui/geometry.h"
#include "ui/link_listener.h"

#include <chrono>
#include <span>
#include <string>
#include <string_view>

namespace ui {

class WebViewClient;

// What a back end does for one dialog window and its controls. The dialog
// framework calls these on the user-interface thread only. Controls are found
// by identifier; an identifier the window does not have is ignored by setters
// and gives an empty or zero answer from getters.
//
// Texts are UTF-8. Positions and lengths in edit controls count characters
// (code points), the way the platform's edit controls count them. A
// multi-line edit's text uses "\r\n" between lines in both directions,
// each of the two a position of its own. A lone "\n" the program gives is
// not promised to be a line break: it reads back as "\r\n" or as given.
class WindowImpl {
public:
    virtual ~WindowImpl() = default;

    // Any control.
    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, std::string_view text) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual bool IsVisible(int id) const = 0;
    virtual void SetFocus(int id) = 0;
    virtual int GetFocus() const = 0;                // identifier of the focused control, or 0
    virtual Rect GetRect(int id) const = 0;          // client pixels
    virtual void Move(int id, const Rect& rect) = 0; // client pixels

    // Check boxes: 0 clear, 1 checked, 2 indeterminate. A back end whose
    // automatic box has two states may answer 2 with its checked state.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;

    // Drop-down lists. Rows keep the order they were added in; a list's
    // text (GetText) is its selected row's, empty without a selection.
    virtual void ResetContent(int id) = 0;
    virtual int AddString(int id, std::string_view text) = 0; // returns the new row
    virtual int GetCount(int id) const = 0;
    virtual std::string GetItemText(int id, int row) const = 0;
    virtual int GetCurSel(int id) const = 0;     // -1 without a selection
    virtual void SetCurSel(int id, int row) = 0; // a row outside the list clears the selection

    // Edit controls. GetLimitText answers 0 for any other control.
    virtual int GetLimitText(int id) const = 0;
    virtual void SetLimitText(int id, int limit) = 0;
    virtual void SetSel(int id, int start, int end) = 0;        // end -1: to the end of the text
    virtual void ReplaceSel(int id, std::string_view text) = 0; // respects the limit
    virtual void ScrollCaret(int id) = 0;

    // Buttons: shows the image (XPM rows) on the button instead of its
    // caption; the caption stays the button's text for assistive tools.
    virtual void SetBitmap(int id, std::span<const char* const> xpm) = 0;

    // Web views. CreateWebView puts a web view (the back end's own: wx's
    // light HTML view, the system's browser control on Windows) in the
    // place of control id (same rectangle, identifier and visibility; the
    // control is gone afterwards) and reports to client from then on.
    // False, with the control left as it was, when no web view can be
    // made. Navigate starts
    // loading an address in the view and returns at once; a web address
    // still loading after `answerWithin` (when above zero) is stopped and
    // reported complete with an empty title, as a failed load is.
    virtual bool CreateWebView(int id, WebViewClient& client) = 0;
    virtual void Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin) = 0;

    // Progress bars: a position outside the range is kept at its nearer end.
    virtual void SetRange(int id, int lower, int upper) = 0;
    virtual void SetPos(int id, int pos) = 0;
    virtual int GetPos(int id) const = 0;

    // Static texts shown as web links. MakeLink draws the control's text
    // underlined (or not) in the text colour, gives it the hand cursor and
    // reports the mouse moving onto and off it and clicks on it to the
    // listener; a null listener ends the reports.
    virtual void MakeLink(int, bool /*underlined*/, LinkListener*) {}
    // The colour of a link's text; the control is redrawn at once.
    virtual void SetTextColour(int, COLORREF) {}
    // The tip shown while the mouse rests on the control; empty: none.
    virtual void SetToolTip(int, std::string_view) {}
    // The size of the control's text in the control's font, in pixels.
    virtual Size GetTextExtent(int) const { return {}; }
    // Whether the mouse pointer is over the control now. A modal box holds
    // the mouse while it is open, so a control learns nothing of the
    // pointer leaving it meanwhile; after the box it asks.
    virtual bool IsMouseOver(int) const { return false; }

    // The window itself.
    virtual Rect GetClientRect() const = 0;
    // The text of the window's title bar.
    virtual void SetTitle(std::string_view text) = 0;
    virtual std::string GetTitle() const = 0;
    // The window's icon, as XPM rows (title bar, task bar, window switcher).
    virtual void SetIcon(std::span<const char* const> xpm) = 0;
    virtual void SetTimer(unsigned id, unsigned periodMs) = 0;
    virtual void KillTimer(unsigned id) = 0;
    // Appends an entry to the window's system menu, after a separator unless
    // `separated` is false; choosing the entry delivers Msg::SysCommand with
    // commandId (a multiple of 16 below 0xF000, as Windows wants). A
    // `checkable` entry shows a check mark while checked. False when the
    // window has no system menu.
    virtual bool AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool separated, bool checkable) = 0;
    bool AppendSystemMenuEntry(unsigned commandId, std::string_view text)
    {
        return AppendSystemMenuEntry(commandId, text, true, false);
    }
    // A greyed entry cannot be chosen; `checked` sets a checkable entry's
    // check mark. Ignored for an entry the menu does not hold.
    virtual void SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked) = 0;
    // Ends the modal run; the back end destroys the window afterwards.
    virtual void EndDialog(int result) = 0;
    // The dialog object is going away while its window still stands; the
    // window must not call into it any more.
    virtual void DialogDeleted() {}
};

} // namespace ui
