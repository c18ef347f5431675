#pragma once
// The system browser's history of visited addresses.

#include "cleanup/CCleanIE.h"

class CIEClearHistory : public CCleanIE {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
