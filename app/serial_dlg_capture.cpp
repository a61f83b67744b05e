#include "app/serial_dlg.h"

#include "res/resource_ids.h"
#include "settings/profile.h"
#include "terminal/text_log.h"
#include "transfer/ymodem_header.h"
#include "ui/backend.h"
#include "ui/window_impl.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

// The capture: every byte that arrives, to a log file, raw or as readable
// lines. It is held by the window, not the port, so it runs across Close
// and Open, whatever the receive box does (paused, emptied, full, cut at a
// zero byte); it ends when the user stops it or the window closes. Bytes
// gather in memory and go in large pieces to the log's own writing thread
// (the window never waits for the disk): when a piece is full, at every
// tick of the poll timer (so at least once a second while bytes can
// arrive) and when the port closes.

namespace {

constexpr std::size_t kLogPiece = 256 * 1024;

std::string SuggestedLogName()
{
    const std::tm local = terminal::LocalTime(std::time(nullptr));
    char name[40];
    std::strftime(name, sizeof name, "vantrel-%Y%m%d-%H%M%S.log", &local);
    return name;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

void CSerialDlg::AddCaptureMenu()
{
    const std::string& path = m_strIniPath;
    m_capture.folder = settings::GetProfileString("LOG", "folder", "", 0, path);
    m_capture.text = settings::GetProfileString("LOG", "format", "raw", 0, path) == "text";
    const std::int32_t gap = settings::ParseDecimal(settings::GetProfileString("LOG", "gap_ms", "20", 0, path));
    m_capture.gap = std::chrono::milliseconds(gap >= 1 && gap <= 60000 ? gap : 20);
    m_capture.textLog = terminal::TextLog(m_capture.gap);
    Window()->AppendSystemMenuEntry(res::IDM_LOG_TO_FILE, "&Log to File...", true, true);
    Window()->AppendSystemMenuEntry(res::IDM_LOG_AS_TEXT, "Lo&g as Text", false, true);
    m_capture.hideEscapes = settings::GetProfileString("DISPLAY", "hide_escapes", "0", 0, path) == "1";
    Window()->AppendSystemMenuEntry(res::IDM_HIDE_ESCAPES, "&Hide escape sequences", true, true);
    m_capture.timestamps = settings::GetProfileString("DISPLAY", "timestamps", "0", 0, path) == "1";
    Window()->AppendSystemMenuEntry(res::IDM_TIMESTAMPS, "T&imestamps", false, true);
    ShowCapture();
}

void CSerialDlg::ShowCapture()
{
    Window()->SetSystemMenuEntryState(res::IDM_LOG_TO_FILE, true, m_capture.file != nullptr);
    // The format is chosen before a log starts.
    Window()->SetSystemMenuEntryState(res::IDM_LOG_AS_TEXT, !m_capture.file, m_capture.text);
    Window()->SetSystemMenuEntryState(res::IDM_HIDE_ESCAPES, true, m_capture.hideEscapes);
    Window()->SetSystemMenuEntryState(res::IDM_TIMESTAMPS, true, m_capture.timestamps);
    ShowDeviceState(); // the title bar names the log while it runs
}

bool CSerialDlg::OnCaptureCommand(unsigned id)
{
    if (id == res::IDM_TIMESTAMPS) {
        m_capture.timestamps = !m_capture.timestamps;
        // The next frame gets a stamp, on a line of its own when the box
        // holds some already.
        m_capture.lastShown = {};
        settings::WriteProfileString("DISPLAY", "timestamps", m_capture.timestamps ? "1" : "0", m_strIniPath);
        ShowCapture();
        return true;
    }
    if (id == res::IDM_HIDE_ESCAPES) {
        m_capture.hideEscapes = !m_capture.hideEscapes;
        settings::WriteProfileString("DISPLAY", "hide_escapes", m_capture.hideEscapes ? "1" : "0", m_strIniPath);
        ShowCapture();
        return true;
    }
    if (id == res::IDM_LOG_AS_TEXT) {
        if (m_capture.file)
            return true;
        m_capture.text = !m_capture.text;
        settings::WriteProfileString("LOG", "format", m_capture.text ? "text" : "raw", m_strIniPath);
        ShowCapture();
        return true;
    }
    if (id != res::IDM_LOG_TO_FILE)
        return false;
    if (m_capture.file) {
        StopCapture();
        return true;
    }
    const std::string folder = m_capture.folder.empty() ? std::string() : m_capture.folder + "/";
    const std::optional<std::string> chosen = ui::CurrentBackend().ChooseFileToSave(folder + SuggestedLogName());
    if (!chosen || chosen->empty())
        return true;
    auto file = files::LogFile::Create(*chosen);
    if (!file) {
        ui::AfxMessageBox("The log file '" + *chosen + "' cannot be written: " + file.status().words() + ".");
        return true;
    }
    m_capture.file = std::make_unique<files::BackgroundLog>(std::move(*file));
    m_capture.folder = FolderOf(*chosen);
    settings::WriteProfileString("LOG", "folder", m_capture.folder, m_strIniPath);
    ShowCapture();
    return true;
}

void CSerialDlg::CaptureReceived(const std::uint8_t* bytes, std::uint32_t n, std::span<const std::uint8_t> shown)
{
    if (!m_capture.file)
        return;
    if (m_capture.text)
        m_capture.textLog.Received(shown, terminal::WallClock::now(), m_bRxAscii == 0, m_capture.pending);
    else
        m_capture.pending.append(reinterpret_cast<const char*>(bytes), n);
    if (m_capture.pending.size() >= kLogPiece)
        FlushCapture();
}

// With time stamps, each received line (text) or each frame the line was
// quiet before (hexadecimal, on a line of its own) starts with
// "[15:04:05.123] ". The stamps take their place in the box and count toward
// its limit; what follows them keeps the box's rules. Without, the bytes go
// to the box as they always did.
void CSerialDlg::ShowReceived(std::span<const std::uint8_t> bytes)
{
    const auto limit = static_cast<std::uint32_t>(m_edtRx.GetLimitText());
    const bool ascii = m_bRxAscii != 0;
    const bool autoClear = m_bAutoClear != 0;
    if (!m_capture.timestamps) {
        m_rxBatch.Add(bytes.data(), bytes.size(), ascii, m_nRxShown, limit, autoClear);
        m_capture.atLineStart = ascii && bytes.back() == '\n'; // where an address byte's line starts
        return;
    }
    const auto now = terminal::WallClock::now();
    const auto stamp = [&](bool ownLine) {
        const std::string text = (ownLine ? "\r\n" : "") + terminal::ScreenStamp(now);
        m_rxBatch.AddText(text, static_cast<std::uint32_t>(text.size()), m_nRxShown, limit, autoClear);
    };
    if (!ascii) {
        if (m_capture.atLineStart || now - m_capture.lastShown >= m_capture.gap)
            stamp(!m_capture.atLineStart && m_nRxShown > 0);
        m_capture.atLineStart = false;
        m_rxBatch.Add(bytes.data(), bytes.size(), false, m_nRxShown, limit, autoClear);
    } else {
        for (std::size_t from = 0; from < bytes.size();) {
            if (m_capture.atLineStart)
                stamp(false);
            const auto lf = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), '\n');
            const std::size_t end = lf == bytes.end() ? bytes.size() : static_cast<std::size_t>(lf - bytes.begin()) + 1;
            m_rxBatch.Add(bytes.data() + from, end - from, true, m_nRxShown, limit, autoClear);
            m_capture.atLineStart = lf != bytes.end();
            from = end;
        }
    }
    m_capture.lastShown = now;
}

void CSerialDlg::CaptureSentFrame(const std::uint8_t* frame, std::uint32_t n, std::uint32_t addressBytes)
{
    if (m_capture.file && m_capture.text)
        m_capture.textLog.SentFrame({frame, n}, addressBytes, terminal::WallClock::now(), m_capture.pending);
}

void CSerialDlg::CaptureSentFile(const std::string& path, std::uint32_t size, std::string_view protocol)
{
    if (m_capture.file && m_capture.text)
        m_capture.textLog.SentFile(transfer::BaseName(path), size, protocol, terminal::WallClock::now(),
                                   m_capture.pending);
}

void CSerialDlg::FlushCapture()
{
    if (!m_capture.file)
        return;
    if (!m_capture.pending.empty()) {
        m_capture.file->Append(std::move(m_capture.pending));
        m_capture.pending.clear();
    }
    if (const auto failure = m_capture.file->TakeFailure())
        EndCapture(*failure);
}

void CSerialDlg::StopCapture()
{
    if (!m_capture.file)
        return;
    if (m_capture.text)
        m_capture.textLog.Finish(m_capture.pending);
    m_capture.file->Append(std::move(m_capture.pending));
    m_capture.pending.clear();
    EndCapture(m_capture.file->Close());
}

// What was written stays whole; the port, the display and the counters
// carry on without the log. A failure is told once.
void CSerialDlg::EndCapture(const base::Status& outcome)
{
    const std::string path = m_capture.file->path();
    m_capture.file.reset();
    m_capture.pending.clear();
    m_capture.textLog = terminal::TextLog(m_capture.gap);
    ShowCapture();
    if (!outcome)
        ui::AfxMessageBox("Logging to '" + path + "' stopped: " + outcome.words() + ".");
}
