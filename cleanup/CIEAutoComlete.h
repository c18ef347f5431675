#pragma once
// The system browser's auto-complete list. Its only step resets the options
// of a fresh auto-complete object, which no stand-in here has and which
// leaves no trace to remove; the cleaner therefore removes nothing.

#include "cleanup/CCleanIE.h"

class CIEAutoComlete : public CCleanIE {
public:
    // Runs whatever enable says; always false.
    bool Clear(bool enable);
};
