#include "app/serial_dlg.h"

#include "res/resource_ids.h"
#include "serial/extra_ports.h"
#include "settings/profile.h"
#include "ui/backend.h"
#include "ui/window_impl.h"

#include <array>
#include <string_view>

// The line signals a board's reset and boot-loader circuits hang on: DTR
// and RTS set by hand, a reset pulse and a break. They live in the window
// menu beside "About Vantrel..." (and the system menu on Windows), so no
// control of the window's layout moves; the entries are greyed while no
// port is open. The port opens with both lines under the driver's
// handshake (raised on Linux); a user's choice holds until Close.

namespace {

struct LineSignalEntry {
    unsigned commandId;
    std::string_view text;
    bool checkable;
};

// Each entry of the window menu has an access key of its own, none of
// those the system menu on Windows has already (Restore, Move, Size,
// Minimize, Maximize, Close) nor About's: D, T, P, B here; L, G, H, I for
// the capture's entries.
constexpr std::array<LineSignalEntry, 4> kLineSignalEntries{{
    {res::IDM_DTR, "&DTR", true},
    {res::IDM_RTS, "R&TS", true},
    {res::IDM_RESET_PULSE, "Reset &pulse", false},
    {res::IDM_SEND_BREAK, "Send &break", false},
}};

// Milliseconds from the settings file, within what a line signal may take.
unsigned Milliseconds(const std::string& text, unsigned fallback)
{
    const long value = text.empty() ? -1 : settings::ParseDecimal(text);
    return value >= 1 && value <= 10000 ? static_cast<unsigned>(value) : fallback;
}

std::string_view LineName(serial::ModemLine line)
{
    return line == serial::ModemLine::Dtr ? "DTR" : "RTS";
}

} // namespace

void CSerialDlg::AddLineSignalMenu()
{
    bool first = true;
    for (const LineSignalEntry& entry : kLineSignalEntries) {
        Window()->AppendSystemMenuEntry(entry.commandId, entry.text, first, entry.checkable);
        first = false;
    }
    // [SIGNALS] reset=DTR;RTS (the lines a reset pulse drops), reset_ms,
    // break_ms.
    const std::string& path = m_strIniPath;
    m_lineSignals.resetLines.clear();
    const std::string lines = settings::GetProfileString("SIGNALS", "reset", "DTR", 0, path);
    for (const std::string_view name : serial::SplitExtraList(lines)) {
        if (name == "DTR" || name == "dtr")
            m_lineSignals.resetLines.push_back(serial::ModemLine::Dtr);
        else if (name == "RTS" || name == "rts")
            m_lineSignals.resetLines.push_back(serial::ModemLine::Rts);
    }
    m_lineSignals.resetMs = Milliseconds(settings::GetProfileString("SIGNALS", "reset_ms", "", 0, path), 100);
    m_lineSignals.breakMs = Milliseconds(settings::GetProfileString("SIGNALS", "break_ms", "", 0, path), 250);
    ShowLineSignals();
}

void CSerialDlg::ShowLineSignals()
{
    const bool open = m_pPort != nullptr;
    Window()->SetSystemMenuEntryState(res::IDM_DTR, open, open && m_lineSignals.dtrRaised);
    Window()->SetSystemMenuEntryState(res::IDM_RTS, open, open && m_lineSignals.rtsRaised);
    Window()->SetSystemMenuEntryState(res::IDM_RESET_PULSE, open, false);
    Window()->SetSystemMenuEntryState(res::IDM_SEND_BREAK, open, false);
}

void CSerialDlg::ResetLineSignals()
{
    KillTimer(TIMER_RESET_PULSE);
    KillTimer(TIMER_BREAK);
    m_lineSignals.breakOn = false;
    m_lineSignals.dtrRaised = true;
    m_lineSignals.rtsRaised = true;
    ShowLineSignals();
}

bool CSerialDlg::OnLineSignalCommand(unsigned id)
{
    switch (id) {
    case res::IDM_DTR:
        SetLine(serial::ModemLine::Dtr, !m_lineSignals.dtrRaised);
        return true;
    case res::IDM_RTS:
        SetLine(serial::ModemLine::Rts, !m_lineSignals.rtsRaised);
        return true;
    case res::IDM_RESET_PULSE:
        StartResetPulse();
        return true;
    case res::IDM_SEND_BREAK:
        StartBreak();
        return true;
    default:
        return false;
    }
}

bool CSerialDlg::SetLine(serial::ModemLine line, bool raised)
{
    if (!m_pPort)
        return false;
    if (const base::Status set = m_pPort->SetModemLine(line, raised); !set) {
        ShowLineSignalFailure(std::string(LineName(line)), set);
        return false;
    }
    (line == serial::ModemLine::Dtr ? m_lineSignals.dtrRaised : m_lineSignals.rtsRaised) = raised;
    ShowLineSignals();
    return true;
}

// The lines drop now and rise again when the timer ends the pulse, so the
// window goes on answering meanwhile. One that cannot drop ends the pulse
// before it starts: nothing else changes.
void CSerialDlg::StartResetPulse()
{
    for (const serial::ModemLine line : m_lineSignals.resetLines)
        if (!SetLine(line, false)) {
            EndResetPulse();
            return;
        }
    SetTimer(TIMER_RESET_PULSE, m_lineSignals.resetMs);
}

void CSerialDlg::EndResetPulse()
{
    KillTimer(TIMER_RESET_PULSE);
    for (const serial::ModemLine line : m_lineSignals.resetLines)
        if (m_pPort && m_pPort->SetModemLine(line, true))
            (line == serial::ModemLine::Dtr ? m_lineSignals.dtrRaised : m_lineSignals.rtsRaised) = true;
    ShowLineSignals();
}

void CSerialDlg::StartBreak()
{
    if (!m_pPort)
        return;
    if (const base::Status set = m_pPort->SetBreak(true); !set) {
        ShowLineSignalFailure("break", set);
        return;
    }
    m_lineSignals.breakOn = true;
    SetTimer(TIMER_BREAK, m_lineSignals.breakMs);
}

void CSerialDlg::EndBreak()
{
    KillTimer(TIMER_BREAK);
    if (m_pPort && m_lineSignals.breakOn)
        m_pPort->SetBreak(false);
    m_lineSignals.breakOn = false;
}

void CSerialDlg::ShowLineSignalFailure(const std::string& what, const base::Status& failure)
{
    ui::AfxMessageBox("Port '" + failure.what() + "' cannot set " + what + ": " + failure.words() + ".");
}
