#pragma once

#include "ui/link_listener.h"

#include <wx/control.h>

namespace ui_wx {

// A static text drawn as a web link: its label in its own colour, in the
// font it is given, with the hand cursor. It reports the mouse entering and
// leaving it, and clicks (a press and release of the left button on it), to
// its listener. Assistive technologies see a link named by the label.
class LinkLabel final : public wxControl {
public:
    LinkLabel(wxWindow& parent, wxWindowID id, const wxString& label, const wxPoint& position, const wxSize& size);

    void SetListener(ui::LinkListener* listener) { m_listener = listener; }
    // Draws the text in this colour, at once.
    void SetTextColour(const wxColour& colour);
    // The size of the label in the control's font.
    wxSize TextExtent() const;

    void SetLabel(const wxString& label) override;

protected:
    wxSize DoGetBestSize() const override { return TextExtent(); }

private:
    void OnPaint(wxPaintEvent& event);
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    ui::LinkListener* m_listener = nullptr;
    wxColour m_colour;
    bool m_pressed = false;
};

} // namespace ui_wx
