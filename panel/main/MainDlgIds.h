#pragma once
// Ids of the main window (template 552): its controls, the page templates
// and the pictures it shows.

inline constexpr int IDD_MAIN = 552;

// Controls.
inline constexpr int IDC_TAB_GENERAL = 1221;
inline constexpr int IDC_APPLY = 1222;
inline constexpr int IDC_TAB_HELP = 1223;
inline constexpr int IDC_TAB_ACTIVITY = 1224;
inline constexpr int IDC_TAB_PROXY = 1225;
inline constexpr int IDC_TAB_ADVANCED = 1226;
inline constexpr int IDC_CLOSE = 1227;
inline constexpr int IDC_PAGE_FRAME = 1228;

// Page templates.
inline constexpr int IDD_GENERAL_PAGE = 551;
inline constexpr int IDD_HELP_PAGE = 323;
inline constexpr int IDD_ACTIVITY_PAGE = 137;
inline constexpr int IDD_PROXY_PAGE = 136;
inline constexpr int IDD_ADVANCED_PAGE = 135;

// GIF pictures.
inline constexpr unsigned IDR_MAIN_BACKGROUND = 371;
inline constexpr unsigned IDR_APPLY_MODIFIED = 496;
inline constexpr unsigned IDR_APPLY = 455;
inline constexpr unsigned IDR_CLOSE = 415;

// Icons.
inline constexpr unsigned IDI_RUNNING = 2105;
inline constexpr unsigned IDI_STOPPED = 2106;

// The exit road's timer.
inline constexpr int kExitTimerId = 25022004;
inline constexpr int kExitTimerMs = 200;
