#pragma once
// The text-drawing flags (DT_*) that a static control's styles (SS_*, as a
// dialog layout states them) call for.

#include "platform/Types.h"

class CStaticTextFlags {
public:
    static constexpr platform::DWORD SS_CENTER = 0x1;
    static constexpr platform::DWORD SS_RIGHT = 0x2;
    static constexpr platform::DWORD SS_LEFTNOWORDWRAP = 0xC;
    static constexpr platform::DWORD SS_TYPEMASK = 0x1F;
    static constexpr platform::DWORD SS_NOTIFY = 0x100;
    static constexpr platform::DWORD SS_NOPREFIX = 0x80;
    static constexpr platform::DWORD SS_CENTERIMAGE = 0x200;
    static constexpr platform::DWORD SS_ENDELLIPSIS = 0x4000;
    static constexpr platform::DWORD SS_PATHELLIPSIS = 0x8000;
    static constexpr platform::DWORD SS_ELLIPSISMASK = 0xC000;

    static constexpr platform::DWORD DT_LEFT = 0x0;
    static constexpr platform::DWORD DT_CENTER = 0x1;
    static constexpr platform::DWORD DT_RIGHT = 0x2;
    static constexpr platform::DWORD DT_VCENTER = 0x4;
    static constexpr platform::DWORD DT_WORDBREAK = 0x10;
    static constexpr platform::DWORD DT_SINGLELINE = 0x20;
    static constexpr platform::DWORD DT_NOPREFIX = 0x800;
    static constexpr platform::DWORD DT_PATH_ELLIPSIS = 0x4000;
    static constexpr platform::DWORD DT_END_ELLIPSIS = 0x8000;
    static constexpr platform::DWORD DT_WORD_ELLIPSIS = 0x40000;

    static platform::DWORD FromStyle(platform::DWORD style);
};
