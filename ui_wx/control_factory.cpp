#include "ui_wx/control_factory.h"

#include "ui_wx/accessibility.h"
#include "ui_wx/compact_style.h"
#include "ui_wx/long_lines.h"
#include "ui_wx/paste_scroll.h"
#include "ui_wx/wx_text.h"

#include <array>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

namespace ui_wx {

namespace {

using ui::ControlKind;

struct Placement {
    wxWindow& parent;
    const ui::ControlTemplate& control;
    wxWindowID id;
    wxPoint position;
    wxSize size;
    wxString caption;
};

wxWindow* MakeGroupBox(const Placement& p)
{
    return new wxStaticBox(&p.parent, wxID_ANY, p.caption, p.position, p.size);
}

wxWindow* MakeLabel(const Placement& p)
{
    // wx shows "&" as the mnemonic underline, as the template means it.
    return new wxStaticText(&p.parent, p.id, p.caption, p.position, p.size, wxST_NO_AUTORESIZE);
}

wxWindow* MakeStaticText(const Placement& p)
{
    auto* text = new wxStaticText(&p.parent, p.id, p.caption, p.position, p.size, wxST_NO_AUTORESIZE);
    if (p.control.style & ui::kSunken)
        UseSunkenFrame(*text);
    return text;
}

wxWindow* MakePushButton(const Placement& p)
{
    return new wxButton(&p.parent, p.id, p.caption, p.position, p.size);
}

wxWindow* MakeCheckBox(const Placement& p)
{
    // Three states so that a program can show "indeterminate"; a click by
    // the user still only toggles between clear and checked.
    return new wxCheckBox(&p.parent, p.id, p.caption, p.position, p.size, wxCHK_3STATE);
}

wxWindow* MakePushLikeCheckBox(const Placement& p)
{
    return new wxToggleButton(&p.parent, p.id, p.caption, p.position, p.size);
}

wxWindow* MakeBitmapButton(const Placement& p)
{
    auto* button = new wxButton(&p.parent, p.id, kImageButtonStandIn, p.position, p.size, wxBU_EXACTFIT);
    button->SetToolTip(p.caption);
    SetAccessibleName(*button, FromWx(p.caption));
    return button;
}

wxWindow* MakeDropDownList(const Placement& p)
{
    auto* list = new wxChoice(&p.parent, p.id, p.position, wxSize(p.size.x, -1));
    TightenListRows(*list);
    // An empty list asks for the height of an empty row; measure it with a
    // row of text, as it will hold.
    list->Append("Xg");
    list->SetSelection(0);
    const int height = NaturalHeight(*list);
    list->Clear();
    list->SetSize(p.position.x, p.position.y, p.size.x, height);
    return list;
}

wxWindow* MakeEdit(const Placement& p)
{
    return new wxTextCtrl(&p.parent, p.id, wxString(), p.position, p.size);
}

wxWindow* MakeMultiLineEdit(const Placement& p)
{
    // Lines wrap at words, and inside a word longer than the line, so the box
    // never scrolls sideways; very long lines are shown in pieces, which GTK
    // lays out quickly, and a long paste is laid out between the user's clicks.
    long style = wxTE_MULTILINE | wxTE_BESTWRAP;
    if (p.control.style & ui::kVScroll)
        style |= wxVSCROLL;
    auto* box = new wxTextCtrl(&p.parent, p.id, wxString(), p.position, p.size, style);
    KeepParagraphsShort(*box);
    ScrollAfterPasteWhenLaidOut(*box);
    return box;
}

wxWindow* MakeProgressBar(const Placement& p)
{
    return new wxGauge(&p.parent, p.id, 100, p.position, p.size, wxGA_HORIZONTAL | wxGA_SMOOTH);
}

wxWindow* MakeIcon(const Placement& p)
{
    // The picture keeps its own size, at the rectangle's top left, as an icon
    // static shows its icon.
    const wxBitmap picture = p.control.image.empty() ? wxBitmap() : wxBitmap(p.control.image.data());
    auto* icon = new wxStaticBitmap(&p.parent, p.id, picture, p.position);
    if (picture.IsOk())
        icon->SetSize(picture.GetSize());
    return icon;
}

using Maker = wxWindow* (*)(const Placement&);

constexpr std::array<std::pair<ControlKind, Maker>, 12> kMakers = {{
    {ControlKind::GroupBox, MakeGroupBox},
    {ControlKind::Label, MakeLabel},
    {ControlKind::StaticText, MakeStaticText},
    {ControlKind::PushButton, MakePushButton},
    {ControlKind::CheckBox, MakeCheckBox},
    {ControlKind::PushLikeCheckBox, MakePushLikeCheckBox},
    {ControlKind::BitmapButton, MakeBitmapButton},
    {ControlKind::DropDownList, MakeDropDownList},
    {ControlKind::Edit, MakeEdit},
    {ControlKind::MultiLineEdit, MakeMultiLineEdit},
    {ControlKind::ProgressBar, MakeProgressBar},
    {ControlKind::Icon, MakeIcon},
}};

} // namespace

wxWindow* CreateControl(wxWindow& parent, const ui::ControlTemplate& control, const ui::Rect& pixels)
{
    const Placement placement{
        parent,
        control,
        control.id == ui::kNoId ? wxID_ANY : control.id,
        wxPoint(pixels.left, pixels.top),
        wxSize(pixels.Width(), pixels.Height()),
        ToWx(control.caption),
    };
    for (const auto& [kind, make] : kMakers)
        if (kind == control.kind)
            return make(placement);
    return nullptr;
}

} // namespace ui_wx
