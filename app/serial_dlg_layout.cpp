#include "app/serial_dlg.h"

#include "res/bitmaps.h"
#include "res/resource_ids.h"
#include "ui/bitmap.h"
#include "ui/window_impl.h"

#include <algorithm>

namespace {
constexpr int kMargin = 10;     // the HTML pane's distance from the right and bottom edges
constexpr int kReceiveGap = 9;  // least distance between the receive and transmit boxes
constexpr int kButtonFrame = 7; // how much wider and higher the Help button is than its bitmap
} // namespace

// The right-hand column follows the window's size: the HTML pane keeps its
// height and stays 10 pixels from the right and bottom edges, the transmit
// box moves with it, and the receive box takes all the change in height.
// The left-hand column never moves.
void CSerialDlg::OnSize()
{
    if (!m_edtRx.IsBound() || !m_wndAdvert.IsBound())
        return; // the controls are not attached yet
    const ui::Rect client = Window()->GetClientRect();
    const ui::Rect r = m_edtRx.GetRect();
    const ui::Rect t = m_edtTx.GetRect();
    const ui::Rect p = m_wndAdvert.GetRect();

    const int dy = client.bottom - p.bottom - kMargin;
    const int dx = client.right - p.right - kMargin;

    const ui::Rect pane{p.left, p.top + dy, p.right + dx, p.bottom + dy};
    const ui::Rect transmit{t.left, t.top + dy, t.right + dx, t.bottom + dy};
    const ui::Rect receive{r.left, r.top, r.right + dx, std::min(r.bottom + dy, transmit.top - kReceiveGap)};

    m_wndAdvert.MoveWindow(pane);
    m_edtTx.MoveWindow(transmit);
    m_edtRx.MoveWindow(receive);
}

// The Help button shows its bitmap and fits it with a small frame; it keeps
// its left and bottom edges, so it stays level with the Hide box.
void CSerialDlg::PlaceHelpButton()
{
    ui::Button help;
    help.Bind(*this, res::IDC_HELP);
    const auto bitmap = res::LoadBitmap(res::IDB_HELP);
    const auto size = ui::XpmSize(bitmap);
    if (!size)
        return;
    help.SetBitmap(bitmap);
    help.MoveWindow(ui::ButtonRectAroundBitmap(help.GetRect(), *size, kButtonFrame));
}
