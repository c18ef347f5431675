#pragma once
// The two records of the toolbar channel and its port.
//
// TOOLBAR_REQUEST (toolbar to engine), 2 bytes: 0, command 1..12.
// TOOLBAR_NOTICE (engine to toolbar), 5 bytes: type 13 status, 14 total
// received, 15 total sent; then the value as 32-bit little-endian.

#include <array>
#include <cstdint>

#include "platform/Types.h"

inline constexpr int kToolbarRequestSize = 2;
inline constexpr int kToolbarNoticeSize = 5;

// Toolbar commands.
enum : std::uint8_t {
    TB_STOP_SERVER = 1,
    TB_START_SERVER = 2,
    TB_QUERY_SERVER = 3,
    // 4..9 switch a filter or privacy; the control panel performs them.
    TB_QUERY_IN_FILTER = 10,
    TB_QUERY_OUT_FILTER = 11,
    TB_QUERY_PRIVACY = 12,
};

// Notice types.
enum : std::uint8_t {
    TB_NOTICE_STATUS = 13,
    TB_NOTICE_RECEIVED = 14,
    TB_NOTICE_SENT = 15,
};

// Status values of type 13 besides the server states 0 and 1.
enum : std::uint8_t {
    TB_OUT_FILTER_IS_ON = 5,
    TB_OUT_FILTER_IS_OFF = 6,
    TB_IN_FILTER_IS_ON = 7,
    TB_IN_FILTER_IS_OFF = 8,
    TB_PRIVACY_IS_ON = 9,
    TB_PRIVACY_IS_OFF = 10,
};

using TOOLBAR_NOTICE = std::array<std::uint8_t, kToolbarNoticeSize>;

inline TOOLBAR_NOTICE MakeToolbarNotice(std::uint8_t type, std::uint32_t value) {
    return {type, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// A status notice carries only the low byte of its value.
inline TOOLBAR_NOTICE MakeStatusNotice(unsigned value) {
    return MakeToolbarNotice(TB_NOTICE_STATUS, value & 0xFFu);
}

// The channel's port: 11271, unless KAVELIN_TOOLBAR_PORT names another
// (tests only; 0 there means any free port).
platform::UINT ToolbarChannelPort();
