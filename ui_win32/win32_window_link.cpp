// Static texts of a Win32 dialog window shown as web links: the hand
// cursor, the underlined face and colour, and the listener told of the
// pointer's coming and going and of clicks. The keyboard reaches a link as
// it reaches a button: Tab stops on it (a dotted frame round its text shows
// it has the focus), and Enter or Space opens it, as a click does.
#include "ui_win32/win32_window.h"

#include <algorithm>
#include <string>

namespace ui_win32 {

namespace {

constexpr UINT_PTR kLinkSubclass = 1;

} // namespace

void Win32Window::MakeLink(int id, bool underlined, ui::LinkListener* listener)
{
    HWND control = Item(id);
    if (!control)
        return;
    Link& link = m_links[id];
    link.listener = listener;
    ::SetWindowLongPtrW(control, GWL_STYLE, ::GetWindowLongPtrW(control, GWL_STYLE) | WS_TABSTOP);
    ::SetWindowSubclass(control, &Win32Window::LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hwnd, WM_GETFONT, 0, 0));
    if (underlined) {
        if (!m_linkFont) {
            LOGFONTW face{};
            ::GetObjectW(font, sizeof(face), &face);
            face.lfUnderline = TRUE;
            m_linkFont = ::CreateFontIndirectW(&face);
        }
        font = m_linkFont ? m_linkFont : font;
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT CALLBACK Win32Window::LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    return reinterpret_cast<Win32Window*>(data)->OnLinkMessage(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::OnLinkMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto it = m_links.find(::GetDlgCtrlID(control));
    Link* link = it == m_links.end() ? nullptr : &it->second;
    switch (message) {
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
        return TRUE;
    case WM_MOUSEMOVE:
        if (link && !link->inside) {
            link->inside = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control, 0};
            ::TrackMouseEvent(&track);
            if (link->listener)
                link->listener->OnLinkHover(true);
        }
        break;
    case WM_MOUSELEAVE:
        if (link && link->inside) {
            link->inside = false;
            if (link->listener)
                link->listener->OnLinkHover(false);
        }
        break;
    case WM_LBUTTONUP:
        if (link && link->listener)
            link->listener->OnLinkClicked();
        return 0;
    case WM_GETDLGCODE: {
        // Enter and Space are the link's own, not the dialog's default
        // button's.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        const bool own = key && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE);
        return ::DefSubclassProc(control, message, wParam, lParam) | (own ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        if ((wParam == VK_RETURN || wParam == VK_SPACE) && link && link->listener) {
            link->listener->OnLinkClicked();
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT painted = ::DefSubclassProc(control, message, wParam, lParam);
        if (::GetFocus() == control)
            DrawLinkFocus(control);
        return painted;
    }
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(control, &Win32Window::LinkProc, kLinkSubclass);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// The dotted frame round a link's text while it has the focus.
void Win32Window::DrawLinkFocus(HWND control)
{
    const std::wstring text = [control] {
        std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
        buffer.resize(
            static_cast<std::size_t>(::GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()))));
        return buffer;
    }();
    HDC dc = ::GetDC(control);
    if (!dc)
        return;
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT client{};
    ::GetClientRect(control, &client);
    RECT frame{0, 0, std::min(client.right, extent.cx + 1), std::min(client.bottom, extent.cy + 1)};
    ::DrawFocusRect(dc, &frame);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
}

INT_PTR Win32Window::OnLinkColour(HDC dc, HWND control)
{
    const auto it = m_links.find(::GetDlgCtrlID(control));
    if (it == m_links.end() || !it->second.hasColour)
        return FALSE; // the system's own colours
    ::SetTextColor(dc, it->second.colour);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Window::SetTextColour(int id, ui::COLORREF colour)
{
    HWND control = Item(id);
    if (!control)
        return;
    Link& link = m_links[id];
    link.colour = colour;
    link.hasColour = true;
    ::InvalidateRect(control, nullptr, TRUE);
}

} // namespace ui_win32
