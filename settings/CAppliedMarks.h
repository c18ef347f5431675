#pragma once
// Which client programs may hold the relay's settings: one REG_DWORD per
// program below HKCU\Software\Kavelin Ver 2.0\Auto\BackUp\Applied. The mark
// is the journal of a start: it is stored once the program's backup is
// stored and before the program is changed, and removed only after the
// program has its own settings back. While a program is marked its backup is
// not taken again (it may hold the relay's settings), and a restore puts the
// backup back, whatever the flags say by then; a program never marked is
// never restored.

#include <string_view>

class CAppliedMarks {
public:
    static bool IsApplied(std::string_view program);
    // False when the mark cannot be stored.
    static bool SetApplied(std::string_view program, bool applied);
};
