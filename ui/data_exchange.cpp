#include "ui/data_exchange.h"

#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/window_impl.h"

#include <string>

namespace ui {

void DataExchange::Fail(int id, std::string_view message)
{
    if (m_failed)
        return;
    m_failed = true;
    m_dialog.ReportFieldFailure(id, message);
}

void DDX_Control(DataExchange& dx, int id, Control& control)
{
    // The first exchange binds; later ones leave a bound object alone.
    if (!control.IsBound())
        control.Bind(dx.GetDialog(), id);
}

void DDX_Check(DataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    WindowImpl* w = dx.GetDialog().Window();
    if (dx.Saving()) {
        value = w->GetCheck(id);
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    w->SetCheck(id, value);
}

void DDX_CBIndex(DataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    WindowImpl* w = dx.GetDialog().Window();
    if (dx.Saving())
        value = w->GetCurSel(id);
    else
        w->SetCurSel(id, value);
}

void DDX_Text(DataExchange& dx, int id, std::uint32_t& value)
{
    if (dx.Failed())
        return;
    WindowImpl* w = dx.GetDialog().Window();
    if (!dx.Saving()) {
        w->SetText(id, std::to_string(value));
        return;
    }
    if (auto parsed = ParseUnsignedField(w->GetText(id))) {
        value = *parsed;
        dx.GetDialog().ClearFieldFailure(id);
    } else {
        dx.Fail(id, kMessageNotUnsigned);
    }
}

void DDX_Text(DataExchange& dx, int id, std::string& value)
{
    if (dx.Failed())
        return;
    Dialog& dialog = dx.GetDialog();
    WindowImpl* w = dialog.Window();
    if (dx.Saving()) {
        std::string shown = w->GetText(id);
        if (const std::string* given = dialog.UntouchedText(id, shown))
            value = *given;
        else
            value = std::move(shown);
        return;
    }
    w->SetText(id, value);
    dialog.RememberGivenText(id, value, w->GetText(id));
}

std::optional<std::uint32_t> ParseUnsignedField(std::string_view text)
{
    // The field is read from a 32-character buffer: the rest is not seen.
    text = text.substr(0, 31);
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const std::size_t digitsStart = i;
    std::uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt; // no digit: empty, a sign, or other text
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace ui
