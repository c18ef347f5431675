#pragma once
// Message numbers of the engine: window messages posted to the attached
// control-panel window, and thread messages between the engine's threads.

#include "platform/Types.h"

// To the attached view (all posted, wParam 0).
inline constexpr platform::UINT WM_RELAY_BALLOON = 2251;          // 0x8CB: m_StrBallonLog is ready
inline constexpr platform::UINT WM_RELAY_TOOLBAR_REQUEST = 2266;  // 0x8DA: switch code 4..9 in lParam
inline constexpr platform::UINT WM_RELAY_SERVER_RUNNING = 2268;   // 0x8DC
inline constexpr platform::UINT WM_RELAY_SERVER_STOPPED = 2269;   // 0x8DD

// To the window attached to a log (all posted, lParam 0).
inline constexpr platform::UINT WM_RELAY_FILTERLOG_CHANGED = 2247;  // 0x8C7: call AddToLog
inline constexpr platform::UINT WM_RELAY_CHAINLOG_RESET = 2257;     // 0x8D1: empty the tree
inline constexpr platform::UINT WM_RELAY_CHAINLOG_ITEM = 2258;      // 0x8D2: wParam chain index
inline constexpr platform::UINT WM_RELAY_PROGLOG_RESET = 2259;      // 0x8D3: empty the list
inline constexpr platform::UINT WM_RELAY_PROGLOG_ITEM = 2260;       // 0x8D4: wParam entry index

// To the proxy-server thread.
inline constexpr platform::UINT WM_RELAY_START_SERVER = 2253;   // 0x8CD
inline constexpr platform::UINT WM_RELAY_STOP_SERVER = 2254;    // 0x8CE
// wParam: the connected socket handle, or -1 when the setup failed;
// lParam: the CCommonBase* it belongs to.
inline constexpr platform::UINT WM_RELAY_ATTACH_SOCKET = 2265;  // 0x8D9
// The hunter download thread's own start message; swallowed here.
inline constexpr platform::UINT WM_RELAY_HUNTER_QUIT = 3292;    // 0xCDC
// To the hunter download thread: fetch the hunter's pending address.
inline constexpr platform::UINT WM_RELAY_HUNTER_DOWNLOAD = 2252;  // 0x8CC

// To the util thread.
// wParam 1: delete the proxy afterwards; 0: it stays with its owner.
inline constexpr platform::UINT WM_RELAY_ADD_PROXY = 2255;        // 0x8CF, lParam CProxy*
inline constexpr platform::UINT WM_RELAY_REMOVE_PROXY = 2264;     // 0x8D8, lParam CProxy*, deleted afterwards
inline constexpr platform::UINT WM_RELAY_TOOLBAR_DATA_IN = 12296;   // 0x3008, wParam total received
inline constexpr platform::UINT WM_RELAY_TOOLBAR_DATA_OUT = 12297;  // 0x3009, wParam total sent
inline constexpr platform::UINT WM_RELAY_TOOLBAR_STATUS = 12298;    // 0x300A, wParam state
