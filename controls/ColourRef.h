#pragma once
// Colours as the panel states them: COLORREF values 0x00BBGGRR.

#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
