#pragma once

// Identifiers of the program's resources and of the main window's controls.
namespace res {

inline constexpr int IDD_MAIN = 102;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDR_MAINFRAME = 128; // the application icon
inline constexpr int IDB_HELP = 131;      // the Help button's face

inline constexpr int IDC_PORT = 1002;
inline constexpr int IDC_OPEN = 1003;
inline constexpr int IDC_RX_ASCII = 1004;
inline constexpr int IDC_BAUD = 1005;
inline constexpr int IDC_PARITY = 1006;
inline constexpr int IDC_BYTE_SIZE = 1007;
inline constexpr int IDC_STOP_BITS = 1008;
inline constexpr int IDC_CLOSE = 1009;
inline constexpr int IDC_AUTO_CLEAR = 1010;
inline constexpr int IDC_CLEAR_RX = 1011;
inline constexpr int IDC_PROTOCOL = 1012;
inline constexpr int IDC_TX_ASCII = 1013;
inline constexpr int IDC_AUTO_SEND = 1014;
inline constexpr int IDC_SEND = 1015;
inline constexpr int IDC_TX_CYCLE = 1016;
inline constexpr int IDC_CLEAR_TX = 1017;
inline constexpr int IDC_RX = 1018;
inline constexpr int IDC_TX = 1019;
inline constexpr int IDC_TX_COUNT = 1020;
inline constexpr int IDC_RX_COUNT = 1021;
inline constexpr int IDC_ADVERT = 1022;
inline constexpr int IDC_ADDR_SIZE = 1023;
inline constexpr int IDC_CLEAR_COUNT = 1024;
inline constexpr int IDC_PAUSE = 1025;
inline constexpr int IDC_SEND_FILE = 1026;
inline constexpr int IDC_FILE_PATH = 1029;
inline constexpr int IDC_BROWSE = 1030;
inline constexpr int IDC_PROGRESS = 1031;
inline constexpr int IDC_HELP = 1032;
inline constexpr int IDC_HIDE = 1034;

// The system-menu command of the About entry.
inline constexpr unsigned IDM_ABOUTBOX = 16;
// The window menu's line signal entries (system menu commands: multiples of 16).
inline constexpr unsigned IDM_DTR = 32;
inline constexpr unsigned IDM_RTS = 48;
inline constexpr unsigned IDM_RESET_PULSE = 64;
inline constexpr unsigned IDM_SEND_BREAK = 80;
// The capture's entries.
inline constexpr unsigned IDM_LOG_TO_FILE = 96;
inline constexpr unsigned IDM_LOG_AS_TEXT = 112;
inline constexpr unsigned IDM_HIDE_ESCAPES = 128;
inline constexpr unsigned IDM_TIMESTAMPS = 144;
inline constexpr unsigned IDM_ADDRESS_BYTES = 160;

} // namespace res
