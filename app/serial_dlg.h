#pragma once

#include "files/background_log.h"
#include "terminal/escape_filter.h"
#include "terminal/ninth_bit.h"
#include "terminal/text_log.h"
#include "serial/com_port.h"
#include "serial/device.h"
#include "terminal/chunk_queue.h"
#include "terminal/receive_batch.h"
#include "transfer/send_state.h"
#include "transfer/sender_host.h"
#include "transfer/xmodem_state.h"
#include "ui/controls.h"
#include "ui/dialog.h"
#include "web/html_ctrl.h"

#include <cstddef>
#include <cstdint>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The timers of the main window.
inline constexpr unsigned TIMER_POLL = 1;
inline constexpr unsigned TIMER_AUTOSEND = 2;
inline constexpr unsigned TIMER_XMODEM = 3;
// The end of a reset pulse and of a break (the line signals' area).
inline constexpr unsigned TIMER_RESET_PULSE = 4;
inline constexpr unsigned TIMER_BREAK = 5;
// Goes on with a read cut short, once the window has been back to its event
// loop; the port's arrival messages wait until then.
inline constexpr unsigned TIMER_ARRIVALS = 6;

inline constexpr unsigned kPollPeriodMs = 300;
// Between ticks the port is read once this much waits (so a fast line never
// fills the port's buffer), or at its first byte while the file sender waits
// for a reply.
inline constexpr std::size_t kReadOnArrivalBytes = 64 * 1024;

// The main window. It owns every piece of state of the program: the values
// bound to its controls, the open port, the counters, the receive display
// position, the loaded file and the file sender's state. Its members are
// defined in app/, one file per area, named in the sections below.
class CSerialDlg : public ui::MappedDialog<CSerialDlg>, private transfer::SenderHost {
public:
    explicit CSerialDlg(serial::DeviceSystem& devices);
    ~CSerialDlg() override;

    static const ui::MessageMap<CSerialDlg>& GetMessageMap();

    // --- Bound controls -------------------------------------------------------
    CHTMLCtrl m_wndAdvert;
    ui::ProgressBar m_ctlProgress;
    ui::Button m_btnAutoSend;
    ui::Button m_btnSendFile;
    ui::Button m_btnSend;
    ui::ComboBox m_cboProtocol;
    ui::Button m_btnClearCount;
    ui::Button m_btnPause;
    ui::Static m_stcTxCount;
    ui::Static m_stcRxCount;
    ui::ComboBox m_cboAddrSize;
    ui::Button m_btnOpen;
    ui::ComboBox m_cboStopBits;
    ui::ComboBox m_cboPort;
    ui::ComboBox m_cboParity;
    ui::Edit m_edtTx;
    ui::Edit m_edtRx;
    ui::ComboBox m_cboByteSize;
    ui::ComboBox m_cboBaud;

    // --- Exchanged values -----------------------------------------------------
    int m_bAutoClear;
    int m_bRxAscii;
    int m_bTxAscii;
    int m_bAutoSend;
    std::int32_t m_nBaudIndex;
    std::uint32_t m_nTxCycle;
    std::int32_t m_nByteSizeIndex;
    std::int32_t m_nParityIndex;
    std::int32_t m_nPortIndex;
    std::int32_t m_nStopBitsIndex;
    std::string m_strTxData;
    std::int32_t m_nAddrSize;
    std::string m_strFilePath;
    std::int32_t m_nProtocol;
    int m_bHideAdvert;

    // --- Program state --------------------------------------------------------
    int m_hIcon; // resource of the window's icon, 0 when none
    std::string m_strIniPath;
    std::unique_ptr<CComPort> m_pPort; // the open port, or null
    std::uint32_t m_nTxCount;
    std::uint32_t m_nRxCount;
    int m_bPaused;
    std::uint32_t m_nRxShown;
    // The file sender: its state, protocol, block index, check mode, re-send
    // count and the loaded file (m_send.m_nXState, m_send.m_pFileData, ...).
    transfer::FileSendState m_send;

    // --- Settings file (serial_dlg_settings.cpp) ------------------------------
    bool LoadSettings();
    void SaveSettings();
    // The advert address of the settings file; nothing when it has none.
    std::optional<std::string> ReadAdvertSetting() const;

    // --- Serial port (serial_dlg_port.cpp) ------------------------------------
    void FillPortList();
    std::intptr_t OnDeviceChange(std::uintptr_t event, std::intptr_t data);
    void OnOpenPort();
    void OnClosePort();
    void OnSelChangeBaud();
    void OnSelChangeByteSize();
    void OnSelChangeParity();
    void OnSelChangeStopBits();
    // The port list's selection changed: only its tooltip follows, the
    // port in use stays until the next opening.
    void OnSelChangePort();
    void ShowPortNotOpen();

    // --- Terminal (serial_dlg_receive.cpp, serial_dlg_transmit.cpp) -----------
    void PollReceive();
    // The port's reader has bytes: they are read at once (a transfer's
    // reply is acted on as soon as it arrives) and shown at the next tick.
    void OnPortDataArrived();
    void OnClearRx();
    void OnPause();
    void OnClearCounters();
    void SendTxData();
    void OnSend();
    void OnClearTx();
    void OnAutoSend();

    // --- File sending (serial_dlg_file_send.cpp) ------------------------------
    void OnBrowseFile();
    void OnSendFile();
    void HandleXmodemReply(const std::uint8_t* reply, std::uint32_t count);

    // --- Pages (serial_dlg_pages.cpp) -----------------------------------------
    void OpenHelpPage();
    void OnHideAdvert();
    void OnHelpInfo();

    // --- Main window (serial_dlg.cpp, serial_dlg_layout.cpp) ------------------
    void OnSysCommand(unsigned id, std::intptr_t param);
    void OnTimer(unsigned id);
    void OnClose();
    void OnDestroy();
    void OnSize();
    // Gives the Help button its bitmap, keeping its bottom-left corner.
    void PlaceHelpButton();

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // What the file sender does to the window, the port and the timer.
    bool WritePort(const std::uint8_t* data, std::uint32_t length) override;
    bool WritePortShared(std::shared_ptr<const std::uint8_t[]> block, std::uint32_t length) override;
    bool PortStillSending() override;
    void StartResponseTimer() override;
    void StopResponseTimer() override;
    void SetProgress(std::uint32_t position) override;
    void AddToSentCount(std::uint32_t bytes) override;
    void SetSendControlsEnabled(bool enabled) override;
    void ShowMessage(const char* text) override;
    void Pause(std::uint32_t ms) override;

    // --- Line signals (serial_dlg_line_signals.cpp) ----------------------------
    void AddLineSignalMenu();
    // The entries greyed without a port, and DTR's and RTS's check marks.
    void ShowLineSignals();
    // Back to the state a port opens with: both lines raised, no pulse.
    void ResetLineSignals();
    // A line signal entry of the window menu; false for any other command.
    bool OnLineSignalCommand(unsigned id);
    bool SetLine(serial::ModemLine line, bool raised);
    void StartResetPulse();
    void EndResetPulse();
    void StartBreak();
    void EndBreak();
    void ShowLineSignalFailure(const std::string& what, const base::Status& failure);

    // --- Capture (serial_dlg_capture.cpp) --------------------------------------
    void AddCaptureMenu();
    // The menu's check marks and the title bar's note of a running log.
    void ShowCapture();
    // A capture entry of the window menu; false for any other command.
    bool OnCaptureCommand(unsigned id);
    // `shown`: the bytes as the receive box takes them (without escape
    // sequences when they are hidden), for the text log; the raw log keeps
    // all n.
    void CaptureReceived(const std::uint8_t* bytes, std::uint32_t n, std::span<const std::uint8_t> shown);
    void ShowReceived(std::span<const std::uint8_t> bytes);
    void CaptureSentFrame(const std::uint8_t* frame, std::uint32_t n, std::uint32_t addressBytes);
    void CaptureSentFile(const std::string& path, std::uint32_t size, std::string_view protocol);

    // --- Address bytes received (serial_dlg_ninth_bit.cpp) ---------------------
    void AddNinthBitMenu();
    bool OnNinthBitCommand(unsigned id);
    void OnSelChangeAddrSize();
    // Chosen in the menu and offered: an Address Size of 1 or more.
    bool NinthBitShown() const;
    // The menu entry, and the open port's receive mode, as NinthBitShown says.
    void ApplyNinthBit();
    // An address byte: the text log and the receive box start a line marked
    // "[01] " with it.
    void CaptureAddressByte(std::uint8_t byte);
    void ShowAddressByte(std::uint8_t byte);
    // Writes what has gathered; a failure stops the log with one box.
    void FlushCapture();
    void StopCapture();
    void EndCapture(const base::Status& outcome);

    // Asks the open port to wake the window when bytes arrive.
    void WatchPortArrivals();
    void ReceiveChunk(const std::uint8_t* chunk, std::uint32_t n);
    // Part of a chunk: data bytes, or one address byte.
    void ReceivePiece(std::span<const std::uint8_t> bytes, bool address);
    // What became of the transmit box's frame.
    enum class FrameOutcome { Sent, Nothing, PortStillSending };
    FrameOutcome SendTxFrame();
    // Shows the sent counter's new value.
    void ShowTxCount();
    // Empties a box the way a user's select-all and delete would: the
    // selection is scrolled to first, so the box is left at its top.
    static void EmptyBox(ui::Edit& box);
    // Whether a read took everything that had arrived, or left some for later
    // (its time budget spent, or a log's disk behind).
    enum class Drain { Done, CutShort };
    // A poll run when bytes arrive: reads as PollReceive does and leaves the
    // showing to the poll timer.
    Drain PollOnArrival();
    void DeferArrivals();
    void OnArrivalsResumed();
    // Refreshes only the members a poll uses: display mode, automatic empty.
    void ExchangePollFields();
    // Reads what has arrived and hands it on, with the members as they
    // stand; the receive box shows it at the next FlushDisplay.
    Drain DrainPort();
    // While the open port's device is gone: says so in the title bar and
    // reopens it with its line settings as soon as it is back.
    void WatchDevice();
    void ShowDeviceState();
    // The port list's tooltip says what stands behind the selected port.
    void ShowPortDescription();
    // Shows what is pending: received text and the counters' labels.
    void FlushDisplay();
    // Sets one field of an open port's line settings and applies them.
    template <typename T>
    // The port's ApplySettings result; 1 without a port.
    int SetLineSetting(T DCB::*field, T value);

    // Received text waiting to be shown at the end of a tick, and whether
    // the received counter's label is due.
    terminal::ReceiveBatch m_rxBatch;
    // Bytes read from the port and not yet handed on.
    terminal::ChunkQueue m_rxChunks;
    bool m_bRxCountChanged = false;
    bool m_bTxCountChanged = false; // the sent counter's label is due
    // The baud rate list's rows: the built-in rates, then the settings file's
    // [BAUD] extra ones (serial::BaudRateRows); read once at start-up.
    std::vector<std::uint32_t> m_baudRates;
    // The line signals: as the user set them since Open, and the reset
    // pulse's and break's settings from [SIGNALS].
    struct LineSignals {
        bool dtrRaised = true;
        bool rtsRaised = true;
        bool breakOn = false; // a break is under way
        std::vector<serial::ModemLine> resetLines{serial::ModemLine::Dtr};
        unsigned resetMs = 100;
        unsigned breakMs = 250;
    } m_lineSignals;
    // The log to a file, when one runs, and how it is written.
    struct Capture {
        std::unique_ptr<files::BackgroundLog> file; // written on a thread of its own
        bool text = false;                          // readable lines, else the raw bytes
        std::string folder;
        std::chrono::milliseconds gap{20};
        terminal::TextLog textLog;
        std::string pending; // written in large pieces
        // Received text shows without terminal escape sequences.
        bool hideEscapes = false;
        // The receive box starts each line, or each quiet-separated frame,
        // with the time; where the next shown byte stands.
        bool timestamps = false;
        bool atLineStart = true;
        terminal::WallClock::time_point lastShown{};
        terminal::EscapeFilter escapes;
        std::vector<std::uint8_t> filtered; // one chunk, without them
    } m_capture;
    // Received bytes with their ninth bit: which are address bytes.
    struct NinthBit {
        bool chosen = false;
        terminal::NinthBitDecoder decoder;
        std::vector<std::uint8_t> bytes;    // one chunk, as on the line
        std::vector<std::size_t> addresses; // where its address bytes stand
    } m_ninthBit;
    // An arrival message is posted and not yet served (set by the port's
    // reader thread, cleared by the window's).
    std::atomic<bool> m_arrivalPosted{false};
    // A read was cut short; the arrivals timer goes on with it.
    bool m_bArrivalsDeferred = false;
    // The open port's device has gone away and not come back yet.
    bool m_bDeviceGone = false;
    serial::DeviceSystem& m_devices;
    std::unique_ptr<serial::HotplugWatch> m_hotplug;
};
