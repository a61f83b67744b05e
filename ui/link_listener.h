#pragma once

namespace ui {

// What a back end reports about a static text shown as a web link.
class LinkListener {
public:
    // The mouse has moved onto the control (true) or off it (false).
    virtual void OnLinkHover(bool inside) = 0;
    // The user has clicked the control.
    virtual void OnLinkClicked() = 0;

protected:
    ~LinkListener() = default;
};

} // namespace ui
