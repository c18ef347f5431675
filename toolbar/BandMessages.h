#pragma once
// What the toolbar channel client posts to the toolbar windows.

#include "common/ToolbarChannel.h"
#include "platform/Messages.h"

// wParam: a status value of the channel, or BAND_STATUS_LINK_LOST.
inline constexpr platform::UINT WM_BAND_STATUS = platform::WM_USER + 130;    // 1154
// wParam: the engine's total of bytes received.
inline constexpr platform::UINT WM_BAND_DATA_IN = platform::WM_USER + 140;   // 1164
// wParam: the engine's total of bytes sent.
inline constexpr platform::UINT WM_BAND_DATA_OUT = platform::WM_USER + 150;  // 1174
// A toolbar button was clicked; wParam: its command id.
inline constexpr platform::UINT WM_BAND_BUTTON = platform::WM_USER + 170;    // 1194

// The client's own status: the connection to the engine was lost. No
// status notice on the channel has this value.
inline constexpr platform::WPARAM BAND_STATUS_LINK_LOST = 4;
