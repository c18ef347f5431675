#pragma once
// What a band tells its host about its size and looks; the host sets the
// mask to the fields it asks for.

#include <cstdint>
#include <string>

#include "platform/Types.h"

struct BandPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const BandPoint&, const BandPoint&) = default;
};

inline constexpr platform::DWORD DBIM_MINSIZE = 0x0001;
inline constexpr platform::DWORD DBIM_MAXSIZE = 0x0002;
inline constexpr platform::DWORD DBIM_INTEGRAL = 0x0004;
inline constexpr platform::DWORD DBIM_ACTUAL = 0x0008;
inline constexpr platform::DWORD DBIM_TITLE = 0x0010;
inline constexpr platform::DWORD DBIM_MODEFLAGS = 0x0020;
inline constexpr platform::DWORD DBIM_BKCOLOR = 0x0040;

struct DESKBANDINFO {
    platform::DWORD dwMask = 0;
    BandPoint ptMinSize;
    BandPoint ptMaxSize;
    BandPoint ptIntegral;
    BandPoint ptActual;
    std::string wszTitle;
    platform::DWORD dwModeFlags = 0;
    std::uint32_t crBkgnd = 0;
};
