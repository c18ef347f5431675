#pragma once
// The system browser's cookies.

#include "cleanup/CCleanIE.h"

class CIECookies : public CCleanIE {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
