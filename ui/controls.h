#pragma once

#include "ui/geometry.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ui {

class Dialog;
class WindowImpl;

// A control object bound by identifier to a control of a dialog's window.
// Until it is bound, and after the window is gone, every operation does
// nothing and every query answers empty or zero.
class Control {
public:
    virtual ~Control() = default;

    // Binds the object to the control and runs PreSubclassWindow.
    void Bind(Dialog& dialog, int id);
    bool IsBound() const { return m_dialog != nullptr; }
    int Id() const { return m_id; }

    void EnableWindow(bool enabled);
    bool IsWindowEnabled() const;
    void ShowWindow(bool visible);
    bool IsWindowVisible() const;
    void SetWindowText(std::string_view text);
    std::string GetWindowText() const;
    Rect GetRect() const; // in the dialog's client pixels
    void MoveWindow(const Rect& rect);
    // The tip shown while the mouse rests on the control; empty: none.
    void SetToolTip(std::string_view text);
    // The control's style bits from its dialog template; 0 when unbound.
    std::uint32_t GetStyle() const;

protected:
    WindowImpl* Window() const;
    // Runs when the object has just been bound, so a derived control can
    // set up its window.
    virtual void PreSubclassWindow() {}

private:
    Dialog* m_dialog = nullptr;
    int m_id = 0;
};

class Button : public Control {
public:
    int GetCheck() const;
    void SetCheck(int state);
    // Shows the image (XPM rows) on the button.
    void SetBitmap(std::span<const char* const> xpm);
};

class Static : public Control {};

class ComboBox : public Control {
public:
    void ResetContent();
    int AddString(std::string_view text);
    int GetCount() const;
    int GetCurSel() const;
    void SetCurSel(int row);
    std::string GetLBText(int row) const;
};

class Edit : public Control {
public:
    int GetLimitText() const;
    void LimitText(int limit);
    void SetSel(int start, int end);
    void ReplaceSel(std::string_view text);
    void ScrollCaret();
};

class ProgressBar : public Control {
public:
    void SetRange(int lower, int upper);
    void SetPos(int pos);
    int GetPos() const;
};

} // namespace ui
