#include "ui_wx/system_menu.h"

#include <wx/menu.h>
#include <wx/window.h>

namespace ui_wx {

void SystemMenu::Append(unsigned commandId, std::string_view text, bool separated, bool checkable)
{
    m_entries.push_back(Entry{commandId, std::string(text), separated, checkable});
}

void SystemMenu::SetState(unsigned commandId, bool enabled, bool checked)
{
    for (Entry& entry : m_entries)
        if (entry.commandId == commandId) {
            entry.enabled = enabled;
            entry.checked = entry.checkable && checked;
        }
}

std::optional<unsigned> SystemMenu::Choose(wxWindow& owner, bool atPointer) const
{
    if (m_entries.empty())
        return std::nullopt;
    // The menu has no entries of its own above the first, so that one needs
    // no separator.
    wxMenu menu;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (i > 0 && entry.separated)
            menu.AppendSeparator();
        const int id = wxID_HIGHEST + 1 + static_cast<int>(i);
        const wxString text = wxString::FromUTF8(entry.text);
        wxMenuItem* item = entry.checkable ? menu.AppendCheckItem(id, text) : menu.Append(id, text);
        if (entry.checkable)
            item->Check(entry.checked);
        item->Enable(entry.enabled);
    }
    const wxPoint where = atPointer ? wxDefaultPosition : wxPoint(0, 0);
    const int chosen = owner.GetPopupMenuSelectionFromUser(menu, where);
    const int index = chosen - (wxID_HIGHEST + 1);
    if (chosen == wxID_NONE || index < 0 || index >= static_cast<int>(m_entries.size()))
        return std::nullopt;
    return m_entries[static_cast<std::size_t>(index)].commandId;
}

} // namespace ui_wx
