#pragma once
// The addresses typed into the system browser's address bar.

#include "cleanup/CCleanIE.h"

class CIETypedUrls : public CCleanIE {
public:
    // True only when the key was there and is gone; false when enable is
    // not set.
    bool Clear(bool enable);
};
