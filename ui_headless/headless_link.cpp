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
    dialog_ = nullptr;
    links_.clear();
}

void HeadlessWindow::MakeLink(int id, bool underlined, LinkListener* listener)
{
    if (!Find(id))
        return;
    LinkState& link = links_[id];
    link.look.underlined = underlined;
    link.look.handCursor = true;
    link.listener = listener;
}

void HeadlessWindow::SetTextColour(int id, COLORREF colour)
{
    if (auto it = links_.find(id); it != links_.end())
        it->second.look.colour = colour;
}

void HeadlessWindow::SetToolTip(int id, std::string_view text)
{
    Set(id, &State::toolTip, std::string(text));
    if (auto it = links_.find(id); it != links_.end())
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
    auto it = links_.find(id);
    if (it == links_.end())
        return std::nullopt;
    return it->second.look;
}

void HeadlessWindow::HoverLink(int id, bool inside)
{
    auto it = links_.find(id);
    if (it == links_.end() || !Usable(id) || it->second.hovered == inside)
        return;
    it->second.hovered = inside;
    if (it->second.listener)
        it->second.listener->OnLinkHover(inside);
}

void HeadlessWindow::MoveMouseUnseen(int id, bool inside)
{
    if (auto it = links_.find(id); it != links_.end())
        it->second.hovered = inside;
}

bool HeadlessWindow::IsMouseOver(int id) const
{
    auto it = links_.find(id);
    return it != links_.end() && it->second.hovered;
}

void HeadlessWindow::ClickLink(int id)
{
    HoverLink(id, true);
    auto it = links_.find(id);
    if (it == links_.end() || !Usable(id) || !it->second.listener)
        return;
    it->second.listener->OnLinkClicked();
}

} // namespace ui::headless
