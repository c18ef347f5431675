#pragma once
// Which client programs are pointed at the relay by us and not yet given
// their own settings back: one REG_DWORD per program below
// HKCU\Software\Kavelin Ver 2.0\Auto\BackUp\Applied. While a program is
// marked its backup is not taken again (it would hold the relay's
// settings), and a restore puts its own settings back whatever the flags
// say by then.

#include <string_view>

class CAppliedMarks {
public:
    static bool IsApplied(std::string_view program);
    static void SetApplied(std::string_view program, bool applied);
};
