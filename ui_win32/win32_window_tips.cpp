// The tool tips of a Win32 dialog window: one tip window for the dialog,
// each control a tool of it.
#include "ui_win32/win32_text.h"
#include "ui_win32/win32_window.h"

namespace ui_win32 {

void Win32Window::CreateTips()
{
    m_tips = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, nullptr, nullptr);
}

void Win32Window::SetToolTip(int id, std::string_view text)
{
    HWND control = Item(id);
    if (!control || !m_tips)
        return;
    std::wstring wide = Widen(text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    ::SendMessageW(m_tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (wide.empty())
        return; // nothing to show: no empty tip box either
    tool.lpszText = wide.data();
    ::SendMessageW(m_tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace ui_win32
