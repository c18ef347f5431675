#pragma once
// What the toolbar channel client posts to the toolbar windows, and the
// channel's records as the toolbar speaks them.

#include <cstdint>

#include "platform/Messages.h"

// wParam: a status value (below).
inline constexpr platform::UINT WM_BAND_STATUS = platform::WM_USER + 130;    // 1154
// wParam: the engine's total of bytes received.
inline constexpr platform::UINT WM_BAND_DATA_IN = platform::WM_USER + 140;   // 1164
// wParam: the engine's total of bytes sent.
inline constexpr platform::UINT WM_BAND_DATA_OUT = platform::WM_USER + 150;  // 1174
// A toolbar button was clicked; wParam: its command id.
inline constexpr platform::UINT WM_BAND_BUTTON = platform::WM_USER + 170;    // 1194

// Status values: the engine's (0 running, 1 stopped, 5..10 the switches)
// and the client's own link-lost.
inline constexpr platform::WPARAM BAND_STATUS_LINK_LOST = 4;

// Requests {0, command} and 5-byte notices {type, value LE32}.
inline constexpr int kBandRequestSize = 2;
inline constexpr int kBandNoticeSize = 5;
enum : std::uint8_t {
    BAND_CMD_STOP_SERVER = 1,
    BAND_CMD_START_SERVER = 2,
    BAND_CMD_QUERY_SERVER = 3,
    BAND_CMD_OUT_FILTER_ON = 4,
    BAND_CMD_OUT_FILTER_OFF = 5,
    BAND_CMD_IN_FILTER_ON = 6,
    BAND_CMD_IN_FILTER_OFF = 7,
    BAND_CMD_PRIVACY_ON = 8,
    BAND_CMD_PRIVACY_OFF = 9,
    BAND_CMD_QUERY_IN_FILTER = 10,
    BAND_CMD_QUERY_OUT_FILTER = 11,
    BAND_CMD_QUERY_PRIVACY = 12,
};
enum : std::uint8_t {
    BAND_NOTICE_STATUS = 13,
    BAND_NOTICE_RECEIVED = 14,
    BAND_NOTICE_SENT = 15,
};
