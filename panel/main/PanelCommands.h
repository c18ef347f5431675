#pragma once
// Command ids and window messages of the control panel, declared once.

#include "platform/Messages.h"

// Commands (menus of the tray icon, buttons of the pages).
inline constexpr int kCmdShowHelp = 32776;
inline constexpr int kCmdExit = 32777;
inline constexpr int kCmdRestoreHelp = 32778;
inline constexpr int kCmdStopServer = 32779;
inline constexpr int kCmdStartServer = 32782;

// Window messages the host posts to the main window.
inline constexpr platform::UINT WM_PANEL_SERVER_STOPPED = platform::WM_USER + 6;
inline constexpr platform::UINT WM_PANEL_SERVER_STARTED = platform::WM_USER + 7;
inline constexpr platform::UINT WM_HIDE_TO_TRAY = platform::WM_USER + 12;
inline constexpr platform::UINT WM_TRAY_NOTIFY = 1034;
