#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class wxWindow;

namespace ui_wx {

// The entries a program adds to its window's system menu. GTK windows have
// no system menu of their own (the window manager draws the title bar), so
// the nearest place a Linux user looks is the window's context menu: it
// opens on a right click on the window's background, with the Menu key,
// with Shift+F10 and with Alt+Space.
class SystemMenu {
public:
    // An entry after a separator (unless `separated` is false); a checkable
    // one shows a check mark while checked.
    void Append(unsigned commandId, std::string_view text, bool separated = true, bool checkable = false);
    // A greyed entry cannot be chosen. Ignored for an unknown command.
    void SetState(unsigned commandId, bool enabled, bool checked);
    bool Empty() const { return m_entries.empty(); }

    // Shows the entries as a pop-up menu at the mouse pointer (or the
    // window's corner when the keyboard asked) and returns the command the
    // user chose, or nothing when the menu was dismissed.
    std::optional<unsigned> Choose(wxWindow& owner, bool atPointer) const;

private:
    struct Entry {
        unsigned commandId;
        std::string text;
        bool separated = true;
        bool checkable = false;
        bool enabled = true;
        bool checked = false;
    };
    std::vector<Entry> m_entries;
};

} // namespace ui_wx
