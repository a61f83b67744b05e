#include "app/serial_dlg.h"

#include "settings/profile.h"
#include "settings/record.h"
#include "ui/backend.h"
#include "web/advert.h"

#include <cstdio>
#include <cstring>

// The window's settings in the INI file: three records of 32-bit
// little-endian values and three plain values.

namespace {

using settings::Record;

constexpr const char* kSectionAddr = "COMM_ADDR";
constexpr const char* kSectionPort = "COMM_PORT";
constexpr const char* kSectionRx = "RX";
constexpr const char* kSectionTx = "TX";
constexpr const char* kSectionFile = "TX_FILT";

std::int32_t Signed(std::uint32_t v)
{
    return static_cast<std::int32_t>(v);
}
std::uint32_t Unsigned(std::int32_t v)
{
    return static_cast<std::uint32_t>(v);
}

std::string Decimal(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

// The Win32 reads of "size" and "protocol" go through 16-byte buffers.
constexpr std::size_t kNumberBuffer = 16;

// The one message of a close whose settings could not be written.
std::string SettingsNotSavedText(const base::Status& failure)
{
    return "Settings not saved to '" + failure.what() + "': " + failure.words();
}

} // namespace

bool CSerialDlg::LoadSettings()
{
    const std::string& path = m_strIniPath;

    // A present but empty value leaves the member as it is.
    if (auto size = settings::GetProfileString(kSectionAddr, "size", "1", kNumberBuffer, path); !size.empty())
        m_nAddrSize = settings::ParseDecimal(size);

    m_nPortIndex = 0;
    m_nBaudIndex = 6;
    m_nParityIndex = 0;
    m_nByteSizeIndex = 3;
    m_nStopBitsIndex = 0;
    if (Record<5> port; port.Read(kSectionPort, "setup", path)) {
        m_nPortIndex = Signed(port.At(0));
        m_nBaudIndex = Signed(port.At(1));
        m_nParityIndex = Signed(port.At(2));
        m_nByteSizeIndex = Signed(port.At(3));
        m_nStopBitsIndex = Signed(port.At(4));
    }

    m_bRxAscii = 0;
    m_bAutoClear = 1;
    if (Record<2> rx; rx.Read(kSectionRx, "opt", path)) {
        m_bRxAscii = Signed(rx.At(0));
        m_bAutoClear = Signed(rx.At(1));
    }

    m_bTxAscii = 0;
    m_bAutoSend = 0;
    m_nTxCycle = 1000;
    if (Record<3> tx; tx.Read(kSectionTx, "opt", path)) {
        m_bTxAscii = Signed(tx.At(0));
        m_bAutoSend = Signed(tx.At(1));
        m_nTxCycle = tx.At(2);
    }

    m_nProtocol = 1;
    m_strFilePath.clear();
    if (auto protocol = settings::GetProfileString(kSectionFile, "protocol", "1", kNumberBuffer, path);
        !protocol.empty())
        m_nProtocol = settings::ParseDecimal(protocol);
    // The path is read whole: cutting it could make a later send pick
    // another file.
    if (auto file = settings::GetProfileString(kSectionFile, "file", "", 0, path); !file.empty())
        m_strFilePath = file;

    return UpdateData(false);
}

void CSerialDlg::SaveSettings()
{
    UpdateData(true);
    const std::string& path = m_strIniPath;
    // Each write only after the one before it succeeded; the file is never
    // left half-written, so the first failure is the only one to report.
    base::Status saved = settings::WriteProfileString(kSectionAddr, "size", Decimal(m_nAddrSize), path);
    if (saved)
        saved = Record<5>::From({Unsigned(m_nPortIndex), Unsigned(m_nBaudIndex), Unsigned(m_nParityIndex),
                                 Unsigned(m_nByteSizeIndex), Unsigned(m_nStopBitsIndex)})
                    .Write(kSectionPort, "setup", path);
    if (saved)
        saved = Record<2>::From({Unsigned(m_bRxAscii), Unsigned(m_bAutoClear)}).Write(kSectionRx, "opt", path);
    if (saved)
        saved =
            Record<3>::From({Unsigned(m_bTxAscii), Unsigned(m_bAutoSend), m_nTxCycle}).Write(kSectionTx, "opt", path);
    if (saved)
        saved = settings::WriteProfileString(kSectionFile, "protocol", Decimal(m_nProtocol), path);
    if (saved)
        saved = settings::WriteProfileString(kSectionFile, "file", m_strFilePath, path);
    if (!saved)
        ui::AfxMessageBox(SettingsNotSavedText(saved));
}

std::optional<std::string> CSerialDlg::ReadAdvertSetting() const
{
    // No stored value can hold a line break, so this default tells a missing
    // key from an empty one (which means: no remote page at all).
    constexpr std::string_view kMissing = "\n";
    std::string url = settings::GetProfileString(web::kAdvertSection, web::kAdvertUrlKey, kMissing, 0, m_strIniPath);
    if (url == kMissing)
        return std::nullopt;
    return url;
}
