// Link controls of the headless window: their looks are kept for the test
// to read, and the test's mouse reaches the control's listener.
#include "ui/dialog.h"
#include "ui_headless/headless_window.h"

namespace ui::headless {

namespace {
// Text is measured in the dialog font's average character cell, the one
// dialog units are based on: 6 x 13 pixels.
constexpr int kCharWidth = 6;
constexpr int kLineHeight = 13;
} // namespace

void HeadlessWindow::DialogDeleted()
{
    m_dialog = nullptr;
    m_links.clear();
}

void HeadlessWindow::MakeLink(int id, bool underlined, LinkListener* listener)
{
    if (!Find(id))
        return;
    LinkState& link = m_links[id];
    link.look.underlined = underlined;
    link.look.handCursor = true;
    link.listener = listener;
}

void HeadlessWindow::SetTextColour(int id, COLORREF colour)
{
    if (auto it = m_links.find(id); it != m_links.end())
        it->second.look.colour = colour;
}

void HeadlessWindow::SetToolTip(int id, std::string_view text)
{
    Set(id, &State::toolTip, std::string(text));
    if (auto it = m_links.find(id); it != m_links.end())
        it->second.look.toolTip = text;
}

Size HeadlessWindow::GetTextExtent(int id) const
{
    const State* s = Find(id);
    if (!s)
        return {};
    return Size{kCharWidth * static_cast<int>(s->text.size()), kLineHeight};
}

std::optional<HeadlessWindow::LinkLook> HeadlessWindow::Link(int id) const
{
    auto it = m_links.find(id);
    if (it == m_links.end())
        return std::nullopt;
    return it->second.look;
}

void HeadlessWindow::HoverLink(int id, bool inside)
{
    auto it = m_links.find(id);
    if (it == m_links.end() || !Usable(id) || it->second.hovered == inside)
        return;
    it->second.hovered = inside;
    if (it->second.listener)
        it->second.listener->OnLinkHover(inside);
}

void HeadlessWindow::MoveMouseUnseen(int id, bool inside)
{
    if (auto it = m_links.find(id); it != m_links.end())
        it->second.hovered = inside;
}

bool HeadlessWindow::IsMouseOver(int id) const
{
    auto it = m_links.find(id);
    return it != m_links.end() && it->second.hovered;
}

void HeadlessWindow::ClickLink(int id)
{
    HoverLink(id, true);
    auto it = m_links.find(id);
    if (it == m_links.end() || !Usable(id) || !it->second.listener)
        return;
    it->second.listener->OnLinkClicked();
}

} // namespace ui::headless
