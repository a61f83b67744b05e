#pragma once

#include "ui/geometry.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

// The kinds of control a dialog template can hold.
enum class ControlKind {
    GroupBox,
    Label,      // static text that names the control after it
    StaticText, // static text the program changes (counters, placeholders)
    PushButton,
    CheckBox,         // automatic check box
    PushLikeCheckBox, // automatic check box that looks like a button, pressed while checked
    BitmapButton,     // push button showing an image
    DropDownList,     // combo box the user cannot type into
    Edit,             // single-line edit
    MultiLineEdit,    // multi-line edit with a vertical scroll bar; lines wrap
    ProgressBar,
    Icon, // a static showing the template's image
};

// Style bits that change how a control behaves or looks.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kTabStop = 1u << 0,
    kGroup = 1u << 1,
    kSunken = 1u << 2,     // static text drawn with a sunken frame
    kWantReturn = 1u << 3, // Enter in a multi-line edit starts a new line
    kVScroll = 1u << 4,
    kBorder = 1u << 5,
    kAutoHScroll = 1u << 6,
    // Static texts: where the text stands in the control.
    kAlignCenter = 1u << 7,      // horizontally centred
    kAlignRight = 1u << 8,       // against the right edge
    kCenterVertically = 1u << 9, // vertically centred
};

inline constexpr int kNoId = -1;

struct ControlTemplate {
    int id; // kNoId for labels and group boxes
    ControlKind kind;
    std::string_view caption;
    Rect rect; // in dialog units; built with RectFromSize
    std::uint32_t style;
    // Items a list holds from creation on (the template's initialisation data).
    std::span<const std::string_view> initialItems = {};
    // What assistive technologies call a control that has no label of its own.
    std::string_view accessibleName = {};
    // The picture of an icon static, as XPM rows.
    std::span<const char* const> image = {};
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    int width; // dialog units
    int height;
    bool resizable;
    std::span<const ControlTemplate> controls; // template order = tab order

    const ControlTemplate* Find(int controlId) const
    {
        for (const ControlTemplate& c : controls)
            if (c.id == controlId && controlId != kNoId)
                return &c;
        return nullptr;
    }
};

} // namespace ui
