#pragma once
// The system browser's cached pages.

#include "cleanup/CCleanIE.h"

class CClearTemporaryInternetFiles : public CCleanIE {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
