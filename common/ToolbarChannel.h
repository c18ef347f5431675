#pragma once
// The toolbar channel between the browser toolbar and the relay engine, as
// both ends speak it: a TCP connection to 127.0.0.1, 2-byte requests from the
// toolbar, 5-byte notices from the engine. Header only: the toolbar does not
// link the engine.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>

inline constexpr unsigned kToolbarChannelPort = 11271;

// TOOLBAR_REQUEST: byte 0 is 0, byte 1 the command.
inline constexpr int kToolbarRequestSize = 2;
// TOOLBAR_NOTICE: byte 0 the type, bytes 1..4 the value, 32-bit little-endian.
inline constexpr int kToolbarNoticeSize = 5;

// Commands. 4..9 switch a filter or privacy; the engine hands them to the
// control panel, which performs them.
enum : std::uint8_t {
    TB_STOP_SERVER = 1,
    TB_START_SERVER = 2,
    TB_QUERY_SERVER = 3,
    TB_OUT_FILTER_ON = 4,
    TB_OUT_FILTER_OFF = 5,
    TB_IN_FILTER_ON = 6,
    TB_IN_FILTER_OFF = 7,
    TB_PRIVACY_ON = 8,
    TB_PRIVACY_OFF = 9,
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

// Values of a status notice: the server state, then the switch states.
enum : std::uint8_t {
    TB_STATUS_RUNNING = 0,
    TB_STATUS_STOPPED = 1,
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

inline std::uint32_t ToolbarNoticeValue(const std::uint8_t* notice) {
    return static_cast<std::uint32_t>(notice[1]) | static_cast<std::uint32_t>(notice[2]) << 8 |
           static_cast<std::uint32_t>(notice[3]) << 16 | static_cast<std::uint32_t>(notice[4]) << 24;
}

// KAVELIN_TOOLBAR_PORT names another port, for tests only (0 lets the
// engine listen on any free port); nothing when unset or not a port number.
inline std::optional<unsigned> ToolbarPortOverride() {
    const char* text = std::getenv("KAVELIN_TOOLBAR_PORT");
    if (!text || !*text) return std::nullopt;
    char* end = nullptr;
    const unsigned long port = std::strtoul(text, &end, 10);
    if (*end != '\0' || port > 65535) return std::nullopt;
    return static_cast<unsigned>(port);
}
