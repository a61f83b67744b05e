#include "ui_wx/wx_text.h"

#include "ui/utf8.h"

namespace ui_wx {

wxString ToWx(std::string_view utf8)
{
    const std::u32string decoded = ui::DecodeUtf8(utf8);
    wxString text;
    text.reserve(decoded.size());
    for (char32_t c : decoded)
        text.append(1, wxUniChar(static_cast<wxUint32>(c)));
    return text;
}

std::string FromWx(const wxString& text)
{
    std::string utf8;
    utf8.reserve(text.length());
    for (wxUniChar c : text)
        ui::AppendUtf8(utf8, static_cast<char32_t>(c.GetValue()));
    return utf8;
}

} // namespace ui_wx
