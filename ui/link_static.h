#pragma once

#include "ui/colour.h"
#include "ui/controls.h"
#include "ui/link_listener.h"

#include <string>
#include <string_view>

// A static text of a dialog turned into a web link by binding it (through
// DDX_Control): its text is drawn underlined in the link colour, in the
// highlight colour while the mouse is over it and in the followed colour
// once the address has been opened; the address shows as a tooltip, the
// mouse as a hand, and a click opens the address in the user's browser. A
// failed opening beeps and says why in a box. The control is resized to
// its text when bound and when the address changes.
class CLinkStatic : public ui::Static, private ui::LinkListener {
public:
    CLinkStatic();
    ~CLinkStatic() override;
    CLinkStatic(const CLinkStatic&) = delete;
    CLinkStatic& operator=(const CLinkStatic&) = delete;

    // The address a click opens and the tooltip shows. The visible text
    // stays as it is.
    void SetLink(std::string_view address);
    // Sets whether the link counts as opened, and repaints it.
    void MarkFollowed(bool followed);

    const std::string& GetLink() const { return m_strLink; }
    bool IsFollowed() const { return m_bFollowed; }
    bool IsHovered() const { return m_bHover; }
    // The colour the text is drawn in now.
    ui::COLORREF TextColour() const;

protected:
    void PreSubclassWindow() override;

private:
    void OnLinkHover(bool inside) override;
    void OnLinkClicked() override;
    void FitToText();
    void Repaint();

    bool m_bHover = false;
    bool m_bFollowed = false;
    bool m_bFitToText = true;
    std::string m_strLink;
    ui::COLORREF m_clrNormal;
    ui::COLORREF m_clrFollowed;
    ui::COLORREF m_clrHover;
    bool m_bUnderlined = true;
};
