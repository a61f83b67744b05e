#include "ui_win32/template_builder.h"

#include "ui_win32/win32_api.h"
#include "ui_win32/win32_text.h"

#include <string>

namespace ui_win32 {

namespace {

using ui::ControlKind;

// The system's predefined window classes, by their atoms.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kComboBoxClass = 0x0085;

class TemplateWriter {
public:
    void Word(std::uint16_t w) { m_words.push_back(w); }
    void Dword(std::uint32_t d)
    {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Text(std::wstring_view text)
    {
        for (wchar_t c : text)
            Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void Atom(std::uint16_t atom)
    {
        Word(0xFFFF);
        Word(atom);
    }
    void AlignToDword()
    {
        if (m_words.size() % 2 != 0)
            Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

private:
    std::vector<std::uint16_t> m_words;
};

DWORD CommonStyle(const ui::ControlTemplate& c)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (c.style & ui::kTabStop)
        style |= WS_TABSTOP;
    if (c.style & ui::kGroup)
        style |= WS_GROUP;
    return style;
}

DWORD StaticAlignment(const ui::ControlTemplate& c)
{
    DWORD style = (c.style & ui::kAlignCenter) ? SS_CENTER : (c.style & ui::kAlignRight) ? SS_RIGHT : SS_LEFT;
    if (c.style & ui::kCenterVertically)
        style |= SS_CENTERIMAGE;
    return style;
}

struct ClassAndStyle {
    std::uint16_t atom = 0;    // 0: the class goes by name
    const wchar_t* name = L""; // when atom is 0
    DWORD style = 0;
    DWORD exStyle = 0;
};

ClassAndStyle ClassFor(const ui::ControlTemplate& c)
{
    const DWORD sunken = (c.style & ui::kBorder) ? WS_EX_CLIENTEDGE : 0;
    switch (c.kind) {
    case ControlKind::GroupBox:
        return {kButtonClass, L"", BS_GROUPBOX, 0};
    case ControlKind::Label:
        return {kStaticClass, L"", StaticAlignment(c), 0};
    case ControlKind::StaticText:
        // SS_NOTIFY lets a static shown as a link report its clicks.
        return {kStaticClass, L"", StaticAlignment(c) | SS_NOTIFY | ((c.style & ui::kSunken) ? SS_SUNKEN : 0u), 0};
    case ControlKind::PushButton:
        return {kButtonClass, L"", c.id == ui::IDOK ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON), 0};
    case ControlKind::CheckBox:
        return {kButtonClass, L"", BS_AUTOCHECKBOX, 0};
    case ControlKind::PushLikeCheckBox:
        return {kButtonClass, L"", BS_AUTOCHECKBOX | BS_PUSHLIKE, 0};
    case ControlKind::BitmapButton:
        return {kButtonClass, L"", BS_PUSHBUTTON | BS_BITMAP | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::DropDownList:
        return {kComboBoxClass, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case ControlKind::Edit:
        return {kEditClass, L"", ES_LEFT | ((c.style & ui::kAutoHScroll) ? DWORD(ES_AUTOHSCROLL) : 0u), sunken};
    case ControlKind::MultiLineEdit:
        // Without a horizontal scroll the box wraps lines at words.
        return {kEditClass, L"",
                ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ((c.style & ui::kWantReturn) ? DWORD(ES_WANTRETURN) : 0u) |
                    ((c.style & ui::kVScroll) ? DWORD(WS_VSCROLL) : 0u),
                sunken};
    case ControlKind::ProgressBar:
        return {0, PROGRESS_CLASSW, (c.style & ui::kBorder) ? DWORD(WS_BORDER) : 0u, 0};
    case ControlKind::Icon:
        return {kStaticClass, L"", SS_ICON, 0};
    }
    return {kStaticClass, L"", SS_LEFT, 0};
}

} // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const ui::DialogTemplate& tmpl)
{
    TemplateWriter w;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_CENTER | DS_3DLOOK;
    style |= tmpl.resizable ? DWORD(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) : DWORD(DS_MODALFRAME);
    w.Word(1);      // dlgVer
    w.Word(0xFFFF); // signature: extended template
    w.Dword(0);     // helpID
    w.Dword(0);     // exStyle
    w.Dword(style);
    w.Word(static_cast<std::uint16_t>(tmpl.controls.size()));
    w.Short(0);
    w.Short(0);
    w.Short(tmpl.width);
    w.Short(tmpl.height);
    w.Word(0); // no menu
    w.Word(0); // the dialog class
    w.Text(Widen(tmpl.caption));
    w.Word(kDialogFontPoints);
    w.Word(FW_NORMAL);
    w.Word(0); // italic 0, character set 0 (ANSI)
    w.Text(kDialogFontFace);

    for (const ui::ControlTemplate& c : tmpl.controls) {
        const ClassAndStyle cls = ClassFor(c);
        w.AlignToDword();
        w.Dword(0); // helpID
        w.Dword(cls.exStyle);
        w.Dword(CommonStyle(c) | cls.style);
        w.Short(c.rect.left);
        w.Short(c.rect.top);
        w.Short(c.rect.Width());
        w.Short(c.rect.Height());
        w.Dword(static_cast<std::uint32_t>(c.id));
        if (cls.atom != 0)
            w.Atom(cls.atom);
        else
            w.Text(cls.name);
        w.Text(c.kind == ControlKind::Icon ? std::wstring() : Widen(c.caption));
        w.Word(0); // no creation data
    }
    return w.Take();
}

} // namespace ui_win32
