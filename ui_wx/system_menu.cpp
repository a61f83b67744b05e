#include "ui_wx/system_menu.h"

#include <wx/menu.h>
#include <wx/window.h>

namespace ui_wx {

void SystemMenu::Append(unsigned commandId, std::string_view text)
{
    m_entries.push_back(Entry{commandId, std::string(text)});
}

std::optional<unsigned> SystemMenu::Choose(wxWindow& owner, bool atPointer) const
{
    if (m_entries.empty())
        return std::nullopt;
    // Each appended entry comes after a separator; the menu has no entries
    // of its own above the first, so that one needs none.
    wxMenu menu;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i > 0)
            menu.AppendSeparator();
        menu.Append(wxID_HIGHEST + 1 + static_cast<int>(i), wxString::FromUTF8(m_entries[i].text));
    }
    const wxPoint where = atPointer ? wxDefaultPosition : wxPoint(0, 0);
    const int chosen = owner.GetPopupMenuSelectionFromUser(menu, where);
    const int index = chosen - (wxID_HIGHEST + 1);
    if (chosen == wxID_NONE || index < 0 || index >= static_cast<int>(m_entries.size()))
        return std::nullopt;
    return m_entries[static_cast<std::size_t>(index)].commandId;
}

} // namespace ui_wx
